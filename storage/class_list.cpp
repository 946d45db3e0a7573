#include "storage/class_list.h"

#include "storage/file_names.h"
#include "storage/ini_file.h"
#include "storage/lists.h"
#include "storage/text_encoding.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tallyra {
namespace {

// The base name Windows would look up as a device: up to the first dot, without
// the blanks before it ("CON .txt" is the console too).
std::string deviceBase(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    std::string upper(base);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool isDeviceName(std::string_view name) {
    const std::string base = deviceBase(name);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (base == device) return true;
    if (!base.starts_with("COM") && !base.starts_with("LPT")) return false;
    // COM0 to COM9 and LPT0 to LPT9, also with the superscript digits ¹ ² ³.
    const std::string_view number = std::string_view(base).substr(3);
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

bool isSettingsFileName(std::string_view name) {
    return upperCaseFileName(name) == "CONFIG";
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

Message classNameUnstorable(std::string_view character) {
    return Message::owning("班级名称无效",
                           "班级名称中的字符“" + std::string(character) + "”（" + characterCode(character) +
                               "）无法保存到数据文件中，请更换后重试！",
                           kErrorOk);
}

std::optional<Message> checkClassName(std::string_view name) {
    if (name.empty()) return std::nullopt;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F ||
            std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return kClassNameInvalid;
    // A blank at either end would be trimmed from the first or last item of the class list.
    if (name.front() == ' ' || name.back() == ' ' || name.back() == '.') return kClassNameInvalid;
    if (isSettingsFileName(name) || isDeviceName(name)) return kClassNameInvalid;
    if (characterCount(name) > kClassNameMaxCharacters) return kClassNameTooLong;
    if (const auto character = unstorableCharacter(name)) return classNameUnstorable(*character);
    return std::nullopt;
}

std::optional<Message> checkNewClassName(std::string_view classList, std::string_view name,
                                         std::optional<std::string_view> renamedFrom) {
    if (name.find(',') != std::string_view::npos) return kClassNameWithComma;
    bool skippedOwnName = false;
    for (const std::string& other : splitList(classList, ",")) {
        if (renamedFrom && !skippedOwnName && other == *renamedFrom) {
            skippedOwnName = true;
            continue;
        }
        if (sameFileName(other, name))
            return classList.find(',') == std::string_view::npos ? kClassNameTakenSingle : kClassNameTaken;
    }
    return checkClassName(name);
}

bool hasControlCharacter(std::string_view name) {
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

bool isOwnRosterFileName(std::string_view className) {
    return className.find_first_of("\\/") == std::string_view::npos && !hasControlCharacter(className) &&
           !isSettingsFileName(className) && !isDeviceName(className);
}

std::optional<Message> checkClassListLength(std::string_view newList) {
    if (!fitsIniValue(newList)) return kClassListFull;
    return std::nullopt;
}

} // namespace tallyra
