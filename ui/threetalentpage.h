#pragma once
// Page 三才表: the three-talent texts.

#include <QWidget>

class QPlainTextEdit;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class ThreeTalentPage : public QWidget
{
    Q_OBJECT
  public:
    explicit ThreeTalentPage(const core::Tables& tables, QWidget* parent = nullptr);

  private:
    QPlainTextEdit* m_text;
};

} // namespace hmf::ui
