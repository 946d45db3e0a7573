// A native window as the window toolkit hands it out: an HWND on Windows, a
// QWidget in the Qt build. Opaque above the backends: a service that talks to a
// window directly (the voice's notifications) passes it on, and only the backend
// of its own platform turns it back into a handle.
#pragma once

namespace tallyra {

struct NativeWindowTag;
using NativeWindow = NativeWindowTag*;

} // namespace tallyra
