// POSIX file operations: write-to-temporary, fsync, rename; flock on the folder.
#include "storage/platform/file_system.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tallyra::platform {
namespace {

std::function<void()>& beforeReplaceHook() {
    static std::function<void()> hook;
    return hook;
}

std::function<bool(const FilePath&)>& replaceFailureHook() {
    static std::function<bool(const FilePath&)> hook;
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

// An empty path means the current folder, as a bare file name's parent does.
const char* folderName(const FilePath& folder) {
    return folder.empty() ? "." : folder.utf8().c_str();
}

} // namespace

std::optional<std::string> readFileBytes(const FilePath& file) {
    const int fd = ::open(file.utf8().c_str(), O_RDONLY | O_CLOEXEC);
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

bool replaceFileAtomically(const FilePath& file, std::string_view bytes) {
    if (replaceFailureHook() && replaceFailureHook()(file)) return false;
    const std::string temporary = file.utf8() + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ::close(fd);
    if (written && beforeReplaceHook()) beforeReplaceHook()();
    if (!written || ::rename(temporary.c_str(), file.utf8().c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int folder = ::open(folderName(file.parent()), O_RDONLY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
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
    return ::unlink(file.utf8().c_str()) == 0 || errno == ENOENT;
}

FilePath executablePath() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return {};
    return FilePath(std::string(buffer, static_cast<std::size_t>(length)));
}

bool isFolder(const FilePath& path) {
    struct stat info {};
    return ::stat(folderName(path), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isFile(const FilePath& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.utf8().c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool makeFolder(const FilePath& path) {
    return ::mkdir(path.utf8().c_str(), 0755) == 0 || isFolder(path);
}

bool canWriteInFolder(const FilePath& folder) {
    const FilePath probe = folder / (".tallyra-write-test." + std::to_string(::getpid()));
    const int fd = ::open(probe.utf8().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.utf8().c_str());
    return true;
}

std::vector<std::string> filesInFolder(const FilePath& folder) {
    std::vector<std::string> names;
    DIR* listing = ::opendir(folderName(folder));
    if (listing == nullptr) return names;
    while (const dirent* entry = ::readdir(listing)) {
        struct stat info {};
        if (::fstatat(::dirfd(listing), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode))
            names.emplace_back(entry->d_name);
    }
    ::closedir(listing);
    return names;
}

// The XDG base directory rule: a relative $XDG_DATA_HOME is to be ignored.
FilePath userDataBase() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return FilePath(xdg);
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    return FilePath(home) / ".local" / "share";
}

FilePath virtualStoreFolder(const FilePath&) {
    return {};
}

FolderLock::FolderLock(const FilePath& folder) {
    const int fd = ::open(folderName(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
