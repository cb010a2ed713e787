// A file watcher for --watch: inotify on the file's directory (which sees a file renamed over
// the old one) and on the file itself (which sees through a symbolic link), signals through
// a signalfd, one child process per run.
#include "cli/surveillance.h"

#include <poll.h>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ostream>

namespace optic {

namespace {

using Clock = std::chrono::steady_clock;

// Changes closer together than this make one burst, and one run after it.
constexpr auto kQuiet = std::chrono::milliseconds(150);

constexpr std::uint32_t kDirectoryEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO |
                                           IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB |
                                           IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr std::uint32_t kFileEvents =
    IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;

bool Exists(const std::string& path) {
    struct stat s;
    return ::stat(path.c_str(), &s) == 0;
}

class Watcher {
  public:
    Watcher(const std::string& path, std::ostream& errors) : path_(path), errors_(errors) {
        const std::size_t slash = path.rfind('/');
        directory_ = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        name_ = slash == std::string::npos ? path : path.substr(slash + 1);
        inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (inotify_ >= 0) {
            directory_watch_ = ::inotify_add_watch(inotify_, directory_.c_str(), kDirectoryEvents);
        }
        if (directory_watch_ < 0) {
            errors_ << "optic: cannot watch " << directory_ << ": " << std::strerror(errno) << '\n';
        }
        WatchFile();
    }
    ~Watcher() {
        if (inotify_ >= 0) ::close(inotify_);
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    bool Usable() const { return directory_watch_ >= 0; }
    int Descriptor() const { return inotify_; }
    bool DirectoryGone() const { return directory_gone_; }

    // The file as it is now, followed through a symbolic link (a new file after a rename
    // gets a watch of its own).
    void WatchFile() {
        if (inotify_ >= 0) ::inotify_add_watch(inotify_, path_.c_str(), kFileEvents);
    }

    // Reads the pending events; true when one of them is about the file.
    bool Changed() {
        alignas(inotify_event) char buffer[8192];
        bool changed = false;
        for (;;) {
            const ssize_t n = ::read(inotify_, buffer, sizeof buffer);
            if (n <= 0) break;
            for (ssize_t p = 0; p < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + p);
                p += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
                if (e->wd == directory_watch_) {
                    if (e->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED))
                        directory_gone_ = true;
                    if (e->len > 0 && name_ == e->name) changed = true;
                } else if (!(e->mask & IN_IGNORED)) {
                    changed = true;  // the file itself, wherever it lives
                }
            }
        }
        return changed;
    }

  private:
    std::string path_, directory_, name_;
    std::ostream& errors_;
    int inotify_ = -1;
    int directory_watch_ = -1;
    bool directory_gone_ = false;
};

// The signals that end the watch, and the end of a run, read from a descriptor.
class Signals {
  public:
    Signals() {
        sigemptyset(&set_);
        for (int s : {SIGINT, SIGTERM, SIGCHLD}) sigaddset(&set_, s);
        ::pthread_sigmask(SIG_BLOCK, &set_, &before_);
        fd_ = ::signalfd(-1, &set_, SFD_NONBLOCK | SFD_CLOEXEC);
    }
    ~Signals() {
        if (fd_ >= 0) ::close(fd_);
        ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    }
    Signals(const Signals&) = delete;
    Signals& operator=(const Signals&) = delete;

    int Descriptor() const { return fd_; }
    const sigset_t& Before() const { return before_; }

    // The next signal that arrived, or 0.
    int Next() {
        signalfd_siginfo info;
        return ::read(fd_, &info, sizeof info) == sizeof info ? static_cast<int>(info.ssi_signo)
                                                              : 0;
    }

  private:
    sigset_t set_, before_;
    int fd_ = -1;
};

}  // namespace

int Watch(const std::string& path, const std::function<int()>& run, std::ostream& output,
          std::ostream& errors, bool chatty) {
    Watcher watcher(path, errors);
    if (!watcher.Usable()) {
        run();  // once, as without --watch, so that its messages say what went wrong
        return 255;
    }
    Signals signals;
    if (signals.Descriptor() < 0) {
        errors << "optic: cannot watch: " << std::strerror(errno) << '\n';
        return 255;
    }

    pid_t child = -1;
    auto start = [&] {
        output.flush();
        errors.flush();
        child = ::fork();
        if (child == 0) {
            // The run: the program's usual signals, none of the watch's descriptors.
            ::close(signals.Descriptor());
            ::close(watcher.Descriptor());
            ::pthread_sigmask(SIG_SETMASK, &signals.Before(), nullptr);
            const int status = run();
            // _Exit skips the streams' own flushing.
            output.flush();
            errors.flush();
            std::_Exit(status & 0xff);
        }
        if (child < 0) errors << "optic: cannot run: " << std::strerror(errno) << '\n';
    };
    auto reap = [&] {
        if (child > 0 && ::waitpid(child, nullptr, WNOHANG) == child) child = -1;
    };

    if (chatty) errors << "optic: watching " << path << " for changes; Ctrl-C to stop\n";
    bool present = Exists(path);
    if (!present) errors << "optic: " << path << " does not exist; waiting for it\n";
    start();
    bool pending = false;                   // a change waits for its run
    Clock::time_point last = Clock::now();  // of the last change seen
    for (;;) {
        int timeout = -1;
        if (pending && child < 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(last + kQuiet - Clock::now());
            timeout = static_cast<int>(std::max<long>(0, left.count()));
        }
        pollfd fds[2] = {{signals.Descriptor(), POLLIN, 0}, {watcher.Descriptor(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0 && errno != EINTR) {
            errors << "optic: cannot watch: " << std::strerror(errno) << '\n';
            break;
        }
        for (int s; (s = signals.Next()) != 0;) {
            if (s == SIGCHLD) {
                reap();
                continue;
            }
            // Ends the run under way as the signal would end it alone, then the watch.
            if (child > 0) {
                ::kill(child, s);
                ::waitpid(child, nullptr, 0);
            }
            return 0;
        }
        if (watcher.Changed()) {
            pending = true;
            last = Clock::now();
        }
        if (watcher.DirectoryGone()) {
            errors << "optic: the directory of " << path << " has gone; the watch ends\n";
            break;
        }
        if (!pending || child > 0 || Clock::now() < last + kQuiet) continue;
        // The burst is over.
        pending = false;
        watcher.WatchFile();
        if (!Exists(path)) {
            if (present)
                errors << "optic: " << path << " has disappeared; waiting for it to come back\n";
            present = false;
            continue;
        }
        present = true;
        if (chatty) errors << "optic: " << path << " changed; running again\n";
        start();
    }
    if (child > 0) ::waitpid(child, nullptr, 0);
    return 255;
}

}  // namespace optic
