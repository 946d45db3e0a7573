// The file operations that differ between Windows and POSIX: the W functions on
// Windows, POSIX calls elsewhere. The rest of storage/ stays free of OS headers.
#pragma once

#include "storage/file_path.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra::platform {

// Whole contents of a file, or nothing when it is missing or unreadable.
std::optional<std::string> readFileBytes(const FilePath& file);

// Replaces the file's contents so that a crash at any moment leaves either the
// old file or the new one: the bytes go to a temporary file in the same folder,
// are flushed to the disk, and the temporary file is renamed over the old one.
// Fails (and leaves the folder as it was) when the folder does not exist.
bool replaceFileAtomically(const FilePath& file, std::string_view bytes);

// Runs between writing the temporary file and renaming it; tests use it to
// simulate a crash at the worst moment.
void setBeforeReplaceHook(std::function<void()> hook);

// Asked before each replace; when it answers true the replace fails as on a full
// disk or a read-only folder, leaving the file as it was. Tests make each write
// of an operation fail in turn with it.
void setReplaceFailureHook(std::function<bool(const FilePath& file)> hook);

bool deleteFile(const FilePath& file);

// Full path of the running executable.
FilePath executablePath();

bool isFolder(const FilePath& path);
// True when a file (not a folder) of that name exists.
bool isFile(const FilePath& path);
// Creates one folder; true when it exists afterwards.
bool makeFolder(const FilePath& path);
// True when a new file can be created in the folder (it is created and removed again).
bool canWriteInFolder(const FilePath& folder);
// Names of the regular files directly in the folder; empty when it cannot be listed.
std::vector<std::string> filesInFolder(const FilePath& folder);
// The user's own folder for application data (%LOCALAPPDATA% on Windows,
// $XDG_DATA_HOME or ~/.local/share elsewhere); empty when the system names none.
FilePath userDataBase();
// Where Windows' file virtualization kept what a legacy program wrote into this
// folder (%LOCALAPPDATA%\VirtualStore\...); empty where there is no such thing.
FilePath virtualStoreFolder(const FilePath& folder);

// Serialises read-modify-write cycles on the files of one folder across threads
// and processes, so that two running copies of the program writing different
// items lose neither. Held for the lifetime of the object; a lock that cannot be
// taken (folder missing) is simply not held.
class FolderLock {
public:
    explicit FolderLock(const FilePath& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    std::intptr_t handle_;
};

} // namespace tallyra::platform
