// Driving another process's windows the way a user and a screen reader would:
// start it, find its top-level windows and their child windows, click with real
// mouse input, type with real keystrokes, read texts, answer message boxes and
// pick combo-box items. Every wait is bounded.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using Millis = std::chrono::milliseconds;

// Polls until the condition holds or the time is up; true when it held.
bool waitUntil(const std::function<bool()>& condition, Millis timeout, Millis step = Millis(15));
void pause(Millis duration);

class Process {
public:
    // Starts exe with its own folder as working directory; an error text when it fails.
    static std::optional<Process> start(const std::filesystem::path& exe, std::wstring& error,
                                        std::wstring_view arguments = {});
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    DWORD id() const { return id_; }
    HANDLE handle() const { return handle_; }
    HANDLE mainThread() const { return thread_; }
    bool running() const;
    // The exit code, or nothing when the process still runs after the timeout.
    std::optional<DWORD> waitExit(Millis timeout) const;
    // Ends the process if it still runs (exit code 0xDEAD).
    void kill();

private:
    Process(HANDLE handle, HANDLE thread, DWORD id) : handle_(handle), thread_(thread), id_(id) {}
    HANDLE handle_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD id_ = 0;
};

std::vector<HWND> topWindows(DWORD processId, bool visibleOnly = true);
std::vector<HWND> descendants(HWND top);
std::wstring className(HWND window);
// WM_GETTEXT, bounded: nothing when the window does not answer in time.
std::optional<std::wstring> windowText(HWND window);
// WM_SETTEXT, bounded.
bool setWindowText(HWND window, std::wstring_view text);
// First descendant with the control ID, or with the text (and class when given).
HWND findChildById(HWND top, int controlId);
HWND findChildByText(HWND top, std::wstring_view text, std::wstring_view windowClass = {});
RECT screenRect(HWND window);
POINT centre(const RECT& rect);
std::string describe(HWND window);

// Real input. click() aims at the centre of the window and refuses when another
// window lies on top of that point; the error says which.
std::optional<std::string> click(HWND window);
void clickAt(POINT point);
void mouseDown(POINT point);
void mouseUp();
void moveMouse(POINT point);
void pressKey(WORD virtualKey);
void typeText(std::wstring_view text); // characters as Unicode key events; \t, \r\n as keys

// Message boxes: top-level windows of class #32770 of the process, text in the static 0xFFFF.
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring text;
    std::vector<int> buttons; // IDOK, IDCANCEL, IDYES, IDNO... present and visible
};
std::optional<MessageBoxInfo> findMessageBox(DWORD processId);
std::optional<MessageBoxInfo> waitMessageBox(DWORD processId, Millis timeout);
// Presses the button with this ID; true when the box is gone afterwards.
bool answerMessageBox(const MessageBoxInfo& box, int buttonId, Millis timeout = Millis(3000));
std::string buttonName(int buttonId);

// Combo boxes (standard controls).
int comboCount(HWND combo);
int comboSelection(HWND combo);
std::wstring comboItem(HWND combo, int index);
// Drops the list with a real click and clicks the item (ComboLBox, LB_GETITEMRECT).
std::optional<std::string> pickComboItem(HWND combo, DWORD processId, int index);

// A message without pointers, bounded; nothing on timeout.
std::optional<LRESULT> sendBounded(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The colour on screen at a point.
std::optional<COLORREF> screenPixel(POINT point);

} // namespace e2e
