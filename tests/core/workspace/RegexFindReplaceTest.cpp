// Find and replace with regular expressions on the names editor model.
#include "NamesEditorSupport.h"
#include "core/workspace/FindReplace.h"
#include "support/ScriptedQuestions.h"

using namespace velmora;
using platform::EAbort;
using Names = std::vector<std::string>;

namespace {

struct RegexTest : test::NamesEditor {
    test::ScriptedQuestions questions;
    workspace::FindReplace finder{ed, questions};

    void Options(const std::string& find, const std::string& replace = {}, bool down = true,
                 bool wholeWord = false, bool matchCase = false) {
        finder.Options = {platform::DecodeUtf8(find),
                          platform::DecodeUtf8(replace),
                          down,
                          wholeWord,
                          matchCase,
                          true};
    }
    // Find Next: the whole-text offset and text selected, or the message shown.
    std::string Find() {
        try {
            finder.FindDialog1Find();
        } catch (const EAbort&) {
            return questions.asked.empty() ? "abort" : questions.asked.back().text;
        }
        return "at " + std::to_string(ed.SelStart() - 1) + " " + Selected();
    }
    Names ReplaceAll(const Names& lines, const std::string& find, const std::string& replace,
                     bool wholeWord = false, bool matchCase = false) {
        Load(lines);
        Options(find, replace, true, wholeWord, matchCase);
        finder.ReplaceAll();
        return Lines();
    }
};

} // namespace

TEST_F(RegexTest, ReplaceAllExpandsGroupsAndCaseChanges) {
    struct Row {
        const char *find, *replace, *before, *after;
    };
    const Row rows[] = {
        {R"(^(\d+) - (.+) - (.+)$)", R"(\1 - \3 - \2)", "01 - Title - Artist",
         "01 - Artist - Title"},
        {R"(^(\d+) - (.+) - (.+)$)", "$1 - $3 - $2", "02 - A - B", "02 - B - A"},
        {"b+", R"([\0|$0])", "abbc", "a[bb|bb]c"},
        {"a", R"(\\$$\x$)", "a", R"(\$\x$)"},
        {"(a)|(b)", R"(<\1\2\7>)", "ab", "<a><b>"}, // unset and missing groups give nothing
        {R"((\w+) (\w+))", R"(\U\1\E \L\2)", "mixed Case", "MIXED case"},
        {R"((\w+))", R"(\Ux\1)", "ёлка", "XЁЛКА"},
        {R"(\s*\(live\))", "", "Song (Live)", "Song"},
        {"o", "0", "Foo boo", "F00 b00"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.find);
        EXPECT_EQ(ReplaceAll({r.before, "+"}, r.find, r.replace), (Names{r.after, "+"}));
    }
}

TEST_F(RegexTest, EmptyMatchesAdvanceAndNeverSpanLines) {
    EXPECT_EQ(ReplaceAll({"a", "b"}, "^", "01 - "), (Names{"01 - a", "01 - b"}));
    EXPECT_EQ(ReplaceAll({"abc"}, "x*", "-"), (Names{"-a-b-c-"}));
    EXPECT_EQ(ReplaceAll({"ab", ""}, "b*", "-"), (Names{"-a--", "-"}));
    // Nothing reaches over a line break, however the pattern is written.
    EXPECT_EQ(ReplaceAll({"one", "two", "three"}, R"([\s\S]+|\R|\n)", "x"), (Names{"x", "x", "x"}));
    EXPECT_EQ(ReplaceAll({"one", "two"}, "e$", "E"), (Names{"onE", "two"}));

    // Find Next over empty matches moves on each time instead of staying at the caret.
    Load({"ab", "cd"});
    Options("^");
    CaretAt(0);
    EXPECT_EQ(Find(), "at 4 ");
    EXPECT_EQ(Find(), "Could not find search text \"^\"");
    Options("^", {}, false);
    EXPECT_EQ(Find(), "at 0 ");
    EXPECT_EQ(Find(), "Could not find search text \"^\"");
}

TEST_F(RegexTest, FindFollowsTheDirectionAndWholeMatches) {
    Load({"alpha beta", "gamma"});
    Options(R"(\w+)");
    CaretAt(0);
    EXPECT_EQ(Find(), "at 0 alpha");
    EXPECT_EQ(Find(), "at 6 beta"); // on from the end of "alpha", not inside it
    EXPECT_EQ(Find(), "at 12 gamma");
    Options(R"(\w+)", {}, false);
    EXPECT_EQ(Find(), "at 6 beta");
    EXPECT_EQ(Find(), "at 0 alpha");
    CaretAt(8); // inside "beta": the match before the caret as a walk of the line finds them
    EXPECT_EQ(Find(), "at 0 alpha");

    // Match case and Whole word shape the pattern itself.
    Load({"xcat Cat cat"});
    Options("cat", {}, true, false, true);
    CaretAt(0);
    EXPECT_EQ(Find(), "at 1 cat");
    Options("cat", {}, true, true, false);
    CaretAt(0);
    EXPECT_EQ(Find(), "at 5 Cat");
    Options("cat", {}, true, true, true);
    CaretAt(0);
    EXPECT_EQ(Find(), "at 9 cat");
    EXPECT_EQ(ReplaceAll({"abc ab"}, "ab|abc", "X", true), (Names{"X X"}));
}

