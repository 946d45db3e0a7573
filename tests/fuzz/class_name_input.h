// One input of the class-name fuzz target, shared with the Wine test that replays
// its corpus: the lines of the input are class names; all but the last are the
// listed classes, the last is the name a teacher types for a new class.
#pragma once

#include "storage/class_list.h"
#include "storage/lists.h"
#include "storage/text_encoding.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra::fuzz {

struct ClassNameInput {
    std::vector<std::string> listed; // the class list's items
    std::string classList;           // as ClassName holds them
    std::string newName;
};

// Nothing when the input is no text the input box could give (not UTF-8).
inline std::optional<ClassNameInput> readClassNameInput(std::string_view bytes) {
    if (!isValidUtf8(bytes)) return std::nullopt;
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1)
        lines.emplace_back(bytes.substr(start, end - start));
    lines.emplace_back(bytes.substr(start));
    ClassNameInput input;
    input.newName = lines.back();
    lines.pop_back();
    input.classList = joinList(lines);
    input.listed = splitList(input.classList, ",");
    return input;
}

// The name the add-class window would accept for a new class.
inline bool acceptedAsNewClass(const ClassNameInput& input) {
    return !input.newName.empty() && !checkNewClassName(input.classList, input.newName) &&
           !checkClassListLength(addClassName(input.classList, input.newName));
}

} // namespace tallyra::fuzz
