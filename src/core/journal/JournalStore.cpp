// Journal files: written whole under a temporary name, synced, then given their final name, so
// a journal that is listed always holds its complete plan.
#include "core/journal/JournalStore.h"

#include "core/platform/Error.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::journal {

namespace {

constexpr const char* kPartialSuffix = ".partial";

bool EndsWith(const std::string& s, const char* suffix) {
    const std::size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err) {
    throw platform::EWriteError(what + " \"" + path + "\": " + std::strerror(err));
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool SyncDirectory(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::string Parent(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p with private folders; a folder made here is synced into its parent, so the journal
// inside it survives a power cut as well.
void MakeDirectories(const std::string& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return;
        Fail("Not a folder:", dir, ENOTDIR);
    }
    const std::string parent = Parent(dir);
    if (parent != dir) MakeDirectories(parent);
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) Fail("Cannot create", dir, errno);
    SyncDirectory(parent);
}

bool ReadWhole(int fd, std::string& out) {
    out.clear();
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        out.append(buf, static_cast<std::size_t>(n));
    }
}

// Whether the file ends in an intact Undone marker: such a journal is passed over unread.
bool EndsUndone(int fd) {
    struct stat st {};
    const auto size = static_cast<off_t>(JournalFormat::kMarkerSize);
    if (::fstat(fd, &st) != 0 || st.st_size < size) return false;
    std::string tail(JournalFormat::kMarkerSize, '\0');
    return ::pread(fd, tail.data(), tail.size(), st.st_size - size) == size &&
           JournalFormat::IsMarker(tail, JournalFormat::Marker::Undone);
}

} // namespace

OpenJournal::~OpenJournal() {
    ::close(fd_); // and with it the lock
}

void OpenJournal::End(std::uint64_t renamed) {
    const std::string marker = JournalFormat::EncodeMarker(JournalFormat::Marker::End, renamed);
    if (!WriteAll(fd_, marker.data(), marker.size()) || ::fsync(fd_) != 0)
        Fail("Cannot write", path_, errno);
    SyncDirectory(Parent(path_));
}

std::string JournalStore::DefaultDirectory() {
    std::string base;
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : "/tmp";
        }
        base = std::string(home) + "/.local/state";
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/velmora/journal";
}

std::unique_ptr<OpenJournal> JournalStore::Begin(const JournalPlan& plan) {
    std::string bytes;
    JournalFormat::EncodePlan(plan, bytes);
    return BeginEncoded(bytes);
}

std::unique_ptr<OpenJournal> JournalStore::BeginEncoded(const std::string& bytes) {
    MakeDirectories(directory_);

    // Names sort by time; the process id keeps two instances apart within one clock tick.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    auto ns = static_cast<unsigned long long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    std::string name, partial;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt, ++ns) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%020llu-%d", ns, static_cast<int>(::getpid()));
        name = directory_ + "/" + buf + kSuffix;
        partial = directory_ + "/" + buf + kPartialSuffix;
        fd = ::open(partial.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && (errno != EEXIST || attempt > 100)) Fail("Cannot create", partial, errno);
    }
    auto journal = std::make_unique<OpenJournal>(name, fd);
    if (::flock(fd, LOCK_EX) != 0 || !WriteAll(fd, bytes.data(), bytes.size()) ||
        ::fsync(fd) != 0) {
        const int err = errno;
        ::unlink(partial.c_str());
        Fail("Cannot write", partial, err);
    }
    // Listed under its final name only once it is complete and on disk.
    if (::rename(partial.c_str(), name.c_str()) != 0 || !SyncDirectory(directory_)) {
        const int err = errno;
        ::unlink(partial.c_str());
        ::unlink(name.c_str());
        Fail("Cannot write", name, err);
    }
    Prune();
    return journal;
}

std::vector<std::string> JournalStore::List() const {
    std::vector<std::string> names;
    DIR* d = ::opendir(directory_.c_str());
    if (!d) return names;
    while (const dirent* e = ::readdir(d)) {
        std::string n = e->d_name;
        if (n[0] != '.' && EndsWith(n, kSuffix)) names.push_back(std::move(n));
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    for (std::string& n : names)
        n = directory_ + "/" + n;
    return names;
}

bool JournalStore::Read(const std::string& path, ParsedJournal& out) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        out = ParsedJournal();
        out.problem = std::strerror(errno);
        return true;
    }
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) { // an Apply is writing it now
        ::close(fd);
        return false;
    }
    std::string bytes;
    if (!ReadWhole(fd, bytes)) {
        out = ParsedJournal();
        out.problem = std::strerror(errno);
    } else {
        out = JournalFormat::Parse(bytes);
    }
    ::close(fd);
    return true;
}

JournalStore::Damaged JournalStore::SetAside(const std::string& path,
                                             const std::string& problem) const {
    Damaged d{path, problem, path + kDamagedSuffix};
    if (::rename(path.c_str(), d.setAside.c_str()) != 0) d.setAside.clear();
    return d;
}

std::optional<JournalStore::Found> JournalStore::LastUndoable(std::vector<Damaged>* damaged) const {
    const std::vector<std::string> paths = List();
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
        {
            const int fd = ::open(it->c_str(), O_RDONLY | O_CLOEXEC);
            const bool undone = fd >= 0 && EndsUndone(fd);
            if (fd >= 0) ::close(fd);
            if (undone) continue;
        }
        Found f{*it, {}};
        if (!Read(*it, f.journal)) continue;
        if (!f.journal.ok) {
            if (damaged) damaged->push_back(SetAside(*it, f.journal.problem));
            continue;
        }
        if (f.journal.state == JournalState::Undone) continue;
        return f;
    }
    return std::nullopt;
}

std::vector<JournalStore::Found> JournalStore::Interrupted(std::vector<Damaged>* damaged) const {
    std::vector<Found> found;
    const std::vector<std::string> paths = List();
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
        Found f{*it, {}};
        if (!Read(*it, f.journal)) continue;
        if (!f.journal.ok) {
            if (damaged) damaged->push_back(SetAside(*it, f.journal.problem));
            continue;
        }
        if (f.journal.state == JournalState::Interrupted) found.push_back(std::move(f));
    }
    return found;
}

void JournalStore::Mark(const std::string& path, JournalFormat::Marker marker,
                        std::uint64_t value) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) Fail("Cannot open", path, errno);
    const std::string record = JournalFormat::EncodeMarker(marker, value);
    const bool ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                    WriteAll(fd, record.data(), record.size()) && ::fsync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok) Fail("Cannot write", path, err);
    SyncDirectory(Parent(path));
}

void JournalStore::Prune() const {
    std::vector<std::string> paths = List();
    // Left behind by a process that died while writing its plan: it renamed nothing.
    if (DIR* d = ::opendir(directory_.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (EndsWith(n, kPartialSuffix)) paths.insert(paths.begin(), directory_ + "/" + n);
        }
        ::closedir(d);
    }
    std::size_t journals = List().size();
    for (const std::string& p : paths) {
        const bool partial = EndsWith(p, kPartialSuffix);
        if (!partial && journals <= kKeep) break;
        const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        // One that a running Apply holds stays.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(p.c_str());
            if (!partial) --journals;
        }
        ::close(fd);
    }
}

} // namespace velmora::journal
