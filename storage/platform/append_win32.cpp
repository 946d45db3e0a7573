// Windows append: FILE_APPEND_DATA without FILE_WRITE_DATA, so every write lands
// at the end of the file whoever else appends at the same time.
#include "storage/platform/append.h"

#include "platform/win32/scoped.h"
#include "platform/win32/text.h"
#include "storage/platform/failure_hooks.h"

#include <string>

namespace tallyra::platform {

AppendResult appendToFile(const FilePath& file, std::string_view bytes, std::string_view header) {
    if (failsByHook(fileHooks().append, file)) return {FileProblem::Held};
    switch (linkStateOf(file)) {
    case LinkState::NotALink:
    case LinkState::ToRegularFile:
        break;
    case LinkState::Dangling: // opening would create the target, outside Data
        return {FileProblem::BrokenLink};
    case LinkState::ToOther:
        return {FileProblem::NotAFile};
    }
    const std::wstring path = win32::toWide(file.utf8());
    win32::ScopedHandle h;
    // A scanner holds the file for a moment; a spreadsheet holds it for good, and
    // the pick must not wait for it.
    for (int attempt = 0; !h; ++attempt) {
        h.reset(CreateFileW(path.c_str(), GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (h) break;
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)
            return {error == ERROR_ACCESS_DENIED ? (isFolder(file) ? FileProblem::NotAFile : FileProblem::Denied)
                                                 : FileProblem::Other};
        if (attempt == 5) return {FileProblem::Held};
        Sleep(20);
    }
    LARGE_INTEGER size{};
    if (GetFileType(h.get()) != FILE_TYPE_DISK) return {FileProblem::NotAFile};
    if (!GetFileSizeEx(h.get(), &size)) return {FileProblem::Other};
    std::string out;
    if (size.QuadPart == 0) {
        out.assign(header);
    } else {
        OVERLAPPED at{};
        const ULONGLONG lastByte = static_cast<ULONGLONG>(size.QuadPart) - 1;
        at.Offset = static_cast<DWORD>(lastByte);
        at.OffsetHigh = static_cast<DWORD>(lastByte >> 32);
        char last = '\n';
        DWORD got = 0;
        if (ReadFile(h.get(), &last, 1, &got, &at) && got == 1 && last != '\n') out = "\r\n";
    }
    out.append(bytes);
    DWORD written = 0;
    const bool ok = WriteFile(h.get(), out.data(), static_cast<DWORD>(out.size()), &written, nullptr) &&
                    written == out.size() && FlushFileBuffers(h.get());
    return {ok ? FileProblem::None : FileProblem::Other};
}

} // namespace tallyra::platform
