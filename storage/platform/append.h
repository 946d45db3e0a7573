// Adding bytes at the end of a file without rewriting what it holds: the record
// of picks grows by one line per pick, and no earlier line is ever written again.
#pragma once

#include "storage/file_path.h"
#include "storage/platform/file_system.h"

#include <functional>
#include <string_view>

namespace tallyra::platform {

// Appends bytes to the file, creating it when missing (header goes first into a
// new or empty file). When the file does not end with a line break (an append cut
// short by a crash), a CR LF goes first, so the cut line never swallows the new
// one. The bytes are flushed to the disk before it returns. A symbolic link is
// followed to any regular file: an append cannot destroy what the target holds.
// On failure the file holds at most a part of the bytes, after every earlier
// line, unchanged, and the problem says why (a dangling link, a held file...).
struct AppendResult {
    FileProblem problem = FileProblem::None;
    bool ok() const { return problem == FileProblem::None; }
};
[[nodiscard]] AppendResult appendToFile(const FilePath& file, std::string_view bytes, std::string_view header = {});

// Asked before each append; when it answers true the append fails as on a full
// disk. Tests make appends fail with it.
void setAppendFailureHook(std::function<bool(const FilePath& file)> hook);

} // namespace tallyra::platform
