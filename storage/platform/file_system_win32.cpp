// Windows file operations: write-to-temporary, flush, MoveFileExW; a named mutex per folder.
#include "storage/platform/file_system.h"

#include "platform/win32/scoped.h"

#include <cwctype>

namespace tallyra::platform {
namespace {

using win32::ScopedHandle;

std::function<void()>& beforeReplaceHook() {
    static std::function<void()> hook;
    return hook;
}

std::function<bool(const std::filesystem::path&)>& replaceFailureHook() {
    static std::function<bool(const std::filesystem::path&)> hook;
    return hook;
}

} // namespace

std::optional<std::string> readFileBytes(const std::filesystem::path& file) {
    const ScopedHandle h(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return std::nullopt;
    std::string bytes;
    char buffer[8192];
    DWORD got = 0;
    while (ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

bool replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    if (replaceFailureHook() && replaceFailureHook()(file)) return false;
    std::filesystem::path temporary = file;
    temporary += L".tmp" + std::to_wstring(GetCurrentProcessId());
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
    if (!written || !MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

void setBeforeReplaceHook(std::function<void()> hook) {
    beforeReplaceHook() = std::move(hook);
}

void setReplaceFailureHook(std::function<bool(const std::filesystem::path&)> hook) {
    replaceFailureHook() = std::move(hook);
}

bool deleteFile(const std::filesystem::path& file) {
    if (DeleteFileW(file.c_str())) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::filesystem::path executablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

// A folder cannot be locked on Windows, so every copy of the program opens the
// same named mutex, named after a hash of the folder's full path (case folded;
// object names are limited in length, paths are not).
FolderLock::FolderLock(const std::filesystem::path& folder) {
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    std::error_code error;
    for (wchar_t c : std::filesystem::absolute(folder, error).wstring()) {
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
