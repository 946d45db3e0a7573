// Surnames that speech engines misread: a character (or two) whose everyday
// reading differs from its reading as a surname (曾 is céng in 曾经, zēng in 曾小明).
// The announcement speaks such a surname at the start of a name with its surname
// reading; what the windows show and the files hold is never changed.
#pragma once

#include <span>
#include <string_view>

namespace tallyra {

struct SurnameReading {
    std::string_view surname; // UTF-8, one or two characters
    std::string_view pinyin;  // one syllable per character, tone number last, syllables apart: "yu4 chi2"
};

std::span<const SurnameReading> surnameReadings();

// The listed surname that the name starts with, the longer one where two match
// (尉迟 before any one-character entry); null when it starts with none.
const SurnameReading* leadingSurname(std::string_view name);

} // namespace tallyra
