// Repaints handed to a window at most about once per display frame. A label that
// rolls a hundred times a second would otherwise draw pictures the screen never
// shows; in full screen each is a million pixels. The text itself still changes at
// every tick, and the last change always reaches the screen.
#pragma once

#include "platform/win32/scoped.h"

#include <windows.h>

namespace tallyra::win32 {

class FramePacedRepaint {
public:
    // timerId: a timer of the window's own that this one may use.
    explicit FramePacedRepaint(UINT_PTR timerId) : timerId_(timerId) {}
    // Adds a region to repaint: handed over now when the last hand-over is most of a
    // frame old, else by the window's timer. False if it could not be kept: the
    // caller repaints another way.
    bool add(HWND window, HRGN region);
    // A WM_TIMER of the window: true if it was this one's.
    bool onTimer(HWND window, UINT_PTR timerId);

private:
    void handOver(HWND window);

    UINT_PTR timerId_;
    ScopedRegion pending_;
    bool timerSet_ = false;
    LONGLONG handedOverAt_ = 0; // on the performance counter
    LONGLONG frame_ = 0;        // a display frame, in counts of the performance counter
    LONGLONG countsPerSecond_ = 0;
};

} // namespace tallyra::win32
