// Windows file operations: write-to-temporary, flush, MoveFileExW; a named mutex per folder.
#include "storage/platform/file_system.h"

#include "platform/win32/scoped.h"
#include "platform/win32/system_library.h"
#include "platform/win32/text.h"

#include <shlobj.h>

#include <cwctype>

namespace tallyra::platform {
namespace {

using win32::ScopedHandle;
using win32::toUtf8;
using win32::toWide;

std::function<void()>& beforeReplaceHook() {
    static std::function<void()> hook;
    return hook;
}

std::function<bool(const FilePath&)>& replaceFailureHook() {
    static std::function<bool(const FilePath&)> hook;
    return hook;
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

std::optional<std::string> readFileBytes(const FilePath& file) {
    ScopedHandle h(CreateFileW(native(file).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return std::nullopt;
    std::string bytes;
    char buffer[8192];
    DWORD got = 0;
    while (ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
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
        if (attempt == 25 ||
            (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED && error != ERROR_LOCK_VIOLATION))
            return false;
        Sleep(20);
    }
}

} // namespace

bool replaceFileAtomically(const FilePath& file, std::string_view bytes) {
    if (replaceFailureHook() && replaceFailureHook()(file)) return false;
    const std::wstring target = native(file);
    const std::wstring temporary = target + L".tmp" + std::to_wstring(GetCurrentProcessId());
    bool written = false;
    {
        ScopedHandle h(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h) return false;
        DWORD done = 0;
        written = WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                  done == bytes.size() && FlushFileBuffers(h.get());
    }
    if (written && beforeReplaceHook()) beforeReplaceHook()();
    if (!written || !moveOver(temporary, target)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

void setBeforeReplaceHook(std::function<void()> hook) {
    beforeReplaceHook() = std::move(hook);
}

void setReplaceFailureHook(std::function<bool(const FilePath&)> hook) {
    replaceFailureHook() = std::move(hook);
}

bool deleteFile(const FilePath& file) {
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
    const FilePath probe = folder / (".tallyra-write-test." + std::to_string(GetCurrentProcessId()));
    const ScopedHandle h(CreateFileW(native(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(h);
}

std::vector<std::string> filesInFolder(const FilePath& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(native(folder / "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(toUtf8(found.cFileName));
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

// A folder cannot be locked on Windows, so every copy of the program opens the
// same named mutex, named after a hash of the folder's full path (case folded;
// object names are limited in length, paths are not).
FolderLock::FolderLock(const FilePath& folder) {
    const std::wstring given = native(folder);
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    if (full.empty()) full = given;
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (wchar_t c : full) {
        hash ^= static_cast<std::uint64_t>(std::towlower(c));
        hash *= 1099511628211ull;
    }
    const std::wstring name = L"Local\\Tallyra.FolderLock." + std::to_wstring(hash);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex != nullptr) WaitForSingleObject(mutex, INFINITE);
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
}

FolderLock::~FolderLock() {
    HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
    if (mutex != nullptr) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
}

} // namespace tallyra::platform
