// A double fork: the program becomes a child of init, so nothing of ours has to reap it.
#include "core/shell/DetachedProcess.h"

#include "core/platform/FileStream.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora::shell {

std::string DetachedProcess::FindProgram(const std::string& name) {
    if (name.empty()) return {};
    auto runnable = [](const std::string& file) {
        struct stat st {};
        return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
               ::access(file.c_str(), X_OK) == 0;
    };
    if (name.find('/') != std::string::npos) return runnable(name) ? name : std::string();
    const char* env = std::getenv("PATH");
    const std::string path = env ? env : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = path.find(':', start);
        const std::string_view dir = std::string_view(path).substr(
            start, colon == std::string::npos ? colon : colon - start);
        std::string file(dir.empty() ? std::string_view(".") : dir); // empty means "here"
        file += '/';
        file += name;
        if (runnable(file)) return file;
        if (colon == std::string::npos) return {};
        start = colon + 1;
    }
}

void DetachedProcess::Start(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().empty()) throw EProcessStartError("No program to start.");
    const std::string program = FindProgram(argv.front());
    if (program.empty()) throw EProcessStartError(platform::SysErrorMessage(ENOENT));
    // Everything the children use is made before the fork: after it only calls that are safe
    // in a copy of a threaded process.
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    sigset_t none;
    sigemptyset(&none);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) throw EProcessStartError(platform::SysErrorMessage(errno));
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t child = ::fork();
        if (child == 0) {
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            ::execve(program.c_str(), args.data(), environ);
        }
        // The exec's (or the fork's) failure reaches the parent through the pipe; a successful
        // exec closes it unwritten.
        if (child <= 0) {
            const int err = errno;
            (void)!::write(report[1], &err, sizeof err);
        }
        ::_exit(child > 0 ? 0 : 127);
    }
    const int forkError = errno;
    ::close(report[1]);
    if (middle < 0) {
        ::close(report[0]);
        throw EProcessStartError(platform::SysErrorMessage(forkError));
    }
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t n;
    while ((n = ::read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (n == static_cast<ssize_t>(sizeof err))
        throw EProcessStartError(platform::SysErrorMessage(err));
}

} // namespace velmora::shell
