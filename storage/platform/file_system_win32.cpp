// Windows file operations: exclusive temporary file, flush, MoveFileExW; an
// unshared lock file inside the folder.
#include "storage/platform/file_system.h"

#include "base/digits.h"
#include "platform/win32/scoped.h"
#include "platform/win32/system_library.h"
#include "platform/win32/text.h"
#include "storage/platform/failure_hooks.h"

#include <shlobj.h>

#include <algorithm>
#include <atomic>

namespace tallyra::platform {
namespace {

using win32::ScopedHandle;
using win32::toUtf8;
using win32::toWide;

// A virus scanner, an indexer or a sync client that has a file open for a moment
// without sharing makes an open fail with one of these.
bool heldByAnother(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Creates a new file of a name nobody else has: `base` plus the process id and a
// counter, tried again with the next number while the name is taken. CREATE_NEW
// never opens what is already there, so a link planted under the name is left alone.
ScopedHandle createExclusive(const std::wstring& base, DWORD flags, std::wstring& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = base + toWide(digits(GetCurrentProcessId()) + "-" + digits(counter++));
        ScopedHandle h(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, flags, nullptr));
        if (h) return h;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    return ScopedHandle();
}

std::wstring environmentVariable(const wchar_t* name) {
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) return {};
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);
    }
}

// The path as the W functions take it; an empty path means the current folder.
std::wstring native(const FilePath& path) {
    return path.empty() ? std::wstring(L".") : toWide(path.utf8());
}

} // namespace

namespace {

// Opens a file on a disk for reading, waiting about a second for a program that
// holds it without sharing; an empty handle with the reason in status otherwise.
ScopedHandle openForReading(const FilePath& file, StreamRead& status, std::uint64_t& size) {
    status = {ReadOutcome::Failed, FileProblem::Other};
    if (failsByHook(fileHooks().read, file)) {
        status.problem = FileProblem::Held;
        return ScopedHandle();
    }
    const std::wstring path = native(file);
    ScopedHandle h;
    for (int attempt = 0;; ++attempt) {
        h.reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (h) break;
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) {
            const DWORD attributes = GetFileAttributesW(path.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
                status.problem = FileProblem::BrokenLink;
            else
                status = {};
            return ScopedHandle();
        }
        if (error == ERROR_ACCESS_DENIED) {
            const DWORD attributes = GetFileAttributesW(path.c_str());
            const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            status.problem = folder ? FileProblem::NotAFile : FileProblem::Denied;
            return ScopedHandle();
        }
        if (!heldByAnother(error)) return ScopedHandle();
        if (attempt == 50) {
            status.problem = FileProblem::Held;
            return ScopedHandle();
        }
        Sleep(20);
    }
    // Only a file on a disk: not a pipe, a console or a device such as NUL.
    LARGE_INTEGER length{};
    if (GetFileType(h.get()) != FILE_TYPE_DISK || !GetFileSizeEx(h.get(), &length) || length.QuadPart < 0) {
        status.problem = FileProblem::NotAFile;
        return ScopedHandle();
    }
    size = static_cast<std::uint64_t>(length.QuadPart);
    status = {ReadOutcome::Read, FileProblem::None};
    return h;
}

} // namespace

FileRead readFile(const FilePath& file) {
    FileRead result;
    StreamRead status;
    std::uint64_t size = 0;
    const ScopedHandle h = openForReading(file, status, size);
    result.outcome = status.outcome;
    if (!h) return result;
    result.outcome = ReadOutcome::Failed;
    if (size > kReadLimit) return result;
    // Read straight into the result; a file that grows meanwhile is still bounded.
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > kReadLimit) return result;
            bytes.resize(std::min<std::size_t>(bytes.size() * 2, kReadLimit + 1));
        }
        DWORD got = 0;
        if (!ReadFile(h.get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &got, nullptr))
            return result; // never the part read as the whole file
        if (got == 0) break;
        filled += got;
    }
    bytes.resize(filled);
    result.outcome = ReadOutcome::Read;
    result.bytes = std::move(bytes);
    return result;
}

