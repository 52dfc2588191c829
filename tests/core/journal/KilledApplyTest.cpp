// An Apply killed with SIGKILL at random moments, in a child process: what the journal holds
// afterwards always brings back every original name, each on its own file.
#include "core/journal/JournalRecorder.h"
#include "core/journal/JournalStore.h"
#include "core/journal/UndoRun.h"
#include "core/workspace/RenameRun.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDir.h"

#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;
using test::TempDir;

namespace {

constexpr int kFiles = 20000;

// Tells the parent, through a pipe, when the run has got as far as the line it waits for.
class SignallingStatus : public platform::StatusSink {
public:
    SignallingStatus(int fd, int after) : fd_(fd), after_(after) {}
    void SetStatusText(const std::string&) override {
        if (++seen_ == after_) (void)!::write(fd_, "k", 1);
    }

private:
    int fd_, after_, seen_ = 0;
};

std::map<std::string, ino_t> Listing(const std::string& dir) {
    std::map<std::string, ino_t> m;
    DIR* d = ::opendir(dir.c_str());
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        struct stat st {};
        ::lstat((dir + "/" + n).c_str(), &st);
        m[n] = st.st_ino;
    }
    ::closedir(d);
    return m;
}

// Runs the Apply in a child and kills it: after the given number of renames have been
// reported, or after delayUs when that is -1.
void KilledApply(const TempDir& dir, const std::string& journalDir, const platform::StringList& l,
                 const platform::StringList& r, int afterRenames, int delayUs) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(fds[0]);
        test::ScriptedQuestions q;
        SignallingStatus status(fds[1], afterRenames);
        journal::JournalStore store(journalDir);
        journal::JournalRecorder recorder(store, q);
        workspace::RenameRun run(q, status);
        run.SetRecorder(&recorder);
        run.ApplyRenames(l, r, dir.Slash(), false);
        ::_exit(0);
    }
    ::close(fds[1]);
    if (afterRenames > 0) {
        char c;
        (void)!::read(fds[0], &c, 1); // the child goes on renaming while it is being killed
    } else {
        ::usleep(static_cast<useconds_t>(delayUs));
    }
    ::kill(pid, SIGKILL);
    int st = 0;
    ::waitpid(pid, &st, 0);
    ::close(fds[0]);
}

} // namespace

TEST(KilledApply, RecoveryRestoresEveryOriginalNameWhateverTheMoment) {
    // In memory where the machine has it: twenty thousand creations on a busy disk take longer
    // than the whole test should; the renames and kills are the same on either.
    const std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "";
    TempDir dir(base), state(base);
    const std::string journalDir = state.Path() + "/journal";
    platform::StringList l, r;
    char buf[64];
    for (int i = 0; i < kFiles; ++i) {
        std::snprintf(buf, sizeof buf, "track %05d.mp3", i);
        ::close(::open(dir.operator/(buf).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
        l.Add(buf);
        // Every other new name is the old name of a later line, taken once that one has moved.
        std::snprintf(buf, sizeof buf, i % 2 ? "track %05d.mp3" : "%05d new.mp3",
                      i % 2 ? kFiles + i : i);
        r.Add(buf);
    }
    const auto original = Listing(dir.Path());

    std::mt19937 rng(20261208);
    int midRun = 0;
    // Killed at once, right after the last rename, and after random numbers of renames.
    std::vector<std::pair<int, int>> moments = {{0, 0}, {kFiles, 0}};
    for (int k = 0; k < 3; ++k)
        moments.push_back({std::uniform_int_distribution<int>(1, kFiles - 1)(rng), -1});
    for (const auto& [after, delay] : moments) {
        KilledApply(dir, journalDir, l, r, after, delay);
        journal::JournalStore store(journalDir);
        for (const auto& found : store.Interrupted()) {
            const auto& plan = found.journal.plan;
            ASSERT_EQ(plan.entries.size(), static_cast<std::size_t>(kFiles));
            const int done = journal::UndoRun::CountRenamed(plan);
            if (done > 0 && done < kFiles) ++midRun;
            test::ScriptedQuestions q;
            test::RecordingStatus status;
            const auto out = journal::UndoRun(q, status).Run(plan);
            EXPECT_EQ(out.renamedBack, done);
            EXPECT_TRUE(out.skipped.empty());
            EXPECT_TRUE(q.asked.empty());
            journal::JournalStore::Mark(found.path, journal::JournalFormat::Marker::End, done);
            journal::JournalStore::Mark(found.path, journal::JournalFormat::Marker::Undone, 0);
        }
        // A run that reached its end marker before the kill is undone from the menu.
        if (auto last = store.LastUndoable()) {
            test::ScriptedQuestions q;
            test::RecordingStatus status;
            EXPECT_EQ(journal::UndoRun(q, status).Run(last->journal.plan).renamedBack, kFiles);
            journal::JournalStore::Mark(last->path, journal::JournalFormat::Marker::Undone, 0);
        }
        ASSERT_EQ(Listing(dir.Path()), original) << "killed after " << after << " renames";
    }
    EXPECT_GE(midRun, 2);
}
