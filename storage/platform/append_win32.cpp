// Windows append: FILE_APPEND_DATA without FILE_WRITE_DATA, so every write lands
// at the end of the file whoever else appends at the same time.
#include "storage/platform/append.h"

#include "platform/win32/scoped.h"
#include "platform/win32/text.h"
#include "storage/platform/failure_hooks.h"

#include <string>

namespace tallyra::platform {

bool appendToFile(const FilePath& file, std::string_view bytes, std::string_view header) {
    if (failsByHook(fileHooks().append, file)) return false;
    win32::ScopedHandle h(CreateFileW(win32::toWide(file.utf8()).c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    if (!h) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h.get(), &size)) return false;
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
    return WriteFile(h.get(), out.data(), static_cast<DWORD>(out.size()), &written, nullptr) && written == out.size() &&
           FlushFileBuffers(h.get());
}

} // namespace tallyra::platform
