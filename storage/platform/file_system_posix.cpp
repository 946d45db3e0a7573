// POSIX file operations: exclusive temporary file, fsync, rename; an OFD lock on a
// lock file inside the folder.
#include "storage/platform/file_system.h"

#include "storage/platform/failure_hooks.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace tallyra::platform {
namespace {

// Closes the descriptor on every way out.
class ScopedFd {
public:
    explicit ScopedFd(int fd) : fd_(fd) {}
    ~ScopedFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    ScopedFd(const ScopedFd&) = delete;
    ScopedFd& operator=(const ScopedFd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

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

// Creates a new file of a name nobody else has: `base` plus the process id and a
// counter, tried again with the next number while the name is taken. O_EXCL with
// O_NOFOLLOW means a link planted under that name is never followed.
int createExclusive(const std::string& base, mode_t mode, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = base + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The file a write to `file` should replace: a symbolic link (a teacher's sync
// folder) is followed, so the link stays and its target gets the new contents.
std::string replaceTarget(const FilePath& file) {
    std::string path = file.utf8();
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
        if (length <= 0) return path;
        const std::string link(buffer, static_cast<std::size_t>(length));
        if (link.front() == '/') {
            path = link;
        } else {
            const std::size_t slash = path.rfind('/');
            path = slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
        }
    }
    return path;
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

namespace {

FileProblem problemOf(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return FileProblem::Denied;
    case EISDIR:
        return FileProblem::NotAFile;
    default:
        return FileProblem::Other;
    }
}

// Opens a regular file for reading; -1 with the reason in status otherwise. A
// device is never opened (opening one can act on the hardware); O_NONBLOCK: a
// FIFO put there meanwhile must not wait for a writer (fstat refuses it).
int openForReading(const FilePath& file, StreamRead& status, std::uint64_t& size) {
    status = {ReadOutcome::Failed, FileProblem::Other};
    if (failsByHook(fileHooks().read, file)) {
        status.problem = FileProblem::Held;
        return -1;
    }
    const char* name = file.utf8().c_str();
    struct stat named {};
    if (::stat(name, &named) != 0) {
        const int error = errno;
        struct stat link {};
        if (error == ENOENT && ::lstat(name, &link) == 0)
            status.problem = FileProblem::BrokenLink;
        else if (error == ENOENT)
            status = {};
        else
            status.problem = problemOf(error);
        return -1;
    }
    if (!S_ISREG(named.st_mode)) {
        status.problem = FileProblem::NotAFile;
        return -1;
    }
    ScopedFd fd(::open(name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            status = {};
        else
            status.problem = problemOf(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        status.problem = FileProblem::NotAFile;
        return -1;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    status = {ReadOutcome::Read, FileProblem::None};
    return fd.release();
}

} // namespace

FileRead readFile(const FilePath& file) {
    FileRead result;
    StreamRead status;
    std::uint64_t size = 0;
    const ScopedFd fd(openForReading(file, status, size));
    result.outcome = status.outcome;
    if (fd.get() < 0) return result;
    result.outcome = ReadOutcome::Failed;
    if (size > kReadLimit) return result;
    // Read straight into the result; a file that grows meanwhile is still bounded.
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > kReadLimit) return result;
            bytes.resize(std::min<std::size_t>(bytes.size() * 2, kReadLimit + 1));
        }
        const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return result;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    result.outcome = ReadOutcome::Read;
    result.bytes = std::move(bytes);
    return result;
}

StreamRead readFileInPieces(const FilePath& file, const std::function<void(std::string_view piece)>& take) {
    StreamRead status;
    std::uint64_t size = 0;
    const ScopedFd fd(openForReading(file, status, size));
    if (fd.get() < 0) return status;
    std::string buffer(std::size_t{1} << 16, '\0');
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return {ReadOutcome::Failed, FileProblem::Interrupted};
        if (got == 0) return status;
        take(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
}

LinkState linkStateOf(const FilePath& file) {
    struct stat link {
    }, target{};
    if (::lstat(file.utf8().c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return LinkState::NotALink;
    if (::stat(file.utf8().c_str(), &target) != 0) return errno == ENOENT ? LinkState::Dangling : LinkState::ToOther;
    return S_ISREG(target.st_mode) ? LinkState::ToRegularFile : LinkState::ToOther;
}

bool replaceFileAtomically(const FilePath& file, std::string_view bytes, const TargetCheck& readsAsKind) {
    if (failsByHook(fileHooks().replace, file)) return false;
    switch (linkStateOf(file)) {
    case LinkState::NotALink:
        break;
    case LinkState::ToRegularFile: {
        const FileRead old = readFile(file);
        if (!readsAsKind || old.outcome != ReadOutcome::Read || !readsAsKind(old.bytes)) return false;
        break;
    }
    case LinkState::Dangling: // would create a file outside Data
    case LinkState::ToOther:
        return false;
    }
    const std::string target = replaceTarget(file);
    // The new file keeps the permissions of the one it replaces; a new one gets
    // the usual 644 less the umask.
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    std::string temporary;
    ScopedFd fd(createExclusive(target + ".tmp", replacing ? 0600 : 0644, temporary));
    if (fd.get() < 0) return false;
    const bool written = writeAll(fd.get(), bytes) && (!replacing || ::fchmod(fd.get(), old.st_mode & 07777) == 0) &&
                         ::fsync(fd.get()) == 0;
    ::close(fd.release());
    if (written && fileHooks().beforeReplace) fileHooks().beforeReplace();
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    const ScopedFd folder(::open(parentOf(target).c_str(), O_RDONLY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
    return true;
}

bool deleteFile(const FilePath& file) {
    if (failsByHook(fileHooks().remove, file)) return false;
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
    std::string probe;
    const int fd = createExclusive((folder / ".tallyra-write-test.").utf8(), 0600, probe);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

std::vector<std::string> filesInFolder(const FilePath& folder) {
    std::vector<std::string> names;
    DIR* listing = ::opendir(folderName(folder));
    if (listing == nullptr) return names;
    while (const dirent* entry = ::readdir(listing)) {
        struct stat info {};
        if (entry->d_name != kFolderLockName && ::fstatat(::dirfd(listing), entry->d_name, &info, 0) == 0 &&
            S_ISREG(info.st_mode))
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

// An open-file-description lock: it is the file's, so threads of one process
// exclude each other as processes do, and NFS passes it to the server. The holder
// removes the file before it lets go; whoever locked the removed file meanwhile
// sees that the name now means another file and starts again.
FolderLock::FolderLock(const FilePath& folder, std::chrono::milliseconds wait) : file_(folder / kFolderLockName) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        // A folder, a link or a device under the lock's name is never opened, and no wait makes it a lock.
        struct stat existing {};
        if (::lstat(file_.utf8().c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
            notAFile_ = true;
            return;
        }
        ScopedFd fd(::open(file_.utf8().c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
        if (fd.get() < 0) {
            if (errno == EINTR) continue;
            notAFile_ = errno == ELOOP || errno == EISDIR;
            return; // no folder, or one that takes no new file
        }
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        while (::fcntl(fd.get(), F_OFD_SETLK, &whole) != 0) {
            if (errno != EAGAIN && errno != EACCES && errno != EINTR) return;
            if (std::chrono::steady_clock::now() >= deadline) {
                busy_ = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        struct stat locked {
        }, named{};
        if (::fstat(fd.get(), &locked) == 0 && ::lstat(file_.utf8().c_str(), &named) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
            handle_ = fd.release();
            held_ = true;
            return;
        }
    }
}

FolderLock::~FolderLock() {
    if (!held_) return;
    ::unlink(file_.utf8().c_str());
    ::close(static_cast<int>(handle_)); // closing releases the lock
}

} // namespace tallyra::platform
