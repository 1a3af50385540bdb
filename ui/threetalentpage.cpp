#include "ui/threetalentpage.h"

#include "core/tables.h"
#include "ui/formparts.h"
#include "ui/richtext.h"

#include <QPlainTextEdit>

namespace hmf::ui {

ThreeTalentPage::ThreeTalentPage(const core::Tables& tables, QWidget* parent) : QWidget(parent)
{
    auto* talents = place(new QPlainTextEdit(this), "编辑框6", 8, 8, 680, 456);
    talents->setPlainText(fromEngineText(tables.threeTalentText));
    talents->setReadOnly(true);
    talents->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

} // namespace hmf::ui
