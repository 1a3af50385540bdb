#include "ui/artwork.h"

#include "ui/fonts.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <QtMath>
#include <functional>

namespace hmf::ui {
namespace {

// Pictures are drawn on a 32-unit grid and scaled, so every size comes from one drawing.
constexpr int kGrid = 32;

void drawTile(QPainter& p, const QColor& colour)
{
    QLinearGradient fill(0, 0, 0, kGrid);
    fill.setColorAt(0, colour.lighter(125));
    fill.setColorAt(1, colour.darker(110));
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1.5, 1.5, kGrid - 3, kGrid - 3), 6, 6);
}

QPen glyphPen(qreal width = 2.2)
{
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawNaming(QPainter& p)
{
    // A baby's face with a curl of hair.
    p.setPen(glyphPen());
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 18), 8.5, 8.5);
    QPainterPath curl;
    curl.moveTo(16, 9.5);
    curl.cubicTo(13, 6, 19, 4, 19.5, 7.5);
    p.drawPath(curl);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(13, 17), 1.3, 1.3);
    p.drawEllipse(QPointF(19, 17), 1.3, 1.3);
    p.setPen(glyphPen(1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(12.5, 17.5, 7, 5), 200 * 16, 140 * 16);
}

void drawAnalysis(QPainter& p)
{
    // Lines of a report under a magnifying glass.
    p.setPen(glyphPen(2));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(7, 9 + i * 5), QPointF(17 - i * 2, 9 + i * 5));
    p.setPen(glyphPen(2.4));
    p.drawEllipse(QPointF(19, 18), 5.5, 5.5);
    p.drawLine(QPointF(23, 22), QPointF(26.5, 25.5));
}

void drawLuck81(QPainter& p)
{
    p.setPen(glyphPen(1.4));
    p.drawRect(QRectF(6, 6, 20, 20));
    p.drawLine(QPointF(6, 13), QPointF(26, 13));
    p.drawLine(QPointF(13, 6), QPointF(13, 26));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(13, 13, 13, 13), Qt::AlignCenter, QStringLiteral("81"));
}

void drawThreeTalent(QPainter& p)
{
    // Heaven, man and earth as the three strokes of 三.
    p.setPen(glyphPen(2.6));
    p.drawLine(QPointF(10, 9), QPointF(22, 9));
    p.drawLine(QPointF(12, 16), QPointF(20, 16));
    p.drawLine(QPointF(7, 23.5), QPointF(25, 23.5));
}

void drawElement(QPainter& p)
{
    // Five dots on a circle, one per element.
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16.5), 8.5, 8.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = 0; i < 5; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + i * 72.0);
        p.drawEllipse(QPointF(16 + 8.5 * qCos(a), 16.5 + 8.5 * qSin(a)), 2.6, 2.6);
    }
}

void drawStarSign(QPainter& p)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? 10.5 : 4.5;
        const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF pt(16 + r * qCos(a), 17 + r * qSin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(star);
}

void drawBirthChart(QPainter& p)
{
    // A calendar leaf with a clock face: the birth date and hour.
    p.setPen(glyphPen(1.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 8, 17, 16), 2, 2);
    p.drawLine(QPointF(6, 12.5), QPointF(23, 12.5));
    p.drawLine(QPointF(10, 6), QPointF(10, 9.5));
    p.drawLine(QPointF(19, 6), QPointF(19, 9.5));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(22, 21.5), 5.5, 5.5);
    p.setPen(QPen(QColor(120, 80, 20), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(22, 21.5), QPointF(22, 18.5));
    p.drawLine(QPointF(22, 21.5), QPointF(24.2, 22.8));
}

void drawHelp(QPainter& p)
{
    p.setPen(glyphPen(2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 10, 10);
    QPainterPath q;
    q.moveTo(12.5, 13);
    q.cubicTo(12.5, 8.5, 19.5, 8.5, 19.5, 13);
    q.cubicTo(19.5, 16, 16, 16, 16, 19);
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 22.5), 1.5, 1.5);
}

