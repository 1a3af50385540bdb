#include "ui/threetalentpage.h"

#include "core/tables.h"
#include "ui/richtext.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace hmf::ui {

ThreeTalentPage::ThreeTalentPage(const core::Tables& tables, QWidget* parent) : QWidget(parent)
{
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("编辑框6"));
    m_text->setPlainText(fromEngineText(tables.threeTalentText));
    m_text->setReadOnly(true);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_text);
}

} // namespace hmf::ui
