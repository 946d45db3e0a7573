// The placement of pictures in picture boxes.
#include "ui/kit/picture_fit.h"

#include <gtest/gtest.h>

namespace tallyra::ui {
namespace {

TEST(PlacePicture, DisplayModes) {
    struct Case {
        PictureMode mode;
        int boxWidth, boxHeight, pictureWidth, pictureHeight;
        Rect expected;
    };
    const Case cases[] = {
        {PictureMode::Natural, 100, 50, 300, 20, {0, 0, 300, 20}},
        {PictureMode::Stretch, 100, 50, 300, 20, {0, 0, 100, 50}},
        // Fits: natural size, centred (odd remainders cut).
        {PictureMode::Fit, 100, 50, 40, 21, {30, 14, 40, 21}},
        {PictureMode::Fit, 40, 21, 40, 21, {0, 0, 40, 21}},
        // Too wide: the width limits.
        {PictureMode::Fit, 100, 50, 300, 20, {0, 22, 100, 6}},
        // Too tall: the height limits.
        {PictureMode::Fit, 100, 50, 20, 300, {48, 0, 3, 50}},
        // The support picture in a box of the support window's content size.
        {PictureMode::Fit, 287, 392, 1080, 1503, {3, 0, 281, 392}},
        {PictureMode::Fit, 287, 400, 1080, 1503, {0, 0, 287, 399}},
        // No picture.
        {PictureMode::Fit, 100, 50, 0, 0, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placePicture(c.mode, c.boxWidth, c.boxHeight, c.pictureWidth, c.pictureHeight), c.expected)
            << "mode " << static_cast<int>(c.mode) << " box " << c.boxWidth << "x" << c.boxHeight << " picture "
            << c.pictureWidth << "x" << c.pictureHeight;
    }
}

} // namespace
} // namespace tallyra::ui
