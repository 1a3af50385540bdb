#include "ui/luckpage.h"

#include "core/tables.h"
#include "ui/richtext.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace hmf::ui {
namespace {

// The four text columns share the width the number and verdict leave, in these proportions.
constexpr int kTextShares[] = {3, 3, 3, 5};

} // namespace

LuckTablePage::LuckTablePage(const core::Tables& tables, QWidget* parent) : QWidget(parent)
{
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("超级列表框81"));
    m_table->setColumnCount(6);
    m_table->setHorizontalHeaderLabels({QStringLiteral("数理"), QStringLiteral("吉凶"),
                                        QStringLiteral("基业"), QStringLiteral("家庭"),
                                        QStringLiteral("健康"), QStringLiteral("含义")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->setShowGrid(false);
    // Every text is shown whole, wrapped within its column; each row is as tall as its longest
    // text, at whatever width and text size.
    m_table->setWordWrap(true);
    m_table->setTextElideMode(Qt::ElideNone);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);
    const auto& entries = tables.luck.entries();
    m_table->setRowCount(int(entries.size()));
    int row = 0;
    for (const core::LuckEntry& entry : entries) {
        int column = 0;
        for (std::string_view field : entry.fields()) {
            const QString text = fromEngineText(field);
            auto* item = new QTableWidgetItem(text.simplified());
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
            item->setToolTip(plainToolTip(text));
            m_table->setItem(row, column++, item);
        }
        ++row;
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_table);
}

void LuckTablePage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The text columns share what the number and verdict columns leave of the table's width.
    const QHeaderView* header = m_table->horizontalHeader();
    const int fixed = header->sectionSize(0) + header->sectionSize(1);
    const int room = std::max(200, m_table->viewport()->width() - fixed);
    int shares = 0;
    for (int share : kTextShares)
        shares += share;
    for (int c = 2; c < 5; ++c)
        m_table->setColumnWidth(c, room * kTextShares[c - 2] / shares);
}

} // namespace hmf::ui
