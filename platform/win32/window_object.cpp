#include "platform/win32/window_object.h"

namespace tallyra::win32 {

void WindowObject::release() {
    if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

WNDCLASSEXW WindowObject::windowClass(HINSTANCE instance, const wchar_t* name, UINT style) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    windowClass.lpszClassName = name;
    return windowClass;
}

bool WindowObject::registerWindowClass(const WNDCLASSEXW& windowClass) {
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool WindowObject::createWindow(DWORD exStyle, const wchar_t* windowClass, const wchar_t* text, DWORD style, int x,
                                int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance) {
    // hwnd_ is set at WM_NCCREATE and null again when creation failed after it.
    CreateWindowExW(exStyle, windowClass, text, style, x, y, width, height, parent, menu, instance, this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK WindowObject::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // A window of our class made without an object (not by createWindow) gets the default handling.
        if (auto* created = static_cast<WindowObject*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams)) {
            created->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
    }
    // Null for the few messages before WM_NCCREATE and after the object let go.
    auto* self = reinterpret_cast<WindowObject*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    const std::shared_ptr<const void> keepAlive = self->keepAlive();
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->onWindowGone();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const std::optional<LRESULT> result = self->onMessage(message, wParam, lParam);
    return result ? *result : DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace tallyra::win32