void drawShortlist(QPainter& p)
{
    // A bookmark ribbon with a heart: names kept for later.
    QPainterPath ribbon;
    ribbon.moveTo(9, 5);
    ribbon.lineTo(23, 5);
    ribbon.lineTo(23, 27);
    ribbon.lineTo(16, 21.5);
    ribbon.lineTo(9, 27);
    ribbon.closeSubpath();
    p.setPen(glyphPen(1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ribbon);
    QPainterPath heart;
    heart.moveTo(16, 17);
    heart.cubicTo(10, 13, 12.5, 8.5, 16, 11);
    heart.cubicTo(19.5, 8.5, 22, 13, 16, 17);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(heart);
}

struct ToolStyle
{
    QColor colour;
    void (*draw)(QPainter&);
};

ToolStyle toolStyle(ToolPicture picture)
{
    switch (picture) {
    case ToolPicture::Naming:
        return {QColor(226, 84, 84), drawNaming};
    case ToolPicture::Analysis:
        return {QColor(52, 120, 206), drawAnalysis};
    case ToolPicture::Luck81:
        return {QColor(32, 150, 140), drawLuck81};
    case ToolPicture::ThreeTalent:
        return {QColor(228, 132, 40), drawThreeTalent};
    case ToolPicture::Element:
        return {QColor(72, 160, 72), drawElement};
    case ToolPicture::StarSign:
        return {QColor(128, 88, 200), drawStarSign};
    case ToolPicture::BirthChart:
        return {QColor(176, 124, 48), drawBirthChart};
    case ToolPicture::Help:
        return {QColor(96, 112, 136), drawHelp};
    case ToolPicture::Shortlist:
        return {QColor(204, 72, 140), drawShortlist};
    }
    return {Qt::gray, drawHelp};
}

QPixmap renderAt(int size, qreal scale, const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(QSize(size, size) * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(qreal(size) / kGrid, qreal(size) / kGrid);
    draw(p);
    return pixmap;
}

// Draws an icon at the size it is asked for, when it is first asked for, and keeps that pixmap:
// the tool bar needs one size, where drawing every size up front took a quarter of start-up.
class DrawnIconEngine : public QIconEngine
{
  public:
    explicit DrawnIconEngine(std::function<void(QPainter&)> draw) : m_draw(std::move(draw)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = qMax(1, qMin(size.width(), size.height()));
        const quint64 key = (quint64(side) << 8) | quint64(mode);
        auto it = m_cache.constFind(key);
        if (it != m_cache.constEnd())
            return *it;
        QPixmap pixmap = renderAt(side, 1.0, m_draw);
        // Disabled and selected looks come from the style, as for an icon built from pixmaps.
        if (mode != QIcon::Normal && mode != QIcon::Active &&
            qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        m_cache.insert(key, pixmap);
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap(rect.size() * scale, mode, state);
        drawn.setDevicePixelRatio(scale);
        painter->drawPixmap(rect, drawn);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

  private:
    std::function<void(QPainter&)> m_draw;
    QHash<quint64, QPixmap> m_cache;
};

QIcon iconFromDrawing(std::function<void(QPainter&)> draw)
{
    return QIcon(new DrawnIconEngine(std::move(draw)));
}

} // namespace

QIcon toolIcon(ToolPicture picture)
{
    const ToolStyle style = toolStyle(picture);
    return iconFromDrawing([style](QPainter& p) {
        drawTile(p, style.colour);
        style.draw(p);
    });
}

QPixmap wordTile(const QString& words, const QColor& colour, int size, qreal scale)
{
    return renderAt(size, scale, [&](QPainter& p) {
        drawTile(p, colour);
        // The inner frame of a seal.
        p.setPen(QPen(QColor(255, 255, 255, 200), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(4, 4, kGrid - 8, kGrid - 8), 3, 3);
        QFont font(reportFont());
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(4, 5, kGrid - 8, 11), Qt::AlignCenter, words.left(2));
        p.drawText(QRectF(4, 16, kGrid - 8, 11), Qt::AlignCenter, words.mid(2, 2));
    });
}

QIcon windowIcon()
{
    return iconFromDrawing([](QPainter& p) {
        drawTile(p, QColor(200, 40, 40));
        p.setPen(QPen(QColor(255, 255, 255, 210), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(4.5, 4.5, kGrid - 9, kGrid - 9), 3, 3);
        QFont font(reportFont());
        font.setPixelSize(19);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 0, kGrid, kGrid - 1), Qt::AlignCenter, QStringLiteral("名"));
    });
}

} // namespace hmf::ui
