// POSIX append: O_APPEND, so concurrent appenders never overwrite each other's lines.
#include "storage/platform/append.h"

#include "storage/platform/failure_hooks.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tallyra::platform {

bool appendToFile(const FilePath& file, std::string_view bytes, std::string_view header) {
    if (failsByHook(fileHooks().append, file)) return false;
    const int fd = ::open(file.utf8().c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat info {};
    std::string out;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    if (info.st_size == 0) {
        out.assign(header);
    } else {
        char last = '\n';
        if (::pread(fd, &last, 1, info.st_size - 1) == 1 && last != '\n') out = "\r\n";
    }
    out.append(bytes);
    std::string_view rest = out;
    bool ok = true;
    while (ok && !rest.empty()) {
        const ssize_t written = ::write(fd, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) continue;
        ok = written > 0;
        if (ok) rest.remove_prefix(static_cast<std::size_t>(written));
    }
    ok = ok && ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace tallyra::platform
