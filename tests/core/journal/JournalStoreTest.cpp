// The journal folder: durable plans, the newest undoable run, live writers left alone,
// damaged journals set aside once, old journals dropped beyond the ones kept.
#include "core/journal/JournalStore.h"

#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora::journal;
using velmora::test::TempDir;

namespace {

JournalPlan Plan(const std::string& tag) {
    JournalPlan p;
    p.folder = "/music/" + tag + "/";
    p.entries.push_back({1, 2, "old " + tag, "new " + tag});
    return p;
}

} // namespace

TEST(JournalStore, TheNewestRunNotUndoneIsOfferedAndOnlyItsOwnWriterHidesIt) {
    TempDir state;
    JournalStore store(state.Path() + "/deep/journal");
    EXPECT_FALSE(store.LastUndoable().has_value());
    store.Begin(Plan("one"))->End(1);
    auto open = store.Begin(Plan("two"));
    // The folder is private to the user.
    struct stat st {};
    ASSERT_EQ(::stat(store.Directory().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // A run still being written is neither interrupted nor undoable yet.
    EXPECT_EQ(store.LastUndoable()->journal.plan.folder, "/music/one/");
    EXPECT_TRUE(store.Interrupted().empty());
    const std::string two = open->Path();
    open.reset(); // its writer is gone without an end marker: cut off
    auto cut = store.Interrupted();
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].path, two);
    JournalStore::Mark(two, JournalFormat::Marker::End, 0);
    EXPECT_TRUE(store.Interrupted().empty());
    EXPECT_EQ(store.LastUndoable()->path, two);
    JournalStore::Mark(two, JournalFormat::Marker::Undone, 0);
    EXPECT_EQ(store.LastUndoable()->journal.plan.folder, "/music/one/");
}

TEST(JournalStore, DamagedJournalsAreReportedOnceSetAsideAndPassedOver) {
    TempDir state;
    JournalStore store(state.Path());
    store.Begin(Plan("good"))->End(1);
    const std::string bad = store.Begin(Plan("bad"))->Path();
    {
        std::fstream f(bad, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(30);
        f.put('!');
    }
    std::ofstream(state.Path() + "/foreign.journal") << "hello";
    std::vector<JournalStore::Damaged> damaged;
    auto found = store.LastUndoable(&damaged);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->journal.plan.folder, "/music/good/");
    ASSERT_EQ(damaged.size(), 2u);
    EXPECT_EQ(damaged[0].path, state.Path() + "/foreign.journal");
    EXPECT_EQ(damaged[0].problem, "not a rename journal");
    EXPECT_EQ(damaged[1].path, bad);
    EXPECT_NE(damaged[1].problem.find("checksum"), std::string::npos);
    EXPECT_TRUE(state.Exists("foreign.journal.damaged"));
    damaged.clear();
    store.LastUndoable(&damaged);
    EXPECT_TRUE(damaged.empty());
}

TEST(JournalStore, KeepsTheNewestJournalsOnly) {
    TempDir state;
    JournalStore store(state.Path());
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < JournalStore::kKeep + 3; ++i) {
        auto j = store.Begin(Plan(std::to_string(i)));
        j->End(1);
        paths.push_back(j->Path());
    }
    const auto kept = store.List();
    ASSERT_EQ(kept.size(), JournalStore::kKeep);
    EXPECT_EQ(kept.front(), paths[3]);
    EXPECT_EQ(kept.back(), paths.back());
}

TEST(JournalStore, TheStateFolderFollowsTheEnvironment) {
    const char* oldState = std::getenv("XDG_STATE_HOME");
    const std::string saved = oldState ? oldState : "";
    ::setenv("XDG_STATE_HOME", "/x/state/", 1);
    EXPECT_EQ(JournalStore::DefaultDirectory(), "/x/state/velmora/journal");
    ::setenv("XDG_STATE_HOME", "relative", 1); // not absolute: ignored
    ::setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/h", 1);
    EXPECT_EQ(JournalStore::DefaultDirectory(),
              std::string(std::getenv("HOME")) + "/.local/state/velmora/journal");
    if (oldState)
        ::setenv("XDG_STATE_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_STATE_HOME");
}
