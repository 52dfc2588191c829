// Loading the name lists from real folders and applying renames to real files.
#include "core/workspace/Workspace.h"

#include "core/platform/Error.h"
#include "core/workspace/EditorNamesPane.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace velmora;
using platform::ModalResult;
using test::TempDir;

namespace {

std::vector<std::string> Items(const platform::StringList& l) {
    std::vector<std::string> v;
    for (int i = 0; i < l.Count(); ++i)
        v.push_back(l.Get(i));
    return v;
}

struct Fixture : ::testing::Test {
    TempDir dir;
    platform::StringList left;
    editor::CustomTextEditor names;
    workspace::EditorNamesPane right{names};
    test::ScriptedQuestions questions;
    test::RecordingStatus status;
    std::string pattern = "*.*";
    bool excludeExt = false;
    std::string selected;
    workspace::Workspace ws{left,
                            right,
                            questions,
                            status,
                            {[this] { return selected; }, [this] { return pattern; },
                             [this] { return excludeExt; }, nullptr, nullptr}};

    Fixture() { selected = dir.Path(); }
    // Loads, then states the left order the test names lines by.
    void LoadInOrder(std::vector<std::string> names) {
        ws.LoadFileList();
        left.Clear();
        for (auto& n : names)
            left.Add(n);
    }
    void SetRight(std::vector<std::string> lines) {
        right.Lines().Clear();
        for (auto& l : lines)
            right.Lines().Add(l);
        right.SetModified(true);
    }
};

using Loading = Fixture;
using Applying = Fixture;

} // namespace

TEST_F(Loading, ListsInNameOrderAndSkipsHiddenEntriesAndFolders) {
    for (auto n : {"b.mp3", "a.mp3", "c.MP3", "d.txt", ".hidden.mp3"})
        dir.Write(n);
    std::filesystem::create_directory(dir / "folder.mp3");
    std::filesystem::create_directory_symlink(dir / "folder.mp3", dir / "link.mp3");
    std::filesystem::create_symlink(dir / "a.mp3", dir / "filelink.mp3");
    pattern = "*.mp3";
    ws.LoadFileList();
    // Name order whatever readdir returns; a link to a file is listed, one to a folder never.
    EXPECT_EQ(Items(left), (std::vector<std::string>{"a.mp3", "b.mp3", "c.MP3", "filelink.mp3"}));
    EXPECT_EQ(Items(right.Lines()), Items(left));
    EXPECT_EQ(ws.ListedDirectory(), dir.Slash());
}

TEST_F(Loading, PatternsExcludeExtensionsAndEmptyResults) {
    for (auto n : {"song.live.mp3", "README", "a1.txt"})
        dir.Write(n);
    excludeExt = true;
    ws.LoadFileList();
    auto names = Items(right.Lines());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"README", "a1", "song.live"}));

    pattern = "?1.TXT";
    ws.LoadFileList();
    EXPECT_EQ(Items(left), std::vector<std::string>{"a1.txt"});
    pattern = "";
    right.SetModified(true);
    ws.LoadFileList();
    EXPECT_EQ(left.Count(), 0);
    EXPECT_EQ(right.Lines().Count(), 0);
    EXPECT_FALSE(right.Modified());
}

TEST_F(Loading, InvalidPathEmptiesBothListsAndClearsModified) {
    dir.Write("a.mp3");
    ws.LoadFileList();
    right.SetModified(true);
    selected = dir / "missing";
    try {
        ws.LoadFileList();
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid or empty path [" + dir / "missing" + "]");
    }
    EXPECT_EQ(left.Count(), 0);
    EXPECT_EQ(right.Lines().Count(), 0);
    EXPECT_FALSE(right.Modified());
}

TEST_F(Applying, NonUtf8NamesAreListedAndLeftUntouched) {
    const std::string odd = "caf\xe9-\xff.mp3";
    dir.Write(odd, "payload");
    dir.Write("plain.mp3");
    ws.LoadFileList();
    ASSERT_EQ(left.Count(), 2);
    // Rename only the plain file; the other line goes back exactly as listed.
    for (int i = 0; i < 2; ++i)
        if (right.Lines().Get(i) == "plain.mp3") right.Lines().Put(i, "renamed.mp3");
    ws.ApplyRenames();
    EXPECT_EQ(dir.Read(odd), "payload");
    EXPECT_TRUE(dir.Exists("renamed.mp3"));
    EXPECT_TRUE(questions.asked.empty());
}

