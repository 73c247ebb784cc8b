#include "counter/counterart.h"

#include "packaging/iconart.h"

#include <QPainter>

namespace counter {
namespace {

const QColor OfficeBlue(0x30, 0x5C, 0xAF);

} // namespace

ImageList CounterArt::trayImages()
{
    using packaging::iconArt::Icon;
    ImageList images;
    for (const Icon kind : {Icon::Program, Icon::Counting, Icon::Attention}) {
        QIcon icon;
        for (int size : {16, 22, 32, 48}) {
            icon.addPixmap(QPixmap::fromImage(packaging::iconArt::image(kind, size)));
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
    constexpr int Size = 48;
    return QPixmap::fromImage(packaging::iconArt::image(packaging::iconArt::Icon::Program, Size));
}

} // namespace counter
