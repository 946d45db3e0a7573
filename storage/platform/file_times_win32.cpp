#include "storage/platform/file_times.h"

#include "platform/win32/text.h"

#include <windows.h>

namespace tallyra::platform {

std::optional<std::int64_t> lastWriteTime(const FilePath& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(win32::toWide(file.utf8()).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

} // namespace tallyra::platform
