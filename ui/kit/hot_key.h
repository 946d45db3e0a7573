// The global hot key: a key with modifiers, named as Config.conf keeps it ("F9",
// "Ctrl+Alt+F8"), and the keys it may not be.
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

// Shift, Ctrl, Alt and the Windows keys alone: not a key to take yet.
bool isModifierKey(unsigned key);
// "Ctrl+Alt+F9"; empty for a key without a name here.
std::string hotKeyName(HotKey key);
std::optional<HotKey> parseHotKey(std::string_view name);
// Keys that slide shows, typing or this program need.
bool isForbiddenHotKey(HotKey key);

} // namespace tallyra::ui
