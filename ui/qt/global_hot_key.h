// The global hot key on X11: a passive grab of the key on the root window, through
// the X connection Qt already has, once for each Caps Lock / Num Lock state, and
// read by a native event filter. Elsewhere (Wayland) no program may grab keys.
#pragma once

#include "ui/kit/toolkit.h"

#include <QAbstractNativeEventFilter>

#include <functional>

namespace tallyra::ui::qt {

class GlobalHotKey : public QAbstractNativeEventFilter {
public:
    explicit GlobalHotKey(std::function<void()> pressed);
    ~GlobalHotKey() override;
    GlobalHotKey(const GlobalHotKey&) = delete;
    GlobalHotKey& operator=(const GlobalHotKey&) = delete;

    // Grabs this key instead of the one held before.
    HotKeyState set(HotKey key);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void release();

    std::function<void()> pressed_;
    unsigned keycode_ = 0;   // grabbed: 0 when none
    unsigned modifiers_ = 0; // X modifier mask
    bool filtering_ = false;
    bool down_ = false; // a held key repeats its press: one press until it is released
};

// The Windows virtual-key code of a Qt key, for the keys a hot key can name; 0 for others.
unsigned virtualKeyOf(int qtKey);

} // namespace tallyra::ui::qt
