#include "ui/threetalentpage.h"

#include "core/tables.h"
#include "ui/anchorlayout.h"
#include "ui/formparts.h"
#include "ui/richtext.h"

#include <QPlainTextEdit>

namespace hmf::ui {

ThreeTalentPage::ThreeTalentPage(const core::Tables& tables, QWidget* parent) : QWidget(parent)
{
    m_text = place(new QPlainTextEdit(this), "编辑框6", 8, 8, 680, 456);
    m_text->setPlainText(fromEngineText(tables.threeTalentText));
    m_text->setReadOnly(true);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pageLayout(this)->anchor(m_text, kGrow);
}

} // namespace hmf::ui
