// Find Next, Replace and Replace All on the names editor model.
#include "core/workspace/FindReplace.h"

#include "NamesEditorSupport.h"
#include "core/workspace/EditorNamesPane.h"
#include "core/workspace/Workspace.h"
#include "support/ScriptedQuestions.h"

using namespace velmora;
using platform::EAbort;
using Names = std::vector<std::string>;

namespace {

struct FindTest : test::NamesEditor {
    test::ScriptedQuestions questions;
    workspace::FindReplace finder{ed, questions};
    int focused = 0;

    FindTest() {
        finder.FocusEditor = [this] { ++focused; };
    }
    void Options(const std::string& find, bool down, bool wholeWord = false, bool matchCase = false,
                 const std::string& replace = {}) {
        finder.Options = {platform::DecodeUtf8(find), platform::DecodeUtf8(replace), down,
                          wholeWord, matchCase};
    }
    // Find Next: the whole-text offset selected, or the message shown.
    std::string Find() {
        const std::size_t before = questions.asked.size();
        try {
            finder.FindDialog1Find();
        } catch (const EAbort&) {
            return questions.asked.size() > before ? questions.asked.back().text : "abort";
        }
        return "at " + std::to_string(ed.SelStart() - 1) + " " + Selected();
    }
};

using ReplaceTest = FindTest;

} // namespace

TEST_F(FindTest, DownStartsOneAfterTheCaretExceptAtTheVeryStart) {
    Load({"cat dog cat cat"});
    Options("cat", true);
    EXPECT_EQ(Find(), "at 0 cat");
    EXPECT_EQ(Find(), "at 8 cat");
    EXPECT_EQ(focused, 2);
    CaretAt(8); // just before the second "cat": that one is skipped
    EXPECT_EQ(Find(), "at 12 cat");
    EXPECT_EQ(Find(), "Could not find search text \"cat\"");
    EXPECT_EQ(Selected(), "cat"); // the failed search leaves the selection alone
    EXPECT_EQ(questions.asked.back().buttons, unsigned{platform::mbOK});
}

TEST_F(FindTest, UpSkipsAnOccurrenceEndingAtTheCaret) {
    Load({"ab cat x"});
    Options("cat", false);
    CaretAt(6); // right after "cat"
    EXPECT_EQ(Find(), "Could not find search text \"cat\"");
    CaretAt(7); // after the blank that follows
    EXPECT_EQ(Find(), "at 3 cat");
    CaretAt(0);
    EXPECT_EQ(Find(), "Could not find search text \"cat\"");

    Load({"cat", "dog cat"}); // the search crosses line breaks, which count two
    Options("CAT", false);
    Select(9, 3);
    EXPECT_EQ(Find(), "at 0 cat");
}

