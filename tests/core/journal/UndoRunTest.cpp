// Apply with the journal, then undo, on real files: names restored exactly, files that moved
// on since are left alone, taken names are asked about and never replaced.
#include "core/journal/UndoRun.h"

#include "core/journal/JournalRecorder.h"
#include "core/journal/JournalStore.h"
#include "core/platform/Error.h"
#include "core/workspace/RenameRun.h"
#include "support/FuseVolume.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDir.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;
using platform::ModalResult;
using test::TempDir;

namespace {

std::vector<std::string> Names(const TempDir& d) {
    std::vector<std::string> v;
    DIR* dir = ::opendir(d.Path().c_str());
    while (const dirent* e = ::readdir(dir))
        if (e->d_name[0] != '.' || (e->d_name[1] != 0 && e->d_name[1] != '.'))
            v.push_back(e->d_name);
    ::closedir(dir);
    std::sort(v.begin(), v.end());
    return v;
}

// Every name in the folder with what the file holds.
std::map<std::string, std::string> ListingWithContents(const std::string& dir) {
    std::map<std::string, std::string> found;
    DIR* d = ::opendir(dir.c_str());
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::ifstream in(dir + name, std::ios::binary);
        found[name] = {std::istreambuf_iterator<char>(in), {}};
    }
    ::closedir(d);
    return found;
}

struct Undo : ::testing::Test {
    TempDir dir;
    TempDir state;
    journal::JournalStore store{state.Path() + "/journal"};
    test::ScriptedQuestions questions;
    test::RecordingStatus status;

    // Applies left[i] -> right[i] in dir with the journal, as the workspace does.
    void Apply(const std::vector<std::string>& left, const std::vector<std::string>& right) {
        platform::StringList l, r;
        for (auto& s : left)
            l.Add(s);
        for (auto& s : right)
            r.Add(s);
        journal::JournalRecorder recorder(store, questions);
        workspace::RenameRun run(questions, status);
        run.SetRecorder(&recorder);
        run.ApplyRenames(l, r, dir.Slash(), false);
    }
    journal::UndoRun::Outcome UndoLast() {
        auto found = store.LastUndoable();
        EXPECT_TRUE(found.has_value());
        if (!found) return {};
        auto out = journal::UndoRun(questions, status).Run(found->journal.plan);
        if (!out.cancelled)
            journal::JournalStore::Mark(found->path, journal::JournalFormat::Marker::Undone,
                                        static_cast<std::uint64_t>(out.renamedBack));
        return out;
    }
};

} // namespace

TEST_F(Undo, RestoresEveryNameExactlyAndWalksBackThroughEarlierRuns) {
    const std::vector<std::string> original = {" lead blank.mp3", "b\xff\xfe.mp3",
                                               "line\nbreak.mp3", "trail blank .mp3"};
    for (auto& n : original)
        dir.Write(n, n); // each file holds its own name, to see that no content moved
    const std::vector<std::string> first = {"01 x.mp3", "02\n\xc3(.mp3", "03 .mp3", "04.mp3"};
    Apply(original, first);
    ASSERT_EQ(Names(dir),
              std::vector<std::string>({"01 x.mp3", "02\n\xc3(.mp3", "03 .mp3", "04.mp3"}));
    // A second run that frees a name and takes it in the same run: undo must go backwards.
    Apply({"01 x.mp3", "04.mp3"}, {"zz.mp3", "01 x.mp3"});
    ASSERT_EQ(journal::UndoRun::CountRenamed(store.LastUndoable()->journal.plan), 2);

    auto out = UndoLast();
    EXPECT_EQ(out.renamedBack, 2);
    EXPECT_TRUE(out.skipped.empty());
    out = UndoLast();
    EXPECT_EQ(out.renamedBack, 4);
    std::vector<std::string> sorted = original;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(Names(dir), sorted);
    for (auto& n : original)
        EXPECT_EQ(dir.Read(n), n);
    // Both runs are marked: nothing is undone twice.
    EXPECT_FALSE(store.LastUndoable().has_value());
    EXPECT_TRUE(questions.asked.empty());
    // Progress as during an Apply, last rename first.
    ASSERT_FALSE(status.texts.empty());
    EXPECT_EQ(status.texts.back(),
              "75%: " + dir.Slash() + "01 x.mp3 -> " + dir.Slash() + " lead blank.mp3");
}

