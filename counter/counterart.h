#pragma once

#include "counter/imagelist.h"

#include <QPixmap>

namespace counter {

// The pictures of the counter window, drawn in code: no image files ship with the program. The tray's images and
// the banner's clock are the program's icon set (packaging/iconart), as the desktop shows it.
class CounterArt
{
public:
    // ImageList1: 1 the program's icon, 2 a task being counted, 3 attention.
    static ImageList trayImages();
    // Image1: the office's monogram at the left of the banner.
    static QPixmap bannerMonogram();
    // Image2: the program's icon at the right of the banner.
    static QPixmap bannerClock();
};

} // namespace counter