// A name may hold line breaks, split over two lines it would pair every later line with the
// wrong file, and tabs, which the pane would turn into blanks.
TEST_F(Applying, NamesWithLineBreaksAndTabsKeepOneLineEachAndStayUnlessEdited) {
    dir.Write("a\tb.mp3", "A");
    dir.Write("b\nnew.mp3", "B");
    dir.Write("c\r\nd.mp3", "C");
    dir.Write("e.mp3", "E");
    for (const bool exclude : {true, false}) {
        excludeExt = exclude;
        ws.LoadFileList();
        ASSERT_EQ(Items(left),
                  (std::vector<std::string>{"a\tb.mp3", "b\nnew.mp3", "c\r\nd.mp3", "e.mp3"}));
        const std::string ext = exclude ? "" : ".mp3";
        ASSERT_EQ(Items(right.Lines()),
                  (std::vector<std::string>{"a\u2409b" + ext, "b\u240Anew" + ext,
                                            "c\u240D\u240Ad" + ext, "e" + ext}));
        right.SetModified(true);
        ws.ApplyRenames(); // unchanged lines: no file is renamed to its symbols
        EXPECT_EQ(dir.Read("a\tb.mp3"), "A");
        EXPECT_EQ(dir.Read("b\nnew.mp3"), "B");
        EXPECT_EQ(dir.Read("c\r\nd.mp3"), "C");
        EXPECT_TRUE(questions.asked.empty());
    }
    // An edited line renames its own file, and the lines after it stay with theirs.
    right.Lines().Put(1, "b new.mp3");
    right.Lines().Put(3, "f.mp3");
    ws.ApplyRenames();
    EXPECT_EQ(dir.Read("b new.mp3"), "B");
    EXPECT_EQ(dir.Read("c\r\nd.mp3"), "C");
    EXPECT_EQ(dir.Read("f.mp3"), "E");
    EXPECT_EQ(dir.Read("a\tb.mp3"), "A");
    EXPECT_FALSE(dir.Exists("e.mp3"));
}

TEST_F(Applying, CountMismatchRenamesNothing) {
    dir.Write("a.mp3");
    ws.LoadFileList();
    SetRight({"x.mp3", "y.mp3"});
    try {
        ws.ApplyRenames();
        FAIL();
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), "Error. The number of lines on the left must exactly match the "
                               "number of lines on the right!");
    }
    EXPECT_TRUE(dir.Exists("a.mp3"));
}

