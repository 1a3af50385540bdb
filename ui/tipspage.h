#pragma once
// Page 使用帮助: the naming tips, in light blue.

#include <QWidget>

class QPlainTextEdit;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class TipsPage : public QWidget
{
    Q_OBJECT
  public:
    explicit TipsPage(const core::Tables& tables, QWidget* parent = nullptr);

  private:
    QPlainTextEdit* m_text;
};

} // namespace hmf::ui
