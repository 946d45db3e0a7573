#include "app/trigger.h"

#include <charconv>

namespace tallyra::app {
namespace {

bool equalsIgnoringCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lower[i]) return false;
    }
    return true;
}

} // namespace

TriggerVerb parseTriggerVerb(std::span<const std::string> arguments) {
    for (const std::string& argument : arguments) {
        std::string_view word = argument;
        if (word.starts_with("--"))
            word.remove_prefix(2);
        else if (word.starts_with("/"))
            word.remove_prefix(1);
        else
            continue;
        if (equalsIgnoringCase(word, "draw")) return TriggerVerb::Draw;
        if (equalsIgnoringCase(word, "pick")) return TriggerVerb::Pick;
    }
    return TriggerVerb::None;
}

std::string_view verbWord(TriggerVerb verb) {
    switch (verb) {
    case TriggerVerb::Draw:
        return "draw";
    case TriggerVerb::Pick:
        return "pick";
    case TriggerVerb::None:
        break;
    }
    return {};
}

TriggerVerb verbFromWord(std::string_view word) {
    if (word == "draw") return TriggerVerb::Draw;
    if (word == "pick") return TriggerVerb::Pick;
    return TriggerVerb::None;
}

std::string encodeAnswer(const TriggerAnswer& answer) {
    return std::to_string(static_cast<int>(answer.code)) + "\t" + answer.text;
}

std::optional<TriggerAnswer> decodeAnswer(std::string_view bytes) {
    const std::size_t tab = bytes.find('\t');
    if (tab == std::string_view::npos || tab == 0) return std::nullopt;
    int code = -1;
    const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + tab, code);
    if (error != std::errc() || end != bytes.data() + tab) return std::nullopt;
    if (code < static_cast<int>(TriggerCode::Done) || code > static_cast<int>(TriggerCode::NoNewRound))
        return std::nullopt;
    return TriggerAnswer{static_cast<TriggerCode>(code), std::string(bytes.substr(tab + 1))};
}

std::string folderKey(std::string_view path) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : path) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    constexpr char kDigits[] = "0123456789abcdef";
    std::string key(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        key[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
    return key;
}

} // namespace tallyra::app
