#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace
{

QPixmap DrawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // A channel section in a rounded tile, water in it and a wave on top.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    QPainterPath water;
    water.moveTo(12, 30);
    water.cubicTo(20, 24, 26, 36, 32, 30);
    water.cubicTo(38, 24, 44, 36, 52, 30);
    water.lineTo(46, 52);
    water.lineTo(18, 52);
    water.closeSubpath();
    p.setBrush(QColor(0x4f, 0xb3, 0xe8));
    p.drawPath(water);
    p.setPen(QPen(QColor(0xf2, 0xf2, 0xf2), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(10, 16), QPointF(18, 52), QPointF(46, 52), QPointF(54, 16)}));
    return pixmap;
}

} // namespace

QIcon TidewellIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(DrawIcon(size));
    return icon;
}
