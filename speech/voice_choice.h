// Which installed voice speaks: the first, in the platform's order, whose
// description names Chinese. Shared by every backend that lists voices.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

// True when the UTF-8 description, with its ASCII letters lower-cased, contains
// "chinese" or "中文".
bool namesChinese(std::string_view description);

// Position of the first description that names Chinese; nothing when none does
// (the platform's default voice then stays).
std::optional<std::size_t> chooseVoice(const std::vector<std::string>& descriptions);

} // namespace tallyra
