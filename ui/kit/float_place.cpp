#include "ui/kit/float_place.h"

#include "ui/kit/dpi.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tallyra::ui {

int dragThreshold(PointerKind kind, int systemDistance, float dpiScale) {
    const int mouse = std::max(1, systemDistance);
    if (kind == PointerKind::Mouse) return mouse;
    return std::max(mouse, scaleRound(kTouchDragDistance, dpiScale));
}

bool isDrag(Point pressed, Point now, int threshold) {
    return std::abs(now.x - pressed.x) > threshold || std::abs(now.y - pressed.y) > threshold;
}

namespace {

int clampAxis(int start, int length, int areaStart, int areaLength) {
    if (length >= areaLength) return areaStart;
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}

double fraction(int start, int length, int areaStart, int areaLength) {
    const int room = areaLength - length;
    if (room <= 0) return 0.0;
    return std::clamp(static_cast<double>(start - areaStart) / room, 0.0, 1.0);
}

int fromFraction(double value, int length, int areaStart, int areaLength) {
    const int room = std::max(0, areaLength - length);
    return areaStart + static_cast<int>(std::clamp(value, 0.0, 1.0) * room + 0.5);
}

} // namespace

Rect clampInto(Rect rect, Rect area) {
    rect.left = clampAxis(rect.left, rect.width, area.left, area.width);
    rect.top = clampAxis(rect.top, rect.height, area.top, area.height);
    return rect;
}

Rect dockToEdges(Rect button, Rect workArea, int distance) {
    button = clampInto(button, workArea);
    const int right = workArea.left + workArea.width - button.width;
    const int bottom = workArea.top + workArea.height - button.height;
    if (button.left - workArea.left <= distance)
        button.left = workArea.left;
    else if (right - button.left <= distance)
        button.left = right;
    if (button.top - workArea.top <= distance)
        button.top = workArea.top;
    else if (bottom - button.top <= distance)
        button.top = bottom;
    return button;
}

FloatPlace placeOf(Rect button, Rect workArea) {
    return {{workArea.left, workArea.top},
            fraction(button.left, button.width, workArea.left, workArea.width),
            fraction(button.top, button.height, workArea.top, workArea.height)};
}

Rect rectAt(const FloatPlace& place, Size button, Rect workArea) {
    return {fromFraction(place.x, button.width, workArea.left, workArea.width),
            fromFraction(place.y, button.height, workArea.top, workArea.height), button.width, button.height};
}

std::optional<Rect> areaFor(const FloatPlace& place, std::span<const Rect> workAreas) {
    std::optional<Rect> nearest;
    long long best = std::numeric_limits<long long>::max();
    for (const Rect& area : workAreas) {
        if (area.left == place.monitor.x && area.top == place.monitor.y) return area;
        // Distance from the kept corner to the area (0 inside it).
        const long long dx = std::max({0, area.left - place.monitor.x, place.monitor.x - (area.left + area.width)});
        const long long dy = std::max({0, area.top - place.monitor.y, place.monitor.y - (area.top + area.height)});
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = area;
        }
    }
    return nearest;
}

std::string formatFloatPlace(const FloatPlace& place) {
    // Fractions in millionths: integers are all the settings file needs to carry.
    const auto millionths = [](double value) {
        return std::to_string(static_cast<int>(std::clamp(value, 0.0, 1.0) * 1e6 + 0.5));
    };
    return std::to_string(place.monitor.x) + "," + std::to_string(place.monitor.y) + "," + millionths(place.x) + "," +
           millionths(place.y);
}

std::optional<FloatPlace> parseFloatPlace(std::string_view text) {
    int fields[4]{};
    for (int index = 0; index < 4; ++index) {
        const std::size_t comma = index < 3 ? text.find(',') : text.size();
        if (comma == std::string_view::npos) return std::nullopt;
        const std::string_view field = text.substr(0, comma);
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), fields[index]);
        if (error != std::errc() || end != field.data() + field.size() || field.empty()) return std::nullopt;
        text.remove_prefix(std::min(text.size(), comma + 1));
    }
    constexpr int kCoordinate = 1'000'000;
    if (std::abs(fields[0]) > kCoordinate || std::abs(fields[1]) > kCoordinate) return std::nullopt;
    if (fields[2] < 0 || fields[2] > 1'000'000 || fields[3] < 0 || fields[3] > 1'000'000) return std::nullopt;
    return FloatPlace{{fields[0], fields[1]}, fields[2] / 1e6, fields[3] / 1e6};
}

} // namespace tallyra::ui
