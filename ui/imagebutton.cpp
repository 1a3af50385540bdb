#include "ui/imagebutton.h"

#include <QPainter>

namespace hmf::ui {

ImageButton::ImageButton(const QPixmap& picture, QWidget* parent)
    : QAbstractButton(parent), m_picture(picture)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

QSize ImageButton::sizeHint() const
{
    return m_picture.deviceIndependentSize().toSize();
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // A pressed button sinks by one pixel; hovering lightens it a little.
    const QRect target = isDown() ? rect().adjusted(1, 1, 0, 0) : rect();
    p.drawPixmap(target, m_picture);
    if (m_hovered || isDown()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(isDown() ? QColor(0, 0, 0, 40) : QColor(255, 255, 255, 45));
        p.drawRoundedRect(QRectF(target).adjusted(1.5, 1.5, -1.5, -1.5), 10, 10);
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ImageButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace hmf::ui
