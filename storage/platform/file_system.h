// The file operations that differ between Windows and POSIX: the W functions on
// Windows, POSIX calls elsewhere. The rest of storage/ stays free of OS headers.
#pragma once

#include "storage/file_path.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra::platform {

enum class ReadOutcome { Missing, Read, Failed };

struct FileRead {
    ReadOutcome outcome = ReadOutcome::Missing;
    std::string bytes; // the whole file when outcome is Read, empty otherwise
};

// No file the program keeps comes near this; a larger one is not read at all.
inline constexpr std::uint64_t kReadLimit = 64ull << 20;

// Whole contents of a regular file. Missing only when the name does not exist (a
// dangling symbolic link exists: Failed); anything else that prevents a whole
// read (no permission, a sharing violation still there after about a second of
// retries, an error midway, not a regular file, over kReadLimit) is Failed, so
// that a caller never mistakes a file it could not read for an absent one and
// writes over it.
FileRead readFile(const FilePath& file);

// Asked before each read; when it answers true the read is Failed as on a file
// held by another program. Tests make each read of an operation fail in turn.
void setReadFailureHook(std::function<bool(const FilePath& file)> hook);

// Why a read or an append failed, so that the teacher can be told.
enum class FileProblem {
    None,
    Held,        // another program keeps the file open without sharing (a spreadsheet)
    Denied,      // no permission
    NotAFile,    // a folder, a device, a pipe: not a regular file
    BrokenLink,  // a symbolic link whose target does not exist
    Interrupted, // the read failed part-way
    Other,
};

struct StreamRead {
    ReadOutcome outcome = ReadOutcome::Missing;
    FileProblem problem = FileProblem::None; // set when outcome is Failed
};

// Reads a regular file of any size in pieces, handing each to `take` in order,
// with readFile's refusals but no size bound: a file that grows by appending
// for years is read in constant memory. A read that fails part-way is Failed
// (Interrupted) after some pieces were taken: the caller drops what it took.
StreamRead readFileInPieces(const FilePath& file, const std::function<void(std::string_view piece)>& take);

// What stands at a name that may be a symbolic link (a teacher's sync folder).
enum class LinkState { NotALink, ToRegularFile, Dangling, ToOther };
LinkState linkStateOf(const FilePath& file);

// Judges the current contents of a link's target before a write goes through
// the link: true when they read as a file of the kind being written.
using TargetCheck = std::function<bool(std::string_view targetBytes)>;

// Replaces the file's contents so that a crash at any moment leaves either the
// old file or the new one: the bytes go to a temporary file in the same folder,
// are flushed to the disk, and the temporary file is renamed over the old one.
// Fails (and leaves the folder as it was) when the folder does not exist.
// A symbolic link at the name is written through (it stays, its target gets the
// bytes) only when its target is a regular file whose contents pass readsAsKind;
// a dangling link, a link to anything else, or no check given writes nothing.
// (Windows: MoveFileExW replaces a link itself, not its target.)
bool replaceFileAtomically(const FilePath& file, std::string_view bytes, const TargetCheck& readsAsKind = {});

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
    // Not held at once because the lock's name is taken by a folder or anything
    // else but a regular file; the teacher is told to remove file().
    bool notAFile() const { return notAFile_; }
    const FilePath& file() const { return file_; }

private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
    bool busy_ = false;
    bool notAFile_ = false;
    FilePath file_;
};

// Name of the lock file inside a folder; older copies of the program ignore it.
inline constexpr std::string_view kFolderLockName = ".tallyra.lock";

} // namespace tallyra::platform
