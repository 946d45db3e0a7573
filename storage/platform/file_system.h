// The few file operations that differ between Windows and POSIX. The rest of
// storage/ uses std::filesystem and stays free of OS headers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tallyra::platform {

// Whole contents of a file, or nothing when it is missing or unreadable.
std::optional<std::string> readFileBytes(const std::filesystem::path& file);

// Replaces the file's contents so that a crash at any moment leaves either the
// old file or the new one: the bytes go to a temporary file in the same folder,
// are flushed to the disk, and the temporary file is renamed over the old one.
// Fails (and leaves the folder as it was) when the folder does not exist.
bool replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Runs between writing the temporary file and renaming it; tests use it to
// simulate a crash at the worst moment.
void setBeforeReplaceHook(std::function<void()> hook);

// Asked before each replace; when it answers true the replace fails as on a full
// disk or a read-only folder, leaving the file as it was. Tests make each write
// of an operation fail in turn with it.
void setReplaceFailureHook(std::function<bool(const std::filesystem::path& file)> hook);

bool deleteFile(const std::filesystem::path& file);

// Full path of the running executable.
std::filesystem::path executablePath();

// Serialises read-modify-write cycles on the files of one folder across threads
// and processes, so that two running copies of the program writing different
// items lose neither. Held for the lifetime of the object; a lock that cannot be
// taken (folder missing) is simply not held.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    std::intptr_t handle_;
};

} // namespace tallyra::platform
