#include "ui/pageondemand.h"

#include <QVBoxLayout>

namespace hmf::ui {

PageOnDemand::PageOnDemand(Builder build, QWidget* parent)
    : QWidget(parent), m_build(std::move(build))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void PageOnDemand::showEvent(QShowEvent* event)
{
    // Built before the first paint, so the page never shows empty.
    if (!m_content) {
        m_content = m_build();
        m_build = nullptr;
        layout()->addWidget(m_content);
        // Shown and laid out now: a child added to a shown widget would otherwise wait for the
        // event loop, and the page would be painted without its content's places.
        m_content->show();
        layout()->activate();
    }
    QWidget::showEvent(event);
}

} // namespace hmf::ui
