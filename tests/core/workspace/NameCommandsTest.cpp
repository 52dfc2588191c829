// Number Lines, the case commands and the macro recorder on the names editor model.
#include "core/workspace/NameCommands.h"

#include "NamesEditorSupport.h"
#include "core/editor/EditorCommands.h"
#include "core/workspace/EditorNamesPane.h"
#include "core/workspace/LineNumbering.h"
#include "core/workspace/Workspace.h"
#include "support/ScriptedQuestions.h"

using namespace velmora;
using test::ThrownMessage;
using workspace::LineNumbering;
using workspace::NameCommands;

namespace {

using Names = std::vector<std::string>;
using NumberLines = test::NamesEditor;
using CaseCommands = test::NamesEditor;
using MacroRecorder = test::NamesEditor;

} // namespace

TEST_F(NumberLines, FormatsByStartStepDigitsAndSeparator) {
    struct Row {
        const char *start, *step, *digits, *sep;
        Names expected; // for the lines a, b, c
    };
    const Row rows[] = {
        {"1", "1", "2", " - ", {"01 - a", "02 - b", "03 - c"}},
        {"0", "5", "0", "_", {"0_a", "5_b", "10_c"}},
        {"1", "1", "1", " - ", {"1 - a", "2 - b", "3 - c"}},
        {"7", "1", "3", "-", {"007-a", "008-b", "009-c"}},
        {"-2", "1", "3", " ", {"-002 a", "-001 b", "000 c"}},  // the sign before the zeros
        {"98", "1", "2", "", {"98a", "99b", "100c"}},          // wider numbers whole
        {" 5", "-5", "03", ".", {"005.a", "000.b", "-005.c"}}, // blanks, signs, zeros typed
        {"1", "1", "-4", " - ", {"1 - a", "2 - b", "3 - c"}},  // below two: plain
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.start << "/" << r.step << "/" << r.digits);
        Load({"a", "b", "c"});
        LineNumbering(r.start, r.step, r.digits, r.sep).Apply(ed);
        EXPECT_EQ(Lines(), r.expected);
    }
}

TEST_F(NumberLines, NumbersEveryLineTwiceInARowAndNothingInAnEmptyList) {
    Names letters;
    for (int i = 0; i < 120; ++i)
        letters.push_back(std::string(1, static_cast<char>('a' + i % 26)));
    Load(letters);
    ed.SetCaret(0, 119);
    const LineNumbering numbering("1", "1", "2", " - ");
    numbering.Apply(ed);
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 120u);
    EXPECT_EQ(lines[10], "11 - k");
    EXPECT_EQ(lines[99], "100 - v");
    EXPECT_EQ(lines[119], "120 - p");
    numbering.Apply(ed);
    EXPECT_EQ(Lines()[0], "01 - 01 - a");

    Load({});
    numbering.Apply(ed);
    EXPECT_EQ(ed.Lines().Count(), 0);
    EXPECT_FALSE(ed.Modified());
    EXPECT_EQ(ed.UndoList().Count(), 0);
}

TEST_F(NumberLines, BadTextsFailWithTheConversionErrorAndChangeNothing) {
    struct Row {
        const char *start, *step, *digits, *message;
    };
    const Row rows[] = {
        {"x", "1", "2", "'x' is not a valid integer value"},
        {"1", "1.5", "2", "'1.5' is not a valid integer value"},
        {"1", "", "2", "'' is not a valid integer value"},
        {"1", "1", "2 ", "'2 ' is not a valid integer value"},
        {"2147483648", "1", "2", "'2147483648' is not a valid integer value"},
        {"-", "1", "2", "'-' is not a valid integer value"},
        // Digits that convert but cannot stand in the format.
        {"1", "1", " 3", "Format '%. 3d' invalid or incompatible with argument"},
        {"1", "1", "+3", "Format '%.+3d' invalid or incompatible with argument"},
        {"1", "1", "256", "Format '%.256d' invalid or incompatible with argument"},
    };
    for (const Row& r : rows) {
        Load({"a"});
        EXPECT_EQ(ThrownMessage<platform::EConvertError>(
                      [&] { LineNumbering(r.start, r.step, r.digits, " - ").Apply(ed); }),
                  r.message);
        EXPECT_EQ(Lines(), Names{"a"});
    }
    EXPECT_EQ(LineNumbering("-2147483648", "+1", "255", "").Format(-1).size(), 256u);
}

TEST_F(NumberLines, IsOneUndoStepAndMakesTheWorkspaceAsk) {
    Load({"a", "b"});
    workspace::EditorNamesPane pane(ed);
    platform::StringList left;
    test::ScriptedQuestions questions;
    test::RecordingStatus status;
    workspace::Workspace ws(left, pane, questions, status, {});

    LineNumbering("1", "1", "2", " - ").Apply(ed);
    LineNumbering("1", "1", "1", "_").Apply(ed);
    EXPECT_EQ(Lines(), (Names{"1_01 - a", "2_02 - b"}));
    EXPECT_TRUE(ed.Modified());
    questions.Answer(platform::ModalResult::mrCancel);
    EXPECT_EQ(ws.AskApplyChanges(), platform::ModalResult::mrCancel);
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(questions.asked[0].text, "Would you like to apply the changes?");

    ed.Undo();
    EXPECT_EQ(Lines(), (Names{"01 - a", "02 - b"}));
    ed.Undo();
    EXPECT_EQ(Lines(), (Names{"a", "b"}));
}

