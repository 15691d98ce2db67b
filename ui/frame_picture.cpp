#include "ui/frame_picture.h"

#include <QPainter>
#include <QPainterPath>

namespace zt {

QPixmap frame_picture(QSize size, QColor face, QColor line) {
    QPixmap pixmap(size.expandedTo(QSize(1, 1)));
    pixmap.fill(face);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(line, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, pixmap.width() - 1.0, pixmap.height() - 1.0), 5, 5);
    return pixmap;
}

namespace {

void draw_badge(QPainter& p, QColor fill, const QString& glyph) {
    p.setPen(QPen(fill.darker(150), 2));
    QRadialGradient g(QPointF(18, 16), 30);
    g.setColorAt(0, fill.lighter(140));
    g.setColorAt(1, fill);
    p.setBrush(g);
    p.drawEllipse(QRectF(3, 3, 42, 42));
    QFont f = p.font();
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 42, 42), Qt::AlignCenter, glyph);
}

void draw_arrow(QPainter& p, bool up) {
    p.setPen(QPen(QColor(40, 70, 130), 2));
    p.setBrush(QColor(230, 236, 246));
    p.drawRoundedRect(QRectF(6, 30, 36, 14), 3, 3);
    QPainterPath arrow;
    if (up) {
        arrow.moveTo(24, 2);
        arrow.lineTo(40, 18);
        arrow.lineTo(30, 18);
        arrow.lineTo(30, 32);
        arrow.lineTo(18, 32);
        arrow.lineTo(18, 18);
        arrow.lineTo(8, 18);
    } else {
        arrow.moveTo(18, 2);
        arrow.lineTo(30, 2);
        arrow.lineTo(30, 16);
        arrow.lineTo(40, 16);
        arrow.lineTo(24, 32);
        arrow.lineTo(8, 16);
        arrow.lineTo(18, 16);
    }
    arrow.closeSubpath();
    p.setBrush(up ? QColor(70, 150, 70) : QColor(60, 110, 200));
    p.drawPath(arrow);
}

void draw_job(QPainter& p) {
    // An hourglass.
    p.setPen(QPen(QColor(90, 60, 30), 3));
    p.drawLine(10, 4, 38, 4);
    p.drawLine(10, 44, 38, 44);
    QPainterPath glass;
    glass.moveTo(13, 6);
    glass.lineTo(35, 6);
    glass.cubicTo(35, 18, 26, 20, 26, 24);
    glass.cubicTo(26, 28, 35, 30, 35, 42);
    glass.lineTo(13, 42);
    glass.cubicTo(13, 30, 22, 28, 22, 24);
    glass.cubicTo(22, 20, 13, 18, 13, 6);
    p.setPen(QPen(QColor(60, 90, 140), 2));
    p.setBrush(QColor(225, 238, 250));
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 170, 60));
    QPainterPath sand;
    sand.moveTo(17, 13);
    sand.lineTo(31, 13);
    sand.cubicTo(29, 18, 25, 19, 24, 23);
    sand.cubicTo(23, 19, 19, 18, 17, 13);
    p.drawPath(sand);
    p.drawRect(QRectF(23.2, 23, 1.6, 12));
    QPainterPath heap;
    heap.moveTo(15, 41);
    heap.cubicTo(18, 35, 30, 35, 33, 41);
    p.drawPath(heap);
}

}  // namespace

QPixmap picture(Picture which) {
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
        case Picture::information:
            draw_badge(p, QColor(40, 110, 210), QStringLiteral("i"));
            break;
        case Picture::error:
            draw_badge(p, QColor(205, 45, 40), QStringLiteral("!"));
            break;
        case Picture::question:
            draw_badge(p, QColor(45, 150, 80), QStringLiteral("?"));
            break;
        case Picture::job:
            draw_job(p);
            break;
        case Picture::upload:
            draw_arrow(p, true);
            break;
        case Picture::download:
            draw_arrow(p, false);
            break;
    }
    return pixmap;
}

}  // namespace zt
