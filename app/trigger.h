// The trigger other programs call: "/draw" or "/pick" (also "--draw", "--pick") on
// the command line makes a running copy of the program for the same folder do one
// step of the hot key's cycle, or a whole draw whose pick comes back to the caller.
// Here is what both ends agree on, apart from the channel between them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tallyra::app {

enum class TriggerVerb { None, Draw, Pick };

// The caller's exit codes (the README lists them).
enum class TriggerCode : int {
    Done = 0,
    Failed = 1,     // no copy could be reached or started, or it did not answer in time
    NoStudents = 2, // no class is chosen, or the class has no students
    AllAbsent = 3,  // every student of the class is marked absent today
    Busy = 4,       // a box, the menu or another window of the program waits for the teacher
    NoNewRound = 5, // the round was over and the new round was declined or not answered
};

// The verb among the arguments (not counting the program's name): the first of
// /draw, --draw, /pick, --pick in any letter case; None when there is none.
TriggerVerb parseTriggerVerb(std::span<const std::string> arguments);

// The word that travels on the channel for a verb, and back.
std::string_view verbWord(TriggerVerb verb);
TriggerVerb verbFromWord(std::string_view word);

// What the running copy answers: a code, and for a pick "number<Tab>name", else the reason.
struct TriggerAnswer {
    TriggerCode code = TriggerCode::Failed;
    std::string text;
    friend bool operator==(const TriggerAnswer&, const TriggerAnswer&) = default;
};

// "<code>\t<text>" and back; nothing for bytes that are not such an answer.
std::string encodeAnswer(const TriggerAnswer& answer);
std::optional<TriggerAnswer> decodeAnswer(std::string_view bytes);

// A short stable name for a folder path (64-bit FNV-1a in hex): the channel's name,
// since a path (Chinese, long) does not fit where the name goes.
std::string folderKey(std::string_view path);

// How long the caller waits: for the running copy to take the call, for a copy it
// started to be ready, and for a pick (a roll and the round-end question).
inline constexpr int kCallTimeoutMs = 5000;
inline constexpr int kStartTimeoutMs = 60000;
inline constexpr int kPickTimeoutMs = 65000;
// A pick rolls this long before it settles.
inline constexpr int kPickRollMs = 1000;

} // namespace tallyra::app
