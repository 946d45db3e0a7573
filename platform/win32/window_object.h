// The object behind a native window of one of our window classes. Every such
// class has the one window procedure here: it stores the object in the window at
// WM_NCCREATE (the creation parameter), finds it again for every later message,
// holds what the object names alive while a message is handled (a handler may
// destroy the window, and with it the object), and lets go at WM_NCDESTROY.
// Objects only unpack a message and act on it.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

namespace tallyra::win32 {

class WindowObject {
public:
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Cuts the native window loose: later messages get the default handling.
    void release();

protected:
    WindowObject() = default;
    virtual ~WindowObject() = default;

    // A class whose windows this base runs, with the standard arrow pointer.
    static WNDCLASSEXW windowClass(HINSTANCE instance, const wchar_t* name, UINT style = 0);
    // Registering a class a second time (a second toolkit in one process) is no failure.
    static bool registerWindowClass(const WNDCLASSEXW& windowClass);

    // Creates a window of such a class with this object behind it; false when there is none.
    bool createWindow(DWORD exStyle, const wchar_t* windowClass, const wchar_t* text, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menu, HINSTANCE instance);

    // A message for the window; nothing for the default handling.
    virtual std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // What has to outlive the handling of one message.
    virtual std::shared_ptr<const void> keepAlive() const = 0;
    // The native window is going away (WM_NCDESTROY); hwnd() is null already.
    virtual void onWindowGone() {}

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace tallyra::win32
