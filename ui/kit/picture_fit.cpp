#include "ui/kit/picture_fit.h"

#include <algorithm>
#include <cstdint>

namespace tallyra::ui {

Rect placePicture(PictureMode mode, int boxWidth, int boxHeight, int pictureWidth, int pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return {};
    switch (mode) {
    case PictureMode::Stretch:
        return {0, 0, boxWidth, boxHeight};
    case PictureMode::Fit: {
        if (pictureWidth <= boxWidth && pictureHeight <= boxHeight)
            return {(boxWidth - pictureWidth) / 2, (boxHeight - pictureHeight) / 2, pictureWidth, pictureHeight};
        // Integer arithmetic: the limiting side gets exactly the box's length, the other is cut.
        const std::int64_t bw = std::max(boxWidth, 0), bh = std::max(boxHeight, 0);
        int width = 0, height = 0;
        if (bw * pictureHeight <= bh * pictureWidth) {
            width = static_cast<int>(bw);
            height = static_cast<int>(bw * pictureHeight / pictureWidth);
        } else {
            height = static_cast<int>(bh);
            width = static_cast<int>(bh * pictureWidth / pictureHeight);
        }
        return {(boxWidth - width) / 2, (boxHeight - height) / 2, width, height};
    }
    case PictureMode::Natural:
    default:
        return {0, 0, pictureWidth, pictureHeight};
    }
}

} // namespace tallyra::ui
