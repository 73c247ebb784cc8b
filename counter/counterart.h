#pragma once

#include "counter/imagelist.h"

#include <QPixmap>

namespace counter {

// The pictures of the counter window, drawn in code: no image files ship with the program.
class CounterArt
{
public:
    // ImageList1: 1 the normal tray icon, 2 a task being counted, 3 attention.
    static ImageList trayImages();
    // Image1: the office's monogram at the left of the banner.
    static QPixmap bannerMonogram();
    // Image2: the clock at the right of the banner.
    static QPixmap bannerClock();

private:
    static QPixmap clockFace(int size, const QColor& rim);
};

} // namespace counter
