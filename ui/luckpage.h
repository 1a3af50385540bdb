#pragma once
// Page 81数理表: one row per number with its verdict and texts.

#include <QWidget>

class QTableWidget;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class LuckTablePage : public QWidget
{
    Q_OBJECT
  public:
    explicit LuckTablePage(const core::Tables& tables, QWidget* parent = nullptr);

  protected:
    // The text columns share the table's width.
    void resizeEvent(QResizeEvent* event) override;

  private:
    QTableWidget* m_table;
};

} // namespace hmf::ui
