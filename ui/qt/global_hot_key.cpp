#include "ui/qt/global_hot_key.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <iterator>

namespace tallyra::ui::qt {
namespace {

struct KeyNames {
    unsigned virtualKey;
    int qtKey;
    unsigned long keysym;
};

// Qt's keys in the program's vocabulary, the virtual-key codes of ui/kit/hot_key.h,
// with their X11 keysyms: letters, digits and F1–F24 by arithmetic, the others here
// (keysyms from X11/keysymdef.h). Every Qt key the program sees is translated once, here.
constexpr KeyNames kKeys[] = {
    {0x08, Qt::Key_Backspace, 0xFF08},
    {0x09, Qt::Key_Tab, 0xFF09},
    {0x0D, Qt::Key_Return, 0xFF0D},
    {0x0D, Qt::Key_Enter, 0xFF0D},
    {0x13, Qt::Key_Pause, 0xFF13},
    {0x1B, Qt::Key_Escape, 0xFF1B},
    {0x20, Qt::Key_Space, 0x0020},
    {0x21, Qt::Key_PageUp, 0xFF55},
    {0x22, Qt::Key_PageDown, 0xFF56},
    {0x23, Qt::Key_End, 0xFF57},
    {0x24, Qt::Key_Home, 0xFF50},
    {0x25, Qt::Key_Left, 0xFF51},
    {0x26, Qt::Key_Up, 0xFF52},
    {0x27, Qt::Key_Right, 0xFF53},
    {0x28, Qt::Key_Down, 0xFF54},
    {0x2D, Qt::Key_Insert, 0xFF63},
    {0x2E, Qt::Key_Delete, 0xFFFF},
    {0x5D, Qt::Key_Menu, 0xFF67},
    {0x91, Qt::Key_ScrollLock, 0xFF14},
    {0xBC, Qt::Key_Comma, 0x002C},
    {0xBE, Qt::Key_Period, 0x002E},
    {0x10, Qt::Key_Shift, 0},
    {0x11, Qt::Key_Control, 0},
    {0x12, Qt::Key_Alt, 0},
    {0x5B, Qt::Key_Meta, 0},
};

unsigned long keysymOf(unsigned virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return virtualKey - 'A' + 'a';
    if (virtualKey >= '0' && virtualKey <= '9') return virtualKey;
    if (virtualKey >= 0x70 && virtualKey <= 0x87) return 0xFFBE + (virtualKey - 0x70); // XK_F1...
    for (const KeyNames& key : kKeys)
        if (key.virtualKey == virtualKey) return key.keysym;
    return 0;
}

unsigned xModifiersOf(unsigned modifiers) {
    unsigned mask = 0;
    if (modifiers & kShift) mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & kControl) mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & kAlt) mask |= XCB_MOD_MASK_1;
    if (modifiers & kWin) mask |= XCB_MOD_MASK_4;
    return mask;
}

// The grab holds with Caps Lock (Lock) and Num Lock (Mod2) on or off.
constexpr unsigned kLockStates[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr unsigned kKeptModifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

QNativeInterface::QX11Application* x11() {
    auto* application = qGuiApp;
    return application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
}

xcb_window_t rootOf(xcb_connection_t* connection) {
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    return screens.rem > 0 ? screens.data->root : 0;
}

} // namespace

unsigned virtualKeyOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
    for (const KeyNames& key : kKeys)
        if (key.qtKey == qtKey) return key.virtualKey;
    return 0;
}

GlobalHotKey::GlobalHotKey(std::function<void()> pressed) : pressed_(std::move(pressed)) {}

GlobalHotKey::~GlobalHotKey() {
    release();
    if (filtering_ && QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

void GlobalHotKey::release() {
    auto* x = x11();
    if (!x || keycode_ == 0) return;
    xcb_connection_t* connection = x->connection();
    for (unsigned lock : kLockStates)
        xcb_ungrab_key(connection, static_cast<xcb_keycode_t>(keycode_), rootOf(connection),
                       static_cast<uint16_t>(modifiers_ | lock));
    xcb_flush(connection);
    keycode_ = 0;
}

HotKeyState GlobalHotKey::set(HotKey key) {
    release();
    auto* x = x11();
    if (!x || !x->connection() || !x->display()) return HotKeyState::Unsupported;
    const unsigned long keysym = keysymOf(key.key);
    const unsigned keycode = keysym ? XKeysymToKeycode(x->display(), keysym) : 0;
    if (keycode == 0) return HotKeyState::Taken;
    xcb_connection_t* connection = x->connection();
    const xcb_window_t root = rootOf(connection);
    const unsigned modifiers = xModifiersOf(key.modifiers);
    bool taken = false;
    xcb_void_cookie_t cookies[std::size(kLockStates)];
    for (std::size_t i = 0; i < std::size(kLockStates); ++i)
        cookies[i] =
            xcb_grab_key_checked(connection, 1, root, static_cast<uint16_t>(modifiers | kLockStates[i]),
                                 static_cast<xcb_keycode_t>(keycode), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    // Another client's grab of the same key answers BadAccess.
    for (xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            taken = true;
            free(error);
        }
    }
    keycode_ = keycode;
    modifiers_ = modifiers;
    if (taken) {
        release();
        return HotKeyState::Taken;
    }
    if (!filtering_) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        filtering_ = true;
    }
    return HotKeyState::On;
}

bool GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (keycode_ == 0 || eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7F;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    if (press->detail != keycode_) return false;
    if (type == XCB_KEY_RELEASE) {
        down_ = false;
        return false;
    }
    if ((press->state & kKeptModifiers) != modifiers_) return false;
    if (down_) return true;
    down_ = true;
    // After the event: the handler may open a box whose loop would run inside this filter.
    QTimer::singleShot(0, QCoreApplication::instance(), pressed_);
    return true;
}

} // namespace tallyra::ui::qt
