// Another program for tests: a thread that acts once the moment a name in a folder is freed
// (moved away or deleted), as a program watching the folder through inotify would.
#pragma once

#include <atomic>
#include <cerrno>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace velmora::test {

class NameFreedTrigger {
public:
    // Watches folder for `name` going away and then runs act, once, on its own thread. ok is
    // false when the folder cannot be watched.
    NameFreedTrigger(const std::string& folder, std::string name, std::function<void()> act)
        : name_(std::move(name)), act_(std::move(act)) {
        fd_ = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        stop_ = ::eventfd(0, EFD_CLOEXEC);
        ok = fd_ >= 0 && stop_ >= 0 &&
             ::inotify_add_watch(fd_, folder.c_str(), IN_MOVED_FROM | IN_DELETE) >= 0;
        if (ok) thread_ = std::thread([this] { Loop(); });
    }
    ~NameFreedTrigger() {
        if (thread_.joinable()) {
            const std::uint64_t one = 1;
            (void)!::write(stop_, &one, sizeof one);
            thread_.join();
        }
        if (fd_ >= 0) ::close(fd_);
        if (stop_ >= 0) ::close(stop_);
    }
    NameFreedTrigger(const NameFreedTrigger&) = delete;
    NameFreedTrigger& operator=(const NameFreedTrigger&) = delete;

    bool ok = false;
    std::atomic<bool> fired{false};

private:
    void Loop() {
        alignas(inotify_event) char buf[4096];
        for (;;) {
            pollfd fds[2] = {{fd_, POLLIN, 0}, {stop_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
            if (fds[1].revents) return;
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            for (ssize_t off = 0; off < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buf + off);
                off += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
                if (e->len && name_ == e->name && !fired.exchange(true)) act_();
            }
        }
    }

    std::string name_;
    std::function<void()> act_;
    int fd_ = -1;
    int stop_ = -1;
    std::thread thread_;
};

} // namespace velmora::test