TEST_F(Undo, FilesRenamedAgainRemovedOrReplacedAreSkippedAndNamed) {
    for (auto n : {"a", "b", "c", "d"})
        dir.Write(n, n);
    Apply({"a", "b", "c", "d"}, {"A1", "B1", "C1", "D1"});
    ASSERT_EQ(::rename(dir.operator/("A1").c_str(), dir.operator/("elsewhere").c_str()), 0);
    ASSERT_EQ(::unlink(dir.operator/("B1").c_str()), 0);
    // Replaced: another file now carries the new name. The old file stays open meanwhile, so
    // that the impostor cannot be given its freed inode number.
    const int keep = ::open(dir.operator/("C1").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(keep, 0);
    ASSERT_EQ(::unlink(dir.operator/("C1").c_str()), 0);
    dir.Write("C1", "impostor");
    EXPECT_EQ(journal::UndoRun::CountRenamed(store.LastUndoable()->journal.plan), 1);

    auto out = UndoLast();
    EXPECT_EQ(out.renamedBack, 1);
    EXPECT_EQ(out.skipped, std::vector<std::string>({"C1", "B1", "A1"}));
    EXPECT_EQ(Names(dir), std::vector<std::string>({"C1", "d", "elsewhere"}));
    EXPECT_EQ(dir.Read("C1"), "impostor");
    EXPECT_TRUE(questions.asked.empty());
    ::close(keep);
}

TEST_F(Undo, ATakenNameIsAskedAboutAndNeverReplaced) {
    for (auto n : {"a", "b", "c"})
        dir.Write(n, n);
    Apply({"a", "b", "c"}, {"A", "B", "C"});
    dir.Write("a", "newcomer");
    dir.Write("c", "other");
    // Last rename first: c is asked first and skipped, then a cancels the undo.
    questions.Answer(ModalResult::mrYes);
    questions.Answer(ModalResult::mrCancel);
    auto out = UndoLast();
    ASSERT_EQ(questions.asked.size(), 2u);
    EXPECT_EQ(questions.asked[0].text,
              "A file named \"" + dir.Slash() + "c\" already exists.\nSkip this file?");
    EXPECT_EQ(questions.asked[0].buttons,
              unsigned(platform::mbYes | platform::mbCancel | platform::mbYesToAll));
    EXPECT_TRUE(out.cancelled);
    EXPECT_EQ(out.renamedBack, 1);
    EXPECT_EQ(out.skipped, std::vector<std::string>({"C"}));
    EXPECT_EQ(dir.Read("a"), "newcomer");
    EXPECT_EQ(dir.Read("c"), "other");
    EXPECT_EQ(dir.Read("A"), "a");
    EXPECT_EQ(dir.Read("b"), "b");
    // Cancelled, so the run may be taken up again; Yes to All then skips without asking.
    questions.asked.clear();
    questions.Answer(ModalResult::mrYesToAll);
    out = UndoLast();
    EXPECT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(out.renamedBack, 0);
    EXPECT_EQ(out.skipped, std::vector<std::string>({"C", "A"}));
    EXPECT_FALSE(store.LastUndoable().has_value());
}

TEST_F(Undo, AHardLinkLeftByACutTwoStepMoveIsUndoneWithoutLosingTheFile) {
    dir.Write("old", "data");
    Apply({"old"}, {"new"});
    // What a link+unlink move leaves when it is cut between its two steps.
    ASSERT_EQ(::link(dir.operator/("new").c_str(), dir.operator/("old").c_str()), 0);
    EXPECT_EQ(journal::UndoRun::Locate(dir.Slash(), store.LastUndoable()->journal.plan.entries[0]),
              journal::UndoRun::Where::AtBoth);
    auto out = UndoLast();
    EXPECT_EQ(out.renamedBack, 1);
    EXPECT_EQ(Names(dir), std::vector<std::string>({"old"}));
    EXPECT_EQ(dir.Read("old"), "data");
}

TEST_F(Undo, ApplyWithoutAnythingToRenameWritesNoJournal) {
    dir.Write("same");
    Apply({"same"}, {"same"});
    EXPECT_TRUE(store.List().empty());
}

TEST_F(Undo, AnUnwritableJournalAsksBeforeRenamingAndNoRenamesNothing) {
    dir.Write("a");
    TempDir blocker;
    blocker.Write("file");
    journal::JournalStore blocked(blocker / "file" + "/journal"); // under a file: cannot be made
    journal::JournalRecorder recorder(blocked, questions);
    workspace::RenameRun run(questions, status);
    run.SetRecorder(&recorder);
    platform::StringList l, r;
    l.Add("a");
    r.Add("b");
    questions.Answer(ModalResult::mrNo);
    EXPECT_THROW(run.ApplyRenames(l, r, dir.Slash(), false), platform::EAbort);
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_NE(questions.asked[0].text.find("could not be undone.\nRename anyway?"),
              std::string::npos);
    EXPECT_TRUE(dir.Exists("a"));
    questions.Answer(ModalResult::mrYes);
    run.ApplyRenames(l, r, dir.Slash(), false);
    EXPECT_TRUE(dir.Exists("b"));
}

TEST_F(Undo, LargeRunsTakeIdentitiesFromTheFolderListingAndTheyMatchStat) {
    // Enough files for the recorder to read the folder instead of calling stat per file.
    std::vector<std::string> left, right;
    for (int i = 0; i < 300; ++i) {
        left.push_back("f" + std::to_string(i));
        right.push_back("g" + std::to_string(i));
        dir.Write(left.back());
    }
    Apply(left, right);
    const auto plan = store.LastUndoable()->journal.plan;
    ASSERT_EQ(plan.entries.size(), 300u);
    for (const auto& e : plan.entries) {
        struct stat st {};
        ASSERT_EQ(::lstat((dir / e.newName).c_str(), &st), 0);
        EXPECT_EQ(e.device, static_cast<std::uint64_t>(st.st_dev));
        EXPECT_EQ(e.inode, static_cast<std::uint64_t>(st.st_ino));
    }
}

// On case-insensitive volumes, random runs of renames among names that differ only in case
// (swaps, chains, case changes), each undone at once: every file is back under its old name.
TEST(UndoOnFuse, RestoresTheStartOnCaseInsensitiveFuseVolumes) {
    test::OnEachFuseVolume([&](test::FuseVolume& v, const char* label) {
        std::mt19937 rng(5);
        const auto spelled = [&](char letter) {
            return std::string(1, rng() % 2 ? letter : char(letter - 'a' + 'A')) + ".mp3";
        };
        TempDir state;
        journal::JournalStore store(state.Path() + "/journal");
        test::ScriptedQuestions questions;
        questions.Answer(ModalResult::mrYesToAll); // skip what is taken
        test::RecordingStatus status;
        int undone = 0;
        for (int round = 0; round < 30; ++round) {
            SCOPED_TRACE(std::string(label) + " round " + std::to_string(round));
            std::string dir = v / ("r" + std::to_string(round));
            dir += '/';
            ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
            std::vector<std::string> files;
            std::set<char> letters;
            while (files.size() < 5) {
                const char letter = char('a' + rng() % 7);
                if (letters.insert(letter).second) files.push_back(spelled(letter));
            }
            platform::StringList left, right;
            for (const auto& f : files) {
                std::ofstream(dir + f) << f;
                left.Add(f);
                right.Add(spelled(char('a' + rng() % 7)));
            }
            const auto before = ListingWithContents(dir);
            {
                journal::JournalRecorder recorder(store, questions);
                workspace::RenameRun run(questions, status);
                run.SetRecorder(&recorder);
                run.ApplyRenames(left, right, dir, false);
            }
            auto last = store.LastUndoable();
            if (!last) continue; // nothing was renamed
            undone += journal::UndoRun(questions, status).Run(last->journal.plan).renamedBack;
            journal::JournalStore::Mark(last->path, journal::JournalFormat::Marker::Undone, 0);
            EXPECT_EQ(ListingWithContents(dir), before);
        }
        EXPECT_GT(undone, 0);
    });
}
