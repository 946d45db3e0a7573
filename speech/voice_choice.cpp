#include "speech/voice_choice.h"

namespace tallyra {

bool namesChinese(std::string_view description) {
    // Only ASCII letters change case: every byte of a multi-byte UTF-8 character is
    // 0x80 or above, so "中文" is matched byte for byte.
    std::string lower(description);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower.find("chinese") != std::string::npos || lower.find("中文") != std::string::npos;
}

std::optional<std::size_t> chooseVoice(const std::vector<std::string>& descriptions) {
    for (std::size_t i = 0; i < descriptions.size(); ++i)
        if (namesChinese(descriptions[i])) return i;
    return std::nullopt;
}

} // namespace tallyra
