#include "ui/qt/focus_return.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace tallyra::ui::qt {
namespace {

xcb_connection_t* x11Connection() {
    auto* application = qGuiApp;
    auto* x = application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x ? x->connection() : nullptr;
}

xcb_window_t rootOf(xcb_connection_t* connection) {
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    return screens.rem > 0 ? screens.data->root : 0;
}

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> ReplyPtr<Reply> own(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_atom_t activeWindowAtom(xcb_connection_t* connection) {
    constexpr char kName[] = "_NET_ACTIVE_WINDOW";
    const auto reply =
        own(xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The window the window manager names active; nothing when the root has no such property
// (no window manager, or one that does not tell).
std::optional<xcb_window_t> activeWindow(xcb_connection_t* connection) {
    const auto reply = own(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, rootOf(connection), activeWindowAtom(connection), XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (!reply || reply->type != XCB_ATOM_WINDOW || xcb_get_property_value_length(reply.get()) < 4) return std::nullopt;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

xcb_window_t inputFocus(xcb_connection_t* connection) {
    const auto reply = own(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    return reply ? reply->focus : 0;
}

bool isViewable(xcb_connection_t* connection, xcb_window_t window) {
    const auto reply =
        own(xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

} // namespace

FocusReturn::FocusReturn() {
    xcb_connection_t* connection = x11Connection();
    if (!connection) return;
    const std::optional<xcb_window_t> active = activeWindow(connection);
    managed_ = active.has_value();
    const xcb_window_t window = active ? *active : inputFocus(connection);
    // Root, pointer root and none are nobody's; our own windows are Qt's to focus.
    if (window <= XCB_INPUT_FOCUS_POINTER_ROOT || window == rootOf(connection) || QWidget::find(window)) return;
    window_ = window;
}

void FocusReturn::giveBack() const {
    xcb_connection_t* connection = x11Connection();
    if (!connection || window_ == 0) return;
    if (managed_) {
        // Asked even when the window manager still names it active: it may not have
        // caught up with the focus our box took.
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window_;
        message.type = activeWindowAtom(connection);
        message.data.data32[0] = 2; // asked for by a pager: no focus stealing to prevent
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection, 0, rootOf(connection),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    } else {
        if (inputFocus(connection) == window_ || !isViewable(connection, window_)) return;
        // The window may go between the two requests: its error is expected, not Qt's to report.
        if (xcb_generic_error_t* error = xcb_request_check(
                connection, xcb_set_input_focus_checked(connection, XCB_INPUT_FOCUS_PARENT, window_, XCB_CURRENT_TIME)))
            std::free(error);
    }
    xcb_flush(connection);
}

} // namespace tallyra::ui::qt
