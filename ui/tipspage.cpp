#include "ui/tipspage.h"

#include "core/tables.h"
#include "ui/anchorlayout.h"
#include "ui/formparts.h"
#include "ui/richtext.h"

#include <QPlainTextEdit>

namespace hmf::ui {

TipsPage::TipsPage(const core::Tables& tables, QWidget* parent) : QWidget(parent)
{
    m_text = place(new QPlainTextEdit(this), "编辑框4", 8, 0, 680, 464);
    m_text->setPlainText(fromEngineText(tables.tipsText));
    m_text->setReadOnly(true);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::Text, QColor(0, 136, 255));
    m_text->setPalette(palette);
    pageLayout(this)->anchor(m_text, kGrow);
}

} // namespace hmf::ui