StreamRead readFileInPieces(const FilePath& file, const std::function<void(std::string_view piece)>& take) {
    StreamRead status;
    std::uint64_t size = 0;
    const ScopedHandle h = openForReading(file, status, size);
    if (!h) return status;
    std::string buffer(std::size_t{1} << 16, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(h.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
            return {ReadOutcome::Failed, FileProblem::Interrupted};
        if (got == 0) return status;
        take(std::string_view(buffer.data(), got));
    }
}

LinkState linkStateOf(const FilePath& file) {
    const std::wstring path = native(file);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return LinkState::NotALink;
    // Opening follows the link to its target.
    const ScopedHandle h(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? LinkState::Dangling
                                                                              : LinkState::ToOther;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(h.get()) == FILE_TYPE_DISK && GetFileInformationByHandle(h.get(), &info) &&
                   (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0
               ? LinkState::ToRegularFile
               : LinkState::ToOther;
}

namespace {

// Renames the temporary file over the target. A virus scanner, an indexer or a
// teacher's editor that has the target open for a moment makes the rename fail
// with a sharing error: try again for up to half a second before giving up.
bool moveOver(const std::wstring& temporary, const std::wstring& target) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if (attempt == 25 || (!heldByAnother(error) && error != ERROR_ACCESS_DENIED)) return false;
        Sleep(20);
    }
}

} // namespace

// MoveFileExW replaces a symbolic link itself, never its target: the new file
// stays in Data whatever the link pointed to, so no target is judged here.
bool replaceFileAtomically(const FilePath& file, std::string_view bytes, const TargetCheck&) {
    if (failsByHook(fileHooks().replace, file)) return false;
    const std::wstring target = native(file);
    std::wstring temporary;
    bool written = false;
    {
        const ScopedHandle h = createExclusive(target + L".tmp", FILE_ATTRIBUTE_NORMAL, temporary);
        if (!h) return false;
        DWORD done = 0;
        written = WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                  done == bytes.size() && FlushFileBuffers(h.get());
    }
    if (written && fileHooks().beforeReplace) fileHooks().beforeReplace();
    if (!written || !moveOver(temporary, target)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

bool deleteFile(const FilePath& file) {
    if (failsByHook(fileHooks().remove, file)) return false;
    if (DeleteFileW(native(file).c_str())) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

FilePath executablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return FilePath(toUtf8(std::wstring_view(buffer).substr(0, length)));
        buffer.resize(buffer.size() * 2);
    }
}

bool isFolder(const FilePath& path) {
    const DWORD attributes = GetFileAttributesW(native(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isFile(const FilePath& path) {
    const DWORD attributes = GetFileAttributesW(native(path).c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool makeFolder(const FilePath& path) {
    return CreateDirectoryW(native(path).c_str(), nullptr) != 0 || isFolder(path);
}

bool canWriteInFolder(const FilePath& folder) {
    std::wstring probe;
    const ScopedHandle h = createExclusive(native(folder / ".tallyra-write-test."),
                                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, probe);
    return static_cast<bool>(h);
}

std::vector<std::string> filesInFolder(const FilePath& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(native(folder / "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = toUtf8(found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && name != kFolderLockName)
            names.push_back(std::move(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

FilePath userDataBase() {
    std::wstring base = environmentVariable(L"LOCALAPPDATA");
    if (base.empty()) {
        // Asked of the shell only here: shell32 is loaded for it, not at every start.
        const auto getFolderPath =
            win32::systemFunction<decltype(&SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
        wchar_t folder[MAX_PATH] = {};
        if (getFolderPath != nullptr &&
            getFolderPath(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK)
            base = folder;
    }
    while (!base.empty() && (base.back() == L'\\' || base.back() == L'/'))
        base.pop_back();
    return FilePath(toUtf8(base));
}

// Virtualization mirrors a folder C:\dir as %LOCALAPPDATA%\VirtualStore\dir.
FilePath virtualStoreFolder(const FilePath& folder) {
    const FilePath base = userDataBase();
    const std::string& path = folder.utf8();
    const bool onDrive = path.size() > 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    if (base.empty() || !onDrive) return {};
    return base / "VirtualStore" / std::string_view(path).substr(3);
}

// The lock is the lock file opened without sharing: the file system refuses every
// other open of it, whichever path, session or computer it comes from (network
// shares honour sharing modes). It goes away when the holder closes it.
FolderLock::FolderLock(const FilePath& folder, std::chrono::milliseconds wait) : file_(folder / kFolderLockName) {
    const std::wstring path = native(file_);
    const DWORD start = GetTickCount();
    for (int refused = 0;;) {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            handle_ = reinterpret_cast<std::intptr_t>(h);
            held_ = true;
            return;
        }
        // Access is denied for a moment while the last holder's file is being
        // removed, and for good by a folder that takes no new file. A folder or
        // a device under the lock's name is no busy lock: no wait ends it.
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
            notAFile_ = true;
            return;
        }
        if (error == ERROR_ACCESS_DENIED && attributes == INVALID_FILE_ATTRIBUTES) {
            if (++refused == 5) return;
        } else if (!heldByAnother(error) && error != ERROR_ACCESS_DENIED) {
            return;
        } else {
            refused = 0;
        }
        if (GetTickCount() - start >= static_cast<DWORD>(wait.count())) {
            busy_ = true;
            return;
        }
        Sleep(10);
    }
}

FolderLock::~FolderLock() {
    if (held_) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

} // namespace tallyra::platform
