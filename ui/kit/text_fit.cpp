#include "ui/kit/text_fit.h"

#include <algorithm>

namespace tallyra::ui {

int fittedCharHeight(TextFit fit, int charHeight, Size box, const MeasureLine& measure) {
    if (fit == TextFit::None || charHeight <= 0 || box.width <= 0 || box.height <= 0) return charHeight;
    const Size wanted = measure(charHeight);
    if (wanted.width <= 0) return charHeight; // nothing to show
    // Shrink: the line's height is left to the box as today; only its width may cut it.
    const auto fits = [&](Size line) {
        return line.width <= box.width && (fit == TextFit::Shrink || line.height <= box.height);
    };
    if (fit == TextFit::Shrink && fits(wanted)) return charHeight;
    // Sizes grow about in proportion to the height: start from that guess, then
    // step to the largest height that really fits (hinting rounds each size its own way).
    double scale = static_cast<double>(box.width) / wanted.width;
    if (fit == TextFit::Fill && wanted.height > 0)
        scale = std::min(scale, static_cast<double>(box.height) / wanted.height);
    int height = std::max(1, static_cast<int>(charHeight * scale));
    if (fit == TextFit::Shrink) height = std::min(height, charHeight);
    const int highest = fit == TextFit::Shrink ? charHeight : std::max(charHeight, box.height);
    while (height > 1 && !fits(measure(height)))
        --height;
    while (height < highest && fits(measure(height + 1)))
        ++height;
    return height;
}

} // namespace tallyra::ui
