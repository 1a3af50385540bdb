#include "ui/luckpage.h"

#include "core/tables.h"
#include "ui/anchorlayout.h"
#include "ui/formparts.h"
#include "ui/richtext.h"

#include <QTreeWidget>

namespace hmf::ui {

LuckTablePage::LuckTablePage(const core::Tables& tables, QWidget* parent) : QWidget(parent)
{
    m_table = place(new QTreeWidget(this), "超级列表框81", 8, 8, 680, 456);
    m_table->setRootIsDecorated(false);
    m_table->setAlternatingRowColors(true);
    // Every row is one elided line: measuring the first row serves them all, where measuring
    // each long text took a fifth of start-up although the page is hidden.
    m_table->setUniformRowHeights(true);
    m_table->setHeaderLabels({QStringLiteral("数理"), QStringLiteral("吉凶"),
                              QStringLiteral("基业"), QStringLiteral("家庭"),
                              QStringLiteral("健康"), QStringLiteral("含义")});
    const int widths[] = {80, 70, 150, 150, 150, 250};
    for (int c = 0; c < 6; ++c)
        m_table->setColumnWidth(c, widths[c]);
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
    m_table->addTopLevelItems(rows);
    pageLayout(this)->anchor(m_table, kGrow);
}

void LuckTablePage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize growth = pageGrowth(this);
    // At the default size the texts are cut with "…" and shown whole in their tooltips; a larger
    // window widens the four text columns and wraps the texts so they are read in full.
    const bool larger = growth.width() > 0 || growth.height() > 0;
    m_table->setUniformRowHeights(!larger);
    m_table->setWordWrap(larger);
    m_table->setTextElideMode(larger ? Qt::ElideNone : Qt::ElideRight);
    const int widths[] = {80, 70, 150, 150, 150, 250};
    for (int c = 0; c < 6; ++c)
        m_table->setColumnWidth(c, widths[c] + (c >= 2 ? growth.width() / 4 : 0));
}

} // namespace hmf::ui
