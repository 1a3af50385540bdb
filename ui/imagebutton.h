#pragma once
// A button that shows a picture over its whole face instead of a caption.

#include <QAbstractButton>
#include <QPixmap>

namespace hmf::ui {

class ImageButton : public QAbstractButton
{
    Q_OBJECT
  public:
    ImageButton(const QPixmap& picture, QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QPixmap m_picture;
    bool m_hovered = false;
};

} // namespace hmf::ui