TEST_F(RegexTest, NonLatinTextAndTheListsStandIns) {
    // Case folding and word characters are Unicode's; a character beyond 16 bits counts one.
    Load({"\xf0\x9f\x8e\xb5 Ёлка", "котик кот"});
    Options("ёЛКА");
    CaretAt(0);
    EXPECT_EQ(Find(), "at 2 Ёлка");
    Options("кот", {}, true, true);
    EXPECT_EQ(Find(), "at 14 кот");
    EXPECT_EQ(ReplaceAll({"Ωμέγα - Άλφα"}, R"((\w+) - (\w+))", R"(\2 - \U\1)"),
              (Names{"Άλφα - ΩΜΈΓΑ"}));

    // A name's line break and tab are shown as ordinary characters, not as white space.
    EXPECT_EQ(ReplaceAll({"a↵b→c", "d"}, R"(\s|\t)", "_"), (Names{"a↵b→c", "d"}));
    EXPECT_EQ(ReplaceAll({"a↵b→c", "d"}, "↵|→", " "), (Names{"a b c", "d"}));
    EXPECT_EQ(ReplaceAll({"a↵b"}, "^(.*)$", "[\\1]"), (Names{"[a↵b]"}));

    // Bytes that are not UTF-8 are characters like any other and come back unchanged.
    EXPECT_EQ(ReplaceAll({"Caf\xe9 - Live\xff"}, "^(.*) - (.*)$", R"(\2 - \1)"),
              (Names{"Live\xff - Caf\xe9"}));
}

TEST_F(RegexTest, AnInvalidPatternOnlyShowsTheEnginesMessage) {
    Load({"a(b"});
    Select(1, 1);
    for (int command = 0; command < 3; ++command) {
        SCOPED_TRACE(command);
        Options("a(b", "x");
        const std::string message = test::ThrownMessage<platform::Exception>([&] {
            if (command == 0) finder.FindDialog1Find();
            if (command == 1) finder.ReplaceDialog1Replace(false);
            if (command == 2) finder.ReplaceDialog1Replace(true);
        });
        EXPECT_EQ(message, "Invalid regular expression: missing closing parenthesis (at "
                           "character 4).");
        EXPECT_EQ(Lines(), Names{"a(b"});
        EXPECT_EQ(Selected(), "(");
        EXPECT_FALSE(ed.Modified());
    }
    Options("a)(?x)#", "x");
    EXPECT_EQ(test::ThrownMessage<platform::Exception>([&] { finder.ReplaceAll(); }),
              "Invalid regular expression: unmatched closing parenthesis (at character 2).");
    Options("*", "x", true, true); // the whole-word wrapping does not hide the error either
    EXPECT_EQ(test::ThrownMessage<platform::Exception>([&] { finder.ReplaceAll(); }),
              "Invalid regular expression: quantifier does not follow a repeatable item (at "
              "character 1).");
    EXPECT_TRUE(questions.asked.empty());
}

TEST_F(RegexTest, ReplaceTakesOnlyAWholeMatchAndReplaceAllIsOneUndoStep) {
    Load({"10 - b", "20 - d"});
    Options(R"((\d)0)", R"(\1)");
    finder.ReplaceDialog1Replace(false); // nothing selected: finds, then replaces
    EXPECT_EQ(Lines(), (Names{"1 - b", "20 - d"}));
    EXPECT_EQ(Selected(), "1");
    EXPECT_FALSE(finder.ReplaceOne()); // "1" is no match of the pattern
    Select(7, 1);                      // "2": a match would go on to "20"
    EXPECT_FALSE(finder.ReplaceOne());
    Select(7, 2);
    EXPECT_TRUE(finder.ReplaceOne());
    EXPECT_EQ(Lines(), (Names{"1 - b", "2 - d"}));

    // An empty match is replaced too: a prefix for one line.
    Options("^", "> ");
    CaretAt(3);
    finder.ReplaceDialog1Replace(false);
    EXPECT_EQ(Lines(), (Names{"1 - b", "> 2 - d"}));

    // Replace All covers the whole text, whatever the caret and the direction.
    Load({"a1", "b2", "c"});
    Options(R"(\d)", "#");
    CaretAt(11);
    finder.ReplaceDialog1Replace(true);
    EXPECT_EQ(Lines(), (Names{"a#", "b#", "c"}));
    EXPECT_TRUE(ed.Modified());
    ed.Undo();
    EXPECT_EQ(Lines(), (Names{"a1", "b2", "c"}));
    Options("z", "#");
    EXPECT_THROW(finder.ReplaceDialog1Replace(true), EAbort);
    EXPECT_EQ(questions.asked.back().text, "Could not find search text \"z\"");
}

TEST_F(RegexTest, ALongReplaceAllShowsItsProgress) {
    Names lines(3000, "track");
    Load(lines);
    test::RecordingStatus status;
    finder.Status = &status;
    finder.ProgressAfter = std::chrono::hours(1);
    Options("^t", "T");
    EXPECT_EQ(finder.ReplaceAll(), 3000);
    EXPECT_TRUE(status.texts.empty()); // done in time: nothing to say
    finder.ProgressAfter = std::chrono::milliseconds(0);
    Options("^T", "t");
    EXPECT_EQ(finder.ReplaceAll(), 3000);
    EXPECT_EQ(status.texts,
              (Names{"Replace All: 34% of 3000 lines", "Replace All: 68% of 3000 lines",
                     "Replace All: 3000 replaced"}));
    EXPECT_EQ(Lines(), lines);
}
