#include "counter/counterart.h"

#include <QPainter>
#include <QPainterPath>

namespace counter {
namespace {

const QColor OfficeBlue(0x30, 0x5C, 0xAF);

} // namespace

ImageList CounterArt::trayImages()
{
    ImageList images;
    for (const QColor& rim : {OfficeBlue, QColor(0x2E, 0x8B, 0x3C), QColor(0xC0, 0x00, 0x00)}) {
        QIcon icon;
        for (int size : {16, 22, 32, 48}) {
            icon.addPixmap(clockFace(size, rim));
        }
        images.add(icon);
    }
    return images;
}

QPixmap CounterArt::bannerMonogram()
{
    QPixmap picture(48, 48);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(OfficeBlue);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 44, 44), 8, 8);
    painter.setPen(QPen(Qt::white, 5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(12, 12, 24, 24));
    return picture;
}

QPixmap CounterArt::bannerClock()
{
    return clockFace(48, OfficeBlue);
}

QPixmap CounterArt::clockFace(int size, const QColor& rim)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal pen = qMax<qreal>(1.5, size / 10.0);
    const QRectF face(pen / 2, pen / 2, size - pen, size - pen);
    painter.setPen(QPen(rim, pen));
    painter.setBrush(Qt::white);
    painter.drawEllipse(face);

    const QPointF centre = face.center();
    const qreal radius = face.width() / 2;
    painter.setPen(QPen(Qt::black, qMax<qreal>(1.0, size / 16.0), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(0, -radius * 0.65));
    painter.drawLine(centre, centre + QPointF(radius * 0.45, 0));
    return picture;
}

} // namespace counter
