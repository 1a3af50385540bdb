#pragma once
// Page 81数理表: one row per number with its verdict and texts.

#include <QWidget>

class QTreeWidget;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class LuckTablePage : public QWidget
{
    Q_OBJECT
  public:
    explicit LuckTablePage(const core::Tables& tables, QWidget* parent = nullptr);

    // Gives the extra room of a window larger than its default size to the table.
    void stretch(int dx, int dy);

  private:
    QTreeWidget* m_table;
};

} // namespace hmf::ui
