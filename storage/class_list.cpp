#include "storage/class_list.h"

#include "storage/ini_file.h"
#include "storage/lists.h"

#include <array>
#include <vector>

namespace tallyra {
namespace {

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool isReservedFileName(std::string_view name) {
    // Windows reserves the device names with any extension ("CON.txt" too).
    const std::string base = upperAscii(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view device : kDevices)
        if (base == device) return true;
    if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9')
        return true;
    return false;
}

} // namespace

std::string addClassName(std::string_view list, std::string_view name) {
    if (list.empty()) return std::string(name);
    return std::string(list) + "," + std::string(name);
}

std::string removeClassName(std::string_view list, std::string_view name) {
    if (list == name) return {};
    if (list.find(',') == std::string_view::npos) return std::string(list);
    std::vector<std::string> kept;
    for (std::string& item : splitList(list, ","))
        if (item != name) kept.push_back(std::move(item));
    return joinList(kept);
}

std::string renameClassName(std::string_view list, std::string_view oldName, std::string_view newName) {
    std::vector<std::string> items = splitList(list, ",");
    bool renamed = false;
    for (std::string& item : items) {
        if (item == oldName) {
            item = newName;
            renamed = true;
        }
    }
    return renamed ? joinList(items) : std::string(list);
}

std::optional<Message> checkClassName(std::string_view name) {
    if (name.empty()) return std::nullopt;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return kClassNameInvalid;
    // A blank at either end would be trimmed from the first or last item of the class list.
    if (name.front() == ' ' || name.back() == ' ' || name.back() == '.') return kClassNameInvalid;
    if (upperAscii(name) == "CONFIG" || isReservedFileName(name)) return kClassNameInvalid;
    std::size_t characters = 0;
    for (unsigned char c : name) characters += (c & 0xC0) != 0x80; // UTF-8 lead bytes
    if (characters > kClassNameMaxCharacters) return kClassNameTooLong;
    return std::nullopt;
}

std::optional<Message> checkClassListLength(std::string_view newList) {
    if (!fitsIniValue(newList)) return kClassListFull;
    return std::nullopt;
}

} // namespace tallyra
