#include "platform/win32/frame_paced_repaint.h"

namespace tallyra::win32 {
namespace {

// Displays that do not tell their rate.
constexpr int kUsualHertz = 60;

LONGLONG counterNow() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

} // namespace

bool FramePacedRepaint::add(HWND window, HRGN region) {
    if (!pending_) pending_.reset(CreateRectRgn(0, 0, 0, 0));
    if (!pending_ || CombineRgn(pending_.get(), pending_.get(), region, RGN_OR) == ERROR) return false;
    if (frame_ == 0) {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        countsPerSecond_ = frequency.QuadPart;
        const ScopedGetDC dc(window);
        const int hertz = GetDeviceCaps(dc.get(), VREFRESH); // 0 or 1: the hardware's default
        frame_ = countsPerSecond_ / (hertz > 1 ? hertz : kUsualHertz);
    }
    const LONGLONG since = counterNow() - handedOverAt_;
    // Three quarters of a frame: a timer that ticks about once a frame (as a 10 ms timer
    // does on Windows' 15.6 ms clock) is not slowed to every other frame.
    if (since >= frame_ / 4 * 3) {
        handOver(window);
    } else if (!timerSet_) {
        const auto milliseconds = static_cast<UINT>((frame_ - since) * 1000 / countsPerSecond_ + 1);
        timerSet_ = SetTimer(window, timerId_, milliseconds, nullptr) != 0;
        if (!timerSet_) handOver(window);
    }
    return true;
}

bool FramePacedRepaint::onTimer(HWND window, UINT_PTR timerId) {
    if (timerId != timerId_) return false;
    KillTimer(window, timerId_);
    timerSet_ = false;
    handOver(window);
    return true;
}

void FramePacedRepaint::handOver(HWND window) {
    if (!pending_) return;
    RECT bounds{};
    // Under Wine each invalidation is a call to its server: none for nothing.
    if (GetRgnBox(pending_.get(), &bounds) == NULLREGION) return;
    handedOverAt_ = counterNow();
    InvalidateRgn(window, pending_.get(), FALSE);
    SetRectRgn(pending_.get(), 0, 0, 0, 0);
}

} // namespace tallyra::win32
