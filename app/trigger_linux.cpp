// The trigger's channel on Linux: a Unix socket named after the program folder (its
// path, Chinese or long, would not fit a socket address), in the user's runtime
// folder, or where there is none in a folder of the program's own in the system's
// temporary folder that only the user can enter. The running copy listens with a
// QSocketNotifier and takes connections only from its own user; a caller writes
// the verb as a line and reads the answer as one.
#include "app/trigger_channel.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <memory>
#include <string>

namespace tallyra::app {
namespace {

// The folder of the sockets: $XDG_RUNTIME_DIR, else /tmp/tallyra-<uid>, made 0700;
// empty when it is not a folder of this user's alone (a link, another owner, open to others).
std::string socketFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') return runtime;
    const char* temporary = std::getenv("TMPDIR");
    std::string folder =
        std::string(temporary && temporary[0] == '/' ? temporary : "/tmp") + "/tallyra-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    struct stat status {};
    if (lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != getuid() ||
        (status.st_mode & 077) != 0)
        return {};
    return folder;
}

bool socketAddress(const std::string& programFolder, sockaddr_un& address) {
    const std::string folder = socketFolder();
    if (folder.empty()) return false;
    const std::string path = folder + "/tallyra-" + folderKey(programFolder) + ".sock";
    if (path.size() >= sizeof(address.sun_path)) return false;
    address = {};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    return true;
}

// Connects to the socket at the address; -1 (errno set) when nobody listens there.
int connectTo(const sockaddr_un& address) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// One caller's connection: its verb line, then the answer, then closed.
class Connection : public QObject {
public:
    Connection(int fd, TriggerHandler& handler) : fd_(fd), handler_(handler), notifier_(fd, QSocketNotifier::Read) {
        connect(&notifier_, &QSocketNotifier::activated, this, [this] { onReadable(); });
    }
    ~Connection() override {
        if (fd_ >= 0) close(fd_);
    }

private:
    void onReadable() {
        char buffer[64];
        const ssize_t got = recv(fd_, buffer, sizeof(buffer), MSG_DONTWAIT);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (got <= 0 || line_.size() + static_cast<std::size_t>(got) > 64) return end();
        line_.append(buffer, static_cast<std::size_t>(got));
        const std::size_t newline = line_.find('\n');
        if (newline == std::string::npos) return;
        notifier_.setEnabled(false);
        const TriggerVerb verb = verbFromWord(std::string_view(line_).substr(0, newline));
        if (verb == TriggerVerb::None) return end();
        const int fd = fd_;
        std::weak_ptr<int> alive = alive_;
        handler_(
            verb,
            [this, alive](const TriggerAnswer& answer) {
                if (alive.expired()) return;
                writeAll(fd_, encodeAnswer(answer) + "\n");
                end();
            },
            [fd, alive] {
                if (alive.expired()) return false;
                // A caller that gave up has closed its end: the socket reads as ended.
                pollfd state{fd, POLLIN, 0};
                char byte;
                return !(poll(&state, 1, 0) > 0 && recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0);
            });
    }
    void end() {
        alive_.reset();
        notifier_.setEnabled(false);
        deleteLater();
    }

    int fd_;
    TriggerHandler& handler_;
    QSocketNotifier notifier_;
    std::string line_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

class LinuxTriggerServer : public TriggerServer {
public:
    LinuxTriggerServer(int fd, std::string path, TriggerHandler handler)
        : fd_(fd), path_(std::move(path)), handler_(std::move(handler)), notifier_(fd, QSocketNotifier::Read) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, &context_, [this] { onConnection(); });
    }
    ~LinuxTriggerServer() override {
        close(fd_);
        unlink(path_.c_str());
    }

    void after(int milliseconds, std::function<void()> function) override {
        QTimer::singleShot(milliseconds, &context_, std::move(function));
    }

private:
    void onConnection() {
        const int fd = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) return;
        ucred peer{};
        socklen_t length = sizeof(peer);
        // Only this user's programs.
        if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != getuid()) {
            close(fd);
            return;
        }
        auto* connection = new Connection(fd, handler_);
        connection->setParent(&context_);
    }

    int fd_;
    std::string path_;
    TriggerHandler handler_;
    QObject context_;
    QSocketNotifier notifier_;
};

} // namespace

std::unique_ptr<TriggerServer> serveTriggers(const std::string& programFolder, TriggerHandler handler) {
    sockaddr_un address{};
    if (!socketAddress(programFolder, address)) return nullptr;
    if (const int other = connectTo(address); other >= 0) {
        close(other); // another copy serves this folder already
        return nullptr;
    }
    // A socket nobody listens on is left over from a copy that ended: it goes.
    struct stat status {};
    if (lstat(address.sun_path, &status) == 0) {
        if (!S_ISSOCK(status.st_mode) || status.st_uid != getuid()) return nullptr;
        unlink(address.sun_path);
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return nullptr;
    const mode_t mask = umask(077);
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    umask(mask);
    if (!bound || listen(fd, 8) != 0) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<LinuxTriggerServer>(fd, address.sun_path, std::move(handler));
}

std::optional<TriggerAnswer> callRunningCopy(const std::string& programFolder, TriggerVerb verb) {
    sockaddr_un address{};
    if (!socketAddress(programFolder, address)) return std::nullopt;
    const int fd = connectTo(address);
    if (fd < 0) return std::nullopt; // none runs (or a stale socket of one that ended)
    std::optional<TriggerAnswer> answer;
    if (writeAll(fd, std::string(verbWord(verb)) + "\n")) {
        const int timeoutMs = verb == TriggerVerb::Pick ? kPickTimeoutMs : kCallTimeoutMs;
        std::string reply;
        timespec start{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        for (;;) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            const long waited = (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
            pollfd state{fd, POLLIN, 0};
            if (waited >= timeoutMs || poll(&state, 1, static_cast<int>(timeoutMs - waited)) <= 0) break;
            char buffer[256];
            const ssize_t got = recv(fd, buffer, sizeof(buffer), 0);
            if (got <= 0 || reply.size() > 4096) break;
            reply.append(buffer, static_cast<std::size_t>(got));
            if (const std::size_t newline = reply.find('\n'); newline != std::string::npos) {
                answer = decodeAnswer(std::string_view(reply).substr(0, newline));
                break;
            }
        }
    }
    close(fd);
    if (!answer) answer = TriggerAnswer{TriggerCode::Failed, "点名程序没有及时给出结果。"};
    return answer;
}

bool startCopy() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) return false;
    path[length] = '\0';
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        // A session of its own, and nothing of the caller's output: a reader of the
        // caller's pipe must not wait for the copy to end.
        setsid();
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
        }
        if (fork() != 0) _exit(0); // the copy is nobody's child to wait for
        execl(path, path, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return true;
}

void pauseFor(int milliseconds) {
    const timespec duration{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    nanosleep(&duration, nullptr);
}

int reportAnswer(const TriggerAnswer& answer) {
    const int fd = answer.code == TriggerCode::Done ? 1 : 2;
    if (answer.code != TriggerCode::Done || !answer.text.empty()) {
        const std::string line = answer.text + "\n";
        std::size_t done = 0;
        while (done < line.size()) {
            const ssize_t written = write(fd, line.data() + done, line.size() - done);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) break;
            done += static_cast<std::size_t>(written);
        }
    }
    return static_cast<int>(answer.code);
}

} // namespace tallyra::app
