// The program's one key vocabulary: the Windows virtual-key codes, named as
// Config.conf keeps them ("F9", "Ctrl+Alt+F8"). Each backend translates its own keys
// into these codes once (Win32's are these; Qt's through one table beside its X11
// keysyms); the windows' own keys (Key) and the hot key's names come from here.
#pragma once


#include <optional>
#include <string>
#include <string_view>

namespace tallyra::ui {

// Key codes are the Windows virtual-key codes, modifiers the RegisterHotKey ones:
// both backends translate their own keys to these.
enum HotKeyModifier : unsigned { kAlt = 1, kControl = 2, kShift = 4, kWin = 8 };

struct HotKey {
    unsigned key = 0;
    unsigned modifiers = 0;
    friend constexpr bool operator==(HotKey, HotKey) = default;
};

inline constexpr HotKey kDefaultHotKey{0x78}; // F9

// The keys a window is told about: those a teacher or a presenter remote uses to
// start and stop (Space, Enter, Page Down/Up, the arrows), Escape and F11 (full
// screen); every other key is Other.
enum class Key { Space, Enter, PageDown, PageUp, Left, Up, Right, Down, Escape, F11, Other };

// The key a window's handlers see for a virtual-key code (Key::Other for the rest).
Key keyOf(unsigned virtualKey);

// Shift, Ctrl, Alt and the Windows keys alone: not a key to take yet.
bool isModifierKey(unsigned key);
// "Ctrl+Alt+F9"; empty for a key without a name here.
std::string hotKeyName(HotKey key);
std::optional<HotKey> parseHotKey(std::string_view name);
// Keys that slide shows, typing or this program need.
bool isForbiddenHotKey(HotKey key);

} // namespace tallyra::ui
