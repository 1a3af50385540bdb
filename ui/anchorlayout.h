#pragma once
// The layout of the window and its pages. Every control keeps the place it has at the window's
// default size (769 × 648), so that size looks exactly as the product always has; a larger
// window hands its extra width and height to the controls by anchors: each edge of a control
// moves by a share of the growth, in quarters. A list anchored {left 0, right 4} widens by all of
// the extra width, a button under it {top 4, bottom 4} keeps its size and follows the bottom, two
// lists side by side share the width with {0, 2} and {2, 4}.

#include <QLayout>
#include <QList>
#include <QRect>

#include <functional>

namespace hmf::ui {

// Shares of the growth, in quarters (0 to 4), by which each edge moves.
struct Anchors
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
// Common anchors: growing with the window, following the bottom edge.
inline constexpr Anchors kGrow{0, 0, 4, 4};
inline constexpr Anchors kFollowBottom{0, 4, 0, 4};

class AnchorLayout : public QLayout
{
  public:
    // How much larger than its default size the page is; without one, the layout's own
    // rectangle against `defaultSize`.
    using Growth = std::function<QSize(const QRect& rect)>;

    AnchorLayout(QWidget* parent, QSize defaultSize);
    ~AnchorLayout() override;

    // Takes every child widget of the parent that the layout does not hold yet, at its present
    // place, anchored to the top left.
    void adoptChildren();
    // Adds `widget` (or changes its anchors) with its place at the default size.
    void anchor(QWidget* widget, Anchors anchors);
    void anchor(QWidget* widget, QRect place, Anchors anchors);
    void setGrowth(Growth growth) { m_growth = std::move(growth); }

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override { return int(m_items.size()); }
    // The default size, or where none is given, the room the controls take at their places.
    QSize sizeHint() const override { return minimumSize(); }
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

  private:
    struct Item
    {
        QLayoutItem* item;
        QRect place;
        Anchors anchors;
    };
    Item* find(QWidget* widget);

    QSize m_defaultSize;
    QList<Item> m_items;
    Growth m_growth;
};

// The size the main window opens at, as the product has always had it, and its smallest.
inline constexpr QSize kWindowDefaultSize(769, 648);

// The layout of a page of the main window: every child control at its present place, the page
// growing by as much as the window grows beyond its default size. Call it once the page's
// controls are placed, then anchor those that take the room.
AnchorLayout* pageLayout(QWidget* page);
// How much larger than at its default size a page of the main window is (never less than none);
// none for a page shown on its own.
QSize pageGrowth(const QWidget* page);

} // namespace hmf::ui
