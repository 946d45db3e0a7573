// POSIX append: O_APPEND, so concurrent appenders never overwrite each other's lines.
#include "storage/platform/append.h"

#include "storage/platform/failure_hooks.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tallyra::platform {

namespace {

FileProblem problemOf(int error) {
    if (error == EACCES || error == EPERM) return FileProblem::Denied;
    if (error == EISDIR || error == ELOOP || error == ENXIO) return FileProblem::NotAFile;
    return FileProblem::Other;
}

} // namespace

AppendResult appendToFile(const FilePath& file, std::string_view bytes, std::string_view header) {
    if (failsByHook(fileHooks().append, file)) return {FileProblem::Held};
    // A new file is created only under the name itself, never at a link's target.
    int flags = O_RDWR | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    switch (linkStateOf(file)) {
    case LinkState::NotALink:
        flags |= O_CREAT | O_NOFOLLOW;
        break;
    case LinkState::ToRegularFile:
        break;
    case LinkState::Dangling:
        return {FileProblem::BrokenLink};
    case LinkState::ToOther:
        return {FileProblem::NotAFile};
    }
    struct stat named {};
    if (::stat(file.utf8().c_str(), &named) == 0 && !S_ISREG(named.st_mode)) return {FileProblem::NotAFile};
    const int fd = ::open(file.utf8().c_str(), flags, 0644);
    if (fd < 0) return {problemOf(errno)};
    struct stat info {};
    std::string out;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {FileProblem::NotAFile};
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
    return {ok ? FileProblem::None : FileProblem::Other};
}

} // namespace tallyra::platform
