#include "ui/tipspage.h"

#include "core/tables.h"
#include "ui/formparts.h"
#include "ui/richtext.h"

#include <QPlainTextEdit>

namespace hmf::ui {

TipsPage::TipsPage(const core::Tables& tables, QWidget* parent) : QWidget(parent)
{
    auto* tips = place(new QPlainTextEdit(this), "编辑框4", 8, 0, 680, 464);
    tips->setPlainText(fromEngineText(tables.tipsText));
    tips->setReadOnly(true);
    tips->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = tips->palette();
    palette.setColor(QPalette::Text, QColor(0, 136, 255));
    tips->setPalette(palette);
}

} // namespace hmf::ui
