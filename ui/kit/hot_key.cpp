#include "ui/kit/hot_key.h"

namespace tallyra::ui {
namespace {

struct NamedKey {
    unsigned code;
    std::string_view name;
    Key key = Key::Other; // what a window's handlers see
};

// Keys other than letters, digits and F1–F24, by name.
constexpr NamedKey kNamedKeys[] = {
    {0x08, "Backspace"},          {0x09, "Tab"},
    {0x0D, "Enter", Key::Enter},  {0x13, "Pause"},
    {0x1B, "Esc", Key::Escape},   {0x20, "Space", Key::Space},
    {0x21, "PageUp", Key::PageUp}, {0x22, "PageDown", Key::PageDown},
    {0x23, "End"},                {0x24, "Home"},
    {0x25, "Left", Key::Left},    {0x26, "Up", Key::Up},
    {0x27, "Right", Key::Right},  {0x28, "Down", Key::Down},
    {0x2D, "Insert"},             {0x2E, "Delete"},
    {0x5D, "Menu"},               {0x91, "ScrollLock"},
    {0xBC, ","},                  {0xBE, "."},
};
constexpr unsigned kF11 = 0x7A;

constexpr NamedKey kModifiers[] = {{kControl, "Ctrl"}, {kAlt, "Alt"}, {kShift, "Shift"}, {kWin, "Win"}};

std::string keyName(unsigned code) {
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
    if (code >= 0x70 && code <= 0x87) return "F" + std::to_string(code - 0x70 + 1);
    for (const NamedKey& key : kNamedKeys)
        if (key.code == code) return std::string(key.name);
    return {};
}

std::optional<unsigned> keyCode(std::string_view name) {
    for (unsigned code = 1; code < 0xFF; ++code)
        if (!name.empty() && keyName(code) == name) return code;
    return std::nullopt;
}

} // namespace

Key keyOf(unsigned virtualKey) {
    if (virtualKey == kF11) return Key::F11;
    for (const NamedKey& key : kNamedKeys)
        if (key.code == virtualKey) return key.key;
    return Key::Other;
}

bool isModifierKey(unsigned key) {
    // Shift, Ctrl, Alt; their left and right keys; the Windows keys.
    return (key >= 0x10 && key <= 0x12) || (key >= 0xA0 && key <= 0xA5) || key == 0x5B || key == 0x5C;
}

std::string hotKeyName(HotKey key) {
    std::string name = keyName(key.key);
    if (name.empty()) return {};
    std::string prefix;
    for (const NamedKey& modifier : kModifiers)
        if (key.modifiers & modifier.code) prefix.append(modifier.name).append("+");
    return prefix + name;
}

std::optional<HotKey> parseHotKey(std::string_view name) {
    HotKey key;
    for (;;) {
        const std::size_t plus = name.find('+', 1); // "+" alone is no key of ours, but "Ctrl++" would be
        if (plus == std::string_view::npos) break;
        const std::string_view part = name.substr(0, plus);
        bool known = false;
        for (const NamedKey& modifier : kModifiers)
            if (part == modifier.name && !(key.modifiers & modifier.code)) key.modifiers |= modifier.code, known = true;
        if (!known) return std::nullopt;
        name.remove_prefix(plus + 1);
    }
    const std::optional<unsigned> code = keyCode(name);
    if (!code) return std::nullopt;
    key.key = *code;
    return key;
}

bool isForbiddenHotKey(HotKey key) {
    const unsigned code = key.key;
    if (keyName(code).empty() || isModifierKey(code)) return true;
    // Whatever the modifiers: keys a slide show, a presenter remote, the system or
    // this program use (F1 help, F5 and Shift+F5 start a show, F10 the menu bar, F11 full screen).
    switch (code) {
    case 0x08:
    case 0x09:
    case 0x0D:
    case 0x1B:
    case 0x20:
    case 0x21:
    case 0x22:
    case 0x23:
    case 0x24:
    case 0x25:
    case 0x26:
    case 0x27:
    case 0x28:
    case 0x5D:
    case 0x70:
    case 0x79:
    case 0x7A:
        return true;
    case 0x74: // F5: Ctrl+F5 and Alt+F5 are free
        return (key.modifiers & ~kShift) == 0;
    default:
        break;
    }
    // Letters, digits, "." and ",": typing, and a slide show's own keys (B, W, "." blank the screen).
    const bool typed = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || code == 0xBC || code == 0xBE;
    return typed && (key.modifiers & (kControl | kAlt | kWin)) == 0;
}

} // namespace tallyra::ui
