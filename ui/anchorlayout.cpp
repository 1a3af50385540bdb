#include "ui/anchorlayout.h"

#include <QWidget>

namespace hmf::ui {

AnchorLayout::AnchorLayout(QWidget* parent, QSize defaultSize)
    : QLayout(parent), m_defaultSize(defaultSize)
{
    setContentsMargins(0, 0, 0, 0);
}

AnchorLayout::~AnchorLayout()
{
    for (const Item& item : m_items)
        delete item.item;
}

void AnchorLayout::adoptChildren()
{
    for (QWidget* child : parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && !find(child))
            anchor(child, child->geometry(), {});
}

AnchorLayout::Item* AnchorLayout::find(QWidget* widget)
{
    for (Item& item : m_items)
        if (item.item->widget() == widget)
            return &item;
    return nullptr;
}

void AnchorLayout::anchor(QWidget* widget, Anchors anchors)
{
    anchor(widget, widget->geometry(), anchors);
}

void AnchorLayout::anchor(QWidget* widget, QRect place, Anchors anchors)
{
    if (Item* item = find(widget)) {
        item->place = place;
        item->anchors = anchors;
    } else {
        addChildWidget(widget);
        m_items.append(Item{new QWidgetItem(widget), place, anchors});
    }
    invalidate();
}

void AnchorLayout::addItem(QLayoutItem* item)
{
    m_items.append(Item{item, item->geometry(), {}});
}

QLayoutItem* AnchorLayout::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items[index].item : nullptr;
}

QLayoutItem* AnchorLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items.takeAt(index).item;
}

void AnchorLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    QSize growth = m_growth ? m_growth(rect) : rect.size() - m_defaultSize;
    // Never smaller than the default: a smaller page keeps the default places.
    growth = growth.expandedTo(QSize(0, 0));
    // Whole pixels, rounded down, as integer shares: a quarter of 5 is 1.
    const auto share = [](int extra, int quarters) { return extra * quarters / 4; };
    for (const Item& item : m_items) {
        const QRect& p = item.place;
        const Anchors& a = item.anchors;
        const int left = p.left() + share(growth.width(), a.left);
        const int top = p.top() + share(growth.height(), a.top);
        const int right = p.left() + p.width() + share(growth.width(), a.right);
        const int bottom = p.top() + p.height() + share(growth.height(), a.bottom);
        const QRect place(rect.left() + left, rect.top() + top, right - left, bottom - top);
        // A control takes its place exactly, hidden or not, as it had it before layouts.
        if (QWidget* widget = item.item->widget())
            widget->setGeometry(place);
        else
            item.item->setGeometry(place);
    }
}

QSize AnchorLayout::minimumSize() const
{
    if (m_defaultSize.isValid())
        return m_defaultSize;
    QRect all;
    for (const Item& item : m_items)
        all |= item.place;
    return QSize(all.right() + 1, all.bottom() + 1).expandedTo(QSize(0, 0));
}

QSize pageGrowth(const QWidget* page)
{
    // A page inside the main window is as much larger than at the default size as the window
    // is; a page shown on its own keeps its default places.
    const QWidget* window = page->window();
    if (window == page)
        return QSize(0, 0);
    return (window->size() - kWindowDefaultSize).expandedTo(QSize(0, 0));
}

AnchorLayout* pageLayout(QWidget* page)
{
    auto* layout = new AnchorLayout(page, QSize());
    layout->setGrowth([page](const QRect&) { return pageGrowth(page); });
    layout->adoptChildren();
    return layout;
}

} // namespace hmf::ui