TEST_F(CaseCommands, ChangeEveryLetterOfTheSelectionAsOneStep) {
    struct Row {
        void (*command)(editor::CustomTextEditor&);
        const char *text, *expected;
    };
    const Row rows[] = {
        {&NameCommands::UpperCase, "\xc3\xa9t\xc3\xa9.mp3", "\xc3\x89T\xc3\x89.MP3"}, // été
        {&NameCommands::LowerCase, "\xc3\x89T\xc3\x89 \xce\xa3\xce\x9f.MP3",
         "\xc3\xa9t\xc3\xa9 \xcf\x83\xce\xbf.mp3"}, // ÉTÉ ΣΟ -> été σο
        {&NameCommands::Capitalize, "01 - my song (live).mp3", "01 - My Song (Live).Mp3"},
        {&NameCommands::Capitalize, "hello world", "Hello World"},
        {&NameCommands::Capitalize, "rock_and roll", "Rock_And Roll"},
        {&NameCommands::Capitalize, "a b+c,d/e:f;g[h\\i]j{k}l", "A B+C,D/E:F;G[H\\I]J{K}L"},
        {&NameCommands::Capitalize, "x -- \xc3\xa9lan!x",
         "X -- \xc3\x89lan!x"}, // runs; "!" is none
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        Load({r.text, "next"});
        const int length = static_cast<int>(platform::DecodeUtf8(r.text).size());
        Select(0, length);
        r.command(ed);
        EXPECT_EQ(Lines()[0], r.expected);
        EXPECT_EQ(Selected(), r.expected); // the new text stays selected
        EXPECT_TRUE(ed.Modified());
        ed.Undo();
        EXPECT_EQ(Lines()[0], r.text);
    }
    // The store expands tabs; the tab is a separator all the same.
    EXPECT_EQ(NameCommands::CapitalizeText(U"a\tb\r\nc"), U"A\tB\r\nC");
    EXPECT_EQ(NameCommands::CapitalizeText(U"llo world", false), U"llo World");
}

TEST_F(CaseCommands, CapitalizeStartsEveryLineAndNoWordInTheMiddleAndNothingWithoutSelection) {
    const struct {
        Names lines;
        int start, length;
        Names expected;
    } rows[] = {
        {{"a b", "c d"}, 0, 8, {"A B", "C D"}}, // "a b\r\nc d"
        // A selection starting inside a word leaves that word alone; one after a blank does not.
        {{"hello world"}, 2, 9, {"hello World"}},
        {{"hello world"}, 6, 5, {"hello World"}},
    };
    for (const auto& r : rows) {
        Load(r.lines);
        Select(r.start, r.length);
        NameCommands::Capitalize(ed);
        EXPECT_EQ(Lines(), r.expected) << r.start;
    }

    Load({"abc"});
    CaretAt(1);
    NameCommands::UpperCase(ed);
    NameCommands::Capitalize(ed);
    EXPECT_EQ(Lines(), Names{"abc"});
    EXPECT_FALSE(ed.Modified());
    EXPECT_EQ(ed.UndoList().Count(), 0);
}

TEST_F(MacroRecorder, RecordTwiceMakesTheTypingReplayable) {
    Load({"", ""});
    EXPECT_FALSE(NameCommands::Record(ed)); // starts
    EXPECT_TRUE(ed.Recording());
    ed.TypeChar(U'x');
    ed.TypeChar(U'\u00e9');
    EXPECT_TRUE(NameCommands::Record(ed)); // stops: Play becomes available
    ed.SetCaret(0, 1);
    ed.ExecuteCommand(editor::cmdPlayMacro);
    EXPECT_EQ(Lines(), (Names{"x\xc3\xa9", "x\xc3\xa9"}));
    EXPECT_FALSE(NameCommands::Record(ed));
    EXPECT_TRUE(NameCommands::Record(ed));
}

TEST_F(NumberLines, BreaksInTheSeparatorMakeNewLinesThatUndoTakesBack) {

    Load({"a", "b"});
    // A lone CR is stored as CR LF.
    for (const auto& [sep, expected] : {std::pair<const char*, Names>{"\r\n", {"1", "a", "2", "b"}},
                                        {"-\r", {"1-", "a", "2-", "b"}}}) {
        LineNumbering("1", "1", "0", sep).Apply(ed);
        EXPECT_EQ(Lines(), expected);
        ed.Undo();
        EXPECT_EQ(Lines(), (Names{"a", "b"}));
    }
}
