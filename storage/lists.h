// Lists kept in one text: the class list, the roster's number and name lists,
// and the rows and columns of the roster text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

// Cuts text at every occurrence of delimiter. Empty text gives an empty list;
// empty pieces between delimiters stay; an empty piece after the last delimiter is
// dropped. (UTF-8 never holds an ASCII byte inside a multi-byte character, so a
// delimiter cannot start in the middle of one.)
std::vector<std::string> splitList(std::string_view text, std::string_view delimiter);

// The texts in order with one "," between neighbours.
std::string joinList(const std::vector<std::string>& texts);

} // namespace tallyra
