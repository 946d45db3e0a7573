// Where a picture lands inside a picture box for each display mode. Portable
// arithmetic; every window backend decodes and draws the picture its own way.
#pragma once

#include "ui/kit/layout.h"

namespace tallyra::ui {

// Picture display modes of picture boxes.
enum class PictureMode { Natural = 0, Stretch = 1, Fit = 2 };

// Where the picture goes inside a box of the given size, relative to the box:
// natural size at the top-left corner; stretched over the whole box; or fitted,
// centred at natural size when it fits, otherwise scaled down by the smaller of the
// two ratios (cut to whole pixels) and centred.
Rect placePicture(PictureMode mode, int boxWidth, int boxHeight, int pictureWidth, int pictureHeight);

// Whether the picture is drawn at another size than its own, which needs a stretch mode.
inline bool isScaled(Rect placed, int pictureWidth, int pictureHeight) {
    return placed.width != pictureWidth || placed.height != pictureHeight;
}

} // namespace tallyra::ui
