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

  protected:
    // A window larger than its default size shows the texts whole, wrapped.
    void resizeEvent(QResizeEvent* event) override;

  private:
    QTreeWidget* m_table;
};

} // namespace hmf::ui
