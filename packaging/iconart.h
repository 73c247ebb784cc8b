#pragma once

#include <QImage>
#include <QString>

// The program's icon set, drawn from one list of shapes: a stopwatch face with the counted time on a blue tile.
// orvicons writes it as files for the desktop; the counter draws the same pictures for the notification area.
namespace packaging::iconArt {

enum class Icon {
    Program,   // the counted time in amber: the program's icon, and the tray's while nothing counts
    Counting,  // the counted time in green: something is counting
    Attention, // the counted time in red
};

// The name of the icon's files ("orvcounter", "orvcounter-counting", "orvcounter-attention").
QString name(Icon icon);
// The icon as an SVG document of 256 by 256 units.
QString svg(Icon icon);
// The icon drawn at size by size pixels, on a transparent ground.
QImage image(Icon icon, int size);

} // namespace packaging::iconArt
