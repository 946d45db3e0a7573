// Our window classes, and the object behind a native window: the creation
// parameter is stored in the window at WM_NCCREATE and read back for every later
// message, so each window class has one static window procedure that forwards to a member.
#pragma once

#include <windows.h>

namespace tallyra::ui::win32 {

// A window class of ours with the standard arrow pointer.
inline WNDCLASSEXW windowClassOf(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style = 0) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    windowClass.lpszClassName = name;
    return windowClass;
}

// Registering a class a second time (a second toolkit in one process) is no failure.
inline bool registerWindowClass(const WNDCLASSEXW& windowClass) {
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// handle names the object's own HWND member, which is set at WM_NCCREATE.
// Null for the few messages that come before WM_NCCREATE or after the object let go.
template <typename Object> Object* windowObject(HWND hwnd, UINT message, LPARAM lParam, HWND Object::*handle) {
    if (message != WM_NCCREATE) return reinterpret_cast<Object*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    auto* object = static_cast<Object*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    object->*handle = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
}

} // namespace tallyra::ui::win32
