#pragma once
// Page 81数理表: one row per number with its verdict and texts.

#include <QWidget>

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class LuckTablePage : public QWidget
{
    Q_OBJECT
  public:
    explicit LuckTablePage(const core::Tables& tables, QWidget* parent = nullptr);
};

} // namespace hmf::ui
