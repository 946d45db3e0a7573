// POSIX file operations: write-to-temporary, fsync, rename; flock on the folder.
#include "storage/platform/file_system.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tallyra::platform {
namespace {

std::function<void()>& beforeReplaceHook() {
    static std::function<void()> hook;
    return hook;
}

std::function<bool(const std::filesystem::path&)>& replaceFailureHook() {
    static std::function<bool(const std::filesystem::path&)> hook;
    return hook;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::optional<std::string> readFileBytes(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

bool replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    if (replaceFailureHook() && replaceFailureHook()(file)) return false;
    std::filesystem::path temporary = file;
    temporary += ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ::close(fd);
    if (written && beforeReplaceHook()) beforeReplaceHook()();
    if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int folder = ::open(file.parent_path().empty() ? "." : file.parent_path().c_str(), O_RDONLY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
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
    return ::unlink(file.c_str()) == 0 || errno == ENOENT;
}

std::filesystem::path executablePath() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return {};
    return std::filesystem::path(std::string(buffer, static_cast<std::size_t>(length)));
}

FolderLock::FolderLock(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    handle_ = fd;
}

FolderLock::~FolderLock() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_)); // closing releases the lock
}

} // namespace tallyra::platform
