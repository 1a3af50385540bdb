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

    // Gives the extra room of a window larger than its default size to the text.
    void stretch(int dx, int dy);

  private:
    QPlainTextEdit* m_text;
};

} // namespace hmf::ui