TEST_F(Applying, ConflictAnswersSkipSkipAllAndCancel) {
    for (auto n : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        dir.Write(n, n);
    LoadInOrder({"a.mp3", "b.mp3", "c.mp3", "d.mp3"});

    // a->b conflicts (Yes skips), b->e renames, c->d conflicts (Yes to All), d->a conflicts
    // silently.
    SetRight({"b.mp3", "e.mp3", "d.mp3", "a.mp3"});
    questions.Answer(ModalResult::mrYes);
    questions.Answer(ModalResult::mrYesToAll);
    ws.ApplyRenames();
    ASSERT_EQ(questions.asked.size(), 2u);
    EXPECT_EQ(questions.asked[0].text,
              "A file named \"" + dir / "b.mp3" + "\" already exists.\nSkip this file?");
    EXPECT_EQ(questions.asked[0].buttons,
              platform::mbYes | platform::mbCancel | platform::mbYesToAll);
    EXPECT_EQ(dir.Read("e.mp3"), "b.mp3");
    EXPECT_EQ(dir.Read("a.mp3"), "a.mp3");
    EXPECT_EQ(dir.Read("d.mp3"), "d.mp3");
    EXPECT_EQ(status.texts,
              std::vector<std::string>{"25%: " + dir / "b.mp3" + " -> " + dir / "e.mp3"});

    // Cancel ends the run at once: later lines are not processed.
    SetRight({"e.mp3", "x.mp3", "y.mp3", "z.mp3"});
    questions.asked.clear();
    questions.Answer(ModalResult::mrCancel);
    ws.ApplyRenames();
    EXPECT_EQ(questions.asked.size(), 1u);
    EXPECT_TRUE(dir.Exists("c.mp3"));
    EXPECT_FALSE(dir.Exists("y.mp3"));
}

TEST_F(Applying, FailureAnswersRetryIgnoreIgnoreAllAndCancel) {
    for (auto n : {"1.mp3", "2.mp3", "3.mp3", "4.mp3"})
        dir.Write(n);
    LoadInOrder({"1.mp3", "2.mp3", "3.mp3", "4.mp3"});
    // Renames into a missing sub-folder fail for real; Retry after creating it succeeds.
    SetRight({"sub/1.mp3", "nodir/2.mp3", "nodir/3.mp3", "nodir/4.mp3"});
    questions.Answer(ModalResult::mrRetry, [&] { std::filesystem::create_directory(dir / "sub"); });
    questions.Answer(ModalResult::mrYes);
    questions.Answer(ModalResult::mrYesToAll);
    ws.ApplyRenames();
    ASSERT_EQ(questions.asked.size(), 3u);
    EXPECT_EQ(questions.asked[0].text, "Failed to rename \"" + dir / "1.mp3" + "\" to \"" +
                                           dir / "sub/1.mp3" + "\".\nIgnore this error?");
    EXPECT_EQ(questions.asked[0].buttons,
              platform::mbYes | platform::mbCancel | platform::mbRetry | platform::mbYesToAll);
    EXPECT_TRUE(dir.Exists("sub/1.mp3"));
    // Ignored failures still show their progress line.
    ASSERT_EQ(status.texts.size(), 4u);
    EXPECT_EQ(status.texts[3].substr(0, 5), "75%: ");

    questions.asked.clear();
    SetRight({"sub/1.mp3", "nodir/2.mp3", "nodir/3.mp3", "nodir/4.mp3"});
    left.Put(0, "2.mp3");
    questions.Answer(ModalResult::mrCancel);
    ws.ApplyRenames();
    EXPECT_EQ(questions.asked.size(), 1u);
}

TEST_F(Applying, TargetCreatedAfterTheCheckIsNotOverwritten) {
    dir.Write("a.mp3", "mine");
    ws.LoadFileList();
    SetRight({"sub/b.mp3"});
    // While the failure question is open, someone else creates the target.
    questions.Answer(ModalResult::mrRetry, [&] {
        std::filesystem::create_directory(dir / "sub");
        dir.Write("sub/b.mp3", "theirs");
    });
    questions.Answer(ModalResult::mrYes);
    ws.ApplyRenames();
    ASSERT_EQ(questions.asked.size(), 2u);
    EXPECT_NE(questions.asked[1].text.find("already exists"), std::string::npos);
    EXPECT_EQ(dir.Read("sub/b.mp3"), "theirs");
    EXPECT_EQ(dir.Read("a.mp3"), "mine");
}

TEST_F(Applying, CaseOnlyExcludedExtensionsUnchangedLinesAndProgress) {
    dir.Write("song.mp3", "s");
    dir.Write("intro.mp3", "i");
    dir.Write("keep.mp3", "k");
    excludeExt = true;
    LoadInOrder({"song.mp3", "intro.mp3", "keep.mp3"});
    SetRight({"Song", "01 - Intro", "keep"});
    ws.ApplyRenames();
    EXPECT_TRUE(questions.asked.empty());
    EXPECT_EQ(dir.Read("Song.mp3"), "s");
    EXPECT_EQ(dir.Read("01 - Intro.mp3"), "i");
    EXPECT_EQ(status.texts, (std::vector<std::string>{
                                "0%: " + dir / "song.mp3" + " -> " + dir / "Song.mp3",
                                "33%: " + dir / "intro.mp3" + " -> " + dir / "01 - Intro.mp3"}));
}

TEST_F(Applying, EmptyLineFailsInsteadOfNamingTheFolder) {
    dir.Write("a.mp3", "a");
    ws.LoadFileList();
    // One empty line, and the pane emptied altogether (its store then holds no line at all):
    // both are one empty name for the one listed file.
    for (bool emptied : {false, true}) {
        SetRight(emptied ? std::vector<std::string>{} : std::vector<std::string>{""});
        questions.asked.clear();
        questions.Answer(ModalResult::mrYes);
        ws.ApplyRenames();
        ASSERT_EQ(questions.asked.size(), 1u) << emptied;
        EXPECT_EQ(questions.asked[0].text, "Failed to rename \"" + dir / "a.mp3" + "\" to \"" +
                                               dir.Slash() + "\".\nIgnore this error?");
        EXPECT_EQ(dir.Read("a.mp3"), "a");
    }
    // With two listed files the emptied pane is one line against two.
    dir.Write("b.mp3", "b");
    ws.LoadFileList();
    SetRight({});
    EXPECT_THROW(ws.ApplyRenames(), platform::Exception);
}

TEST_F(Applying, PendingEditsAskOnceAndFollowTheAnswer) {
    dir.Write("a.mp3");
    ws.LoadFileList();
    EXPECT_TRUE(ws.ResolvePendingEdits()); // nothing edited: no question
    EXPECT_TRUE(questions.asked.empty());

    SetRight({"b.mp3"});
    questions.Answer(ModalResult::mrCancel);
    EXPECT_FALSE(ws.ResolvePendingEdits());
    EXPECT_TRUE(right.Modified());
    EXPECT_EQ(questions.asked.back().text, "Would you like to apply the changes?");

    questions.Answer(ModalResult::mrYes);
    EXPECT_TRUE(ws.ResolvePendingEdits());
    EXPECT_TRUE(dir.Exists("b.mp3"));
    EXPECT_TRUE(ws.ResolvePendingEdits()); // resolved: the reload of the same action asks no more
    EXPECT_EQ(questions.asked.size(), 2u);

    ws.LoadFileList();
    SetRight({"c.mp3"});
    questions.Answer(ModalResult::mrNo);
    EXPECT_TRUE(ws.ResolvePendingEdits());
    EXPECT_FALSE(dir.Exists("c.mp3"));
}

TEST_F(Loading, AReloadShowsTheNewListFromItsStartAndForgetsOldEdits) {
    for (int i = 0; i < 40; ++i)
        dir.Write("song" + std::to_string(10 + i) + ".mp3");
    ws.LoadFileList();
    const std::vector<std::string> listed = Items(right.Lines());
    // Edit far down, then reload: nothing of the old edit may reach the new list.
    names.SetCaret(0, 30);
    names.TypeChar(U'x');
    names.SetSelected(true);
    ws.LoadFileList();
    EXPECT_EQ(Items(right.Lines()), listed);
    EXPECT_EQ(names.CaretY(), 0);
    EXPECT_EQ(names.TopRow(), 0);
    EXPECT_FALSE(names.Selected());
    names.Undo();
    EXPECT_EQ(Items(right.Lines()), listed);
    // A failed load also leaves the editor usable from its start.
    selected = dir / "missing";
    EXPECT_THROW(ws.LoadFileList(), platform::Exception);
    EXPECT_EQ(names.UpdateLock(), 0);
    EXPECT_EQ(names.Lines().Count(), 0);
}

// While the workspace asks about pending edits or renames, the host holds change reports, so
// no reload can replace the lists under a question; and the Apply re-appends extensions exactly
// when the lists were loaded without them, whatever the check box shows by then.
TEST_F(Applying, QuestionsHoldReportsAndApplyKeepsTheLoadedExtensionSetting) {
    int held = 0;
    std::vector<int> heldWhileAsked;
    workspace::Workspace w{left,
                           right,
                           questions,
                           status,
                           {[this] { return selected; }, [this] { return pattern; },
                            [this] { return excludeExt; }, nullptr,
                            [&](bool hold) { held += hold ? 1 : -1; }}};
    dir.Write("a.mp3", "a");
    dir.Write("b.mp3", "b");
    w.LoadFileList();
    EXPECT_EQ(held, 0);
    for (int i = 0; i < 2; ++i)
        if (right.Lines().Get(i) == "a.mp3") right.Lines().Put(i, "b.mp3"); // a conflict
    right.SetModified(true);
    excludeExt = true; // the box was toggled; the question is about the lists as loaded
    questions.Answer(ModalResult::mrYes, [&] { heldWhileAsked.push_back(held); });
    questions.Answer(ModalResult::mrYes, [&] { heldWhileAsked.push_back(held); });
    EXPECT_TRUE(w.ResolvePendingEdits());
    EXPECT_EQ(heldWhileAsked, (std::vector<int>{1, 1}));
    EXPECT_EQ(held, 0);
    EXPECT_NE(questions.asked[1].text.find(dir / "b.mp3\""), std::string::npos);

    // Loaded without extensions: they come back on Apply even with the box cleared meanwhile.
    w.LoadFileList();
    for (int i = 0; i < 2; ++i)
        if (right.Lines().Get(i) == "a") right.Lines().Put(i, "x");
    excludeExt = false;
    w.ApplyRenames();
    EXPECT_EQ(dir.Read("x.mp3"), "a");
    EXPECT_EQ(dir.Read("b.mp3"), "b");
    EXPECT_EQ(held, 0);
}
