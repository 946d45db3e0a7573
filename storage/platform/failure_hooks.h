// The test seams of the file layer, shared by its Windows and POSIX halves: each
// failure hook is asked before its operation and, answering true, makes it fail as
// the system would (a full disk, a file held by another program).
#pragma once

#include "storage/file_path.h"

#include <functional>

namespace tallyra::platform {

using FailureHook = std::function<bool(const FilePath& file)>;

struct FileHooks {
    FailureHook read, replace, remove, append;
    std::function<void()> beforeReplace; // between writing the temporary file and renaming it
};

FileHooks& fileHooks();

inline bool failsByHook(const FailureHook& hook, const FilePath& file) {
    return hook && hook(file);
}

} // namespace tallyra::platform
