// The file operations that differ between Windows and POSIX: the W functions on
// Windows, POSIX calls elsewhere. The rest of storage/ stays free of OS headers.
#pragma once

#include "storage/file_path.h"
#include "storage/read_state.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra::platform {

// A whole-file read is never Damaged: its content is not checked here.
using ReadOutcome = ReadState;

struct FileRead {
    ReadOutcome outcome = ReadOutcome::Missing;
    std::string bytes; // the whole file when outcome is Read, empty otherwise
};

// No file the program keeps comes near this; a larger one is not read at all.
inline constexpr std::uint64_t kReadLimit = 64ull << 20;

// Whole contents of a regular file. Missing only when the name does not exist;
// anything else that prevents a whole read (no permission, a sharing violation
// still there after about a second of retries, an error midway, not a regular
// file, over kReadLimit) is Failed, so that a caller never mistakes a file it
// could not read for an absent one and writes over it.
FileRead readFile(const FilePath& file);

// Asked before each read; when it answers true the read is Failed as on a file
// held by another program. Tests make each read of an operation fail in turn.
void setReadFailureHook(std::function<bool(const FilePath& file)> hook);

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

// True when the file is gone afterwards (also when it was never there).
bool deleteFile(const FilePath& file);

// Asked before each delete; when it answers true the delete fails and the file stays.
void setDeleteFailureHook(std::function<bool(const FilePath& file)> hook);

// Full path of the running executable.
FilePath executablePath();

bool isFolder(const FilePath& path);
// True when a file (not a folder) of that name exists.
bool isFile(const FilePath& path);
// Creates one folder; true when it exists afterwards.
bool makeFolder(const FilePath& path);
// True when a new file can be created in the folder (it is created and removed again).
bool canWriteInFolder(const FilePath& folder);
// Names of the regular files directly in the folder, less the folder lock's own
// file; empty when it cannot be listed.
std::vector<std::string> filesInFolder(const FilePath& folder);
// The user's own folder for application data (%LOCALAPPDATA% on Windows,
// $XDG_DATA_HOME or ~/.local/share elsewhere); empty when the system names none.
FilePath userDataBase();
// Where Windows' file virtualization kept what a legacy program wrote into this
// folder (%LOCALAPPDATA%\VirtualStore\...); empty where there is no such thing.
FilePath virtualStoreFolder(const FilePath& folder);

inline constexpr std::chrono::milliseconds kFolderLockWait{3000};

// Serialises read-modify-write cycles on the files of one folder across threads,
// processes and computers, so that two running copies of the program writing
// different items lose neither. The lock is a file inside the folder that the file
// system itself locks (so a second path to the folder, another user session or a
// copy on another PC reaching a network share all meet the same lock); it is
// removed again when released. Held for the lifetime of the object. It waits at
// most `wait` for another holder and is then not held: a caller writes nothing
// without it. Not re-entrant: a second lock of the same folder in the same thread
// waits out its time and fails.
class FolderLock {
public:
    explicit FolderLock(const FilePath& folder, std::chrono::milliseconds wait = kFolderLockWait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return held_; }
    // Not held because another holder kept it for the whole wait (rather than a
    // folder that is missing or takes no new file).
    bool busy() const { return busy_; }

private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
    bool busy_ = false;
    FilePath file_;
};

// Name of the lock file inside a folder; older copies of the program ignore it.
inline constexpr std::string_view kFolderLockName = ".tallyra.lock";

} // namespace tallyra::platform