TEST_F(FindTest, OccurrencesAreJudgedUntilOnePassesTheOptions) {
    struct Row {
        const char *text, *find;
        bool down, wholeWord, matchCase;
        const char* result;
    };
    const Row rows[] = {
        {"cat Cat", "Cat", true, false, true, "at 4 Cat"},
        {"Cat cat", "Cat", false, false, true, "at 0 Cat"},
        {"cat CAT", "Cat", true, false, true, "Could not find matching case search text \"Cat\""},
        {"xcat cat", "cat", true, true, false, "at 5 cat"},
        {"cat catx", "cat", false, true, false, "at 0 cat"},
        {"xcat catx", "cat", true, true, false, "Could not find whole word \"cat\""},
        {"xcat Cat", "cat", true, true, true, "Could not find matching case search text \"cat\""},
        {"a cat.", "cat", true, true, true, "at 2 cat"},
        {"\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89", true, false, false, "at 0 \xc3\xa9t\xc3\xa9"},
        {"abc", "", true, false, false, "Could not find search text \"\""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        Load({r.text});
        CaretAt(r.down ? 0 : static_cast<int>(platform::DecodeUtf8(r.text).size()));
        Options(r.find, r.down, r.wholeWord, r.matchCase);
        EXPECT_EQ(Find(), r.result);
    }
}

TEST_F(ReplaceTest, ReplaceFindsFirstThenReplacesOnlyAnOccurrence) {
    Load({"one cat cat"});
    Options("cat", true, false, false, "dog");
    finder.ReplaceDialog1Replace(false); // nothing selected: finds, then replaces
    EXPECT_EQ(Lines()[0], "one dog cat");
    EXPECT_EQ(Selected(), "dog");
    EXPECT_TRUE(ed.Modified());
    finder.ReplaceDialog1Replace(false); // "dog" is no occurrence: nothing
    EXPECT_EQ(Lines()[0], "one dog cat");
    EXPECT_FALSE(finder.ReplaceOne());

    Select(8, 3);
    finder.Options.MatchCase = true;
    finder.Options.FindText = U"CAT";
    EXPECT_FALSE(finder.ReplaceOne());
    finder.Options.MatchCase = false;
    EXPECT_TRUE(finder.ReplaceOne());
    EXPECT_EQ(Lines()[0], "one dog dog");
    ed.Undo();
    EXPECT_EQ(Lines()[0], "one dog cat");

    CaretAt(11);
    EXPECT_THROW(finder.ReplaceDialog1Replace(true), EAbort); // Down from the end: none
    EXPECT_EQ(questions.asked.back().text, "Could not find search text \"CAT\"");
    EXPECT_EQ(Lines()[0], "one dog cat");
}

TEST_F(ReplaceTest, ReplaceAllCoversTheWholeTextFromItsStart) {
    struct Row {
        Names lines;
        const char *find, *replace;
        bool wholeWord, matchCase;
        Names expected;
    };
    const Row rows[] = {
        {{"aaa"}, "a", "b", false, false, {"bbb"}},
        {{"aa"}, "a", "aa", false, false, {"aaaa"}},
        {{"xcat cat"}, "cat", "dog", true, false, {"xcat dog"}},
        {{"cat Cat", "CAT"}, "Cat", "Dog", false, true, {"cat Dog", "CAT"}},
        {{"cat Cat", "CAT"}, "cAT", "dog", false, false, {"dog dog", "dog"}},
        {{"a-b", "b-a"}, "-", "", false, false, {"ab", "ba"}},
        {{"\xc3\xa9t\xc3\xa9"}, "\xc3\x89", "e", false, false, {"ete"}},
        // After a replacement, the text as replaced so far gives the neighbour before.
        {{".."}, ".", "x", true, false, {"x."}},
        {{"a a"}, "a", "", true, false, {" "}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.find);
        Load(r.lines);
        Select(0, 1);
        Options(r.find, false, r.wholeWord, r.matchCase, r.replace);
        finder.ReplaceDialog1Replace(true);
        EXPECT_EQ(Lines(), r.expected);
    }
}

TEST_F(ReplaceTest, ReplaceAllIsOneUndoStepAndMakesTheWorkspaceAsk) {
    Load({"cat 1", "cat 2", "dog"});
    workspace::EditorNamesPane pane(ed);
    platform::StringList left;
    test::RecordingStatus status;
    workspace::Workspace ws(left, pane, questions, status, {});

    Options("cat", true, false, false, "cow");
    EXPECT_EQ(finder.ReplaceAll(), 2);
    EXPECT_EQ(Lines(), (Names{"cow 1", "cow 2", "dog"}));
    questions.Answer(platform::ModalResult::mrNo);
    EXPECT_EQ(ws.AskApplyChanges(), platform::ModalResult::mrNo);
    EXPECT_EQ(questions.asked.size(), 1u);

    finder.Options.FindText = U"dog";
    EXPECT_EQ(finder.ReplaceAll(), 1);
    ed.Undo();
    EXPECT_EQ(Lines(), (Names{"cow 1", "cow 2", "dog"}));
    ed.Undo();
    EXPECT_EQ(Lines(), (Names{"cat 1", "cat 2", "dog"}));

    // Nothing to replace: no change, no undo step, nothing to ask about.
    ed.SetModified(false);
    const int steps = ed.UndoList().Count();
    finder.Options.FindText = U"horse";
    EXPECT_EQ(finder.ReplaceAll(), 0);
    EXPECT_FALSE(ed.Modified());
    EXPECT_EQ(ed.UndoList().Count(), steps);
}

// A line break typed or pasted into the dialog (LF, CR or CR LF) stands for a whole line break,
// never for half of one: a half would leave a lone CR, which the pane shows as a line of its own.
TEST_F(ReplaceTest, ALineBreakInTheTextsIsAWholeLineBreak) {
    for (const char* brk : {"\n", "\r", "\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(brk)));
        Load({"one", "two", "three"});
        CaretAt(0);
        Options(std::string("e") + brk + "t", true);
        EXPECT_EQ(Find(), "at 2 e\r\nt");

        Options(std::string(".mp3") + brk, true, false, false, "x");
        Load({"a.mp3", "b.mp3", "c"});
        EXPECT_EQ(finder.ReplaceAll(), 2);
        EXPECT_EQ(Lines(), (Names{"axbxc"}));

        Options(brk, true, false, false, std::string(";") + brk);
        Load({"a", "b"});
        EXPECT_EQ(finder.ReplaceAll(), 2);
        EXPECT_EQ(Lines(), (Names{"a;", "b;"}));
        EXPECT_EQ(ed.Lines().Count(), 2);
    }
}
