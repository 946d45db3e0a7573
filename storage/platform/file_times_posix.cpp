#include "storage/platform/file_times.h"

#include <sys/stat.h>

namespace tallyra::platform {

std::optional<std::int64_t> lastWriteTime(const FilePath& file) {
    struct stat status {};
    if (::stat(file.utf8().c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

} // namespace tallyra::platform
