#include "ui/luckpage.h"

#include "core/tables.h"
#include "ui/formparts.h"
#include "ui/richtext.h"

#include <QTreeWidget>

namespace hmf::ui {

LuckTablePage::LuckTablePage(const core::Tables& tables, QWidget* parent) : QWidget(parent)
{
    auto* table = place(new QTreeWidget(this), "超级列表框81", 8, 8, 680, 456);
    table->setRootIsDecorated(false);
    table->setAlternatingRowColors(true);
    // Every row is one elided line: measuring the first row serves them all, where measuring
    // each long text took a fifth of start-up although the page is hidden.
    table->setUniformRowHeights(true);
    table->setHeaderLabels({QStringLiteral("数理"), QStringLiteral("吉凶"), QStringLiteral("基业"),
                            QStringLiteral("家庭"), QStringLiteral("健康"),
                            QStringLiteral("含义")});
    const int widths[] = {80, 70, 150, 150, 150, 250};
    for (int c = 0; c < 6; ++c)
        table->setColumnWidth(c, widths[c]);
    QList<QTreeWidgetItem*> rows;
    for (const core::LuckEntry& entry : tables.luck.entries()) {
        auto* row = new QTreeWidgetItem;
        int column = 0;
        for (std::string_view field : entry.fields()) {
            const QString text = fromEngineText(field);
            row->setText(column, text.simplified());
            row->setToolTip(column, text);
            ++column;
        }
        rows.append(row);
    }
    table->addTopLevelItems(rows);
}

} // namespace hmf::ui
