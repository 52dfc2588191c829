// What an edited line renames a real file to: the characters shown for tabs and line breaks, a
// pasted NUL, and a line emptied while extensions are left out.
#include "core/editor/Clipboard.h"
#include "core/platform/Utf8.h"
#include "core/workspace/EditorNamesPane.h"
#include "core/workspace/FindReplace.h"
#include "core/workspace/LineNumbering.h"
#include "core/workspace/NameCommands.h"
#include "core/workspace/NameLine.h"
#include "core/workspace/Workspace.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <set>

using namespace velmora;
using platform::ModalResult;
using Names = std::set<std::string>;

namespace {

struct OtherProgramsClipboard : editor::Clipboard {
    std::u32string text;
    std::u32string GetText() override { return text; }
    void SetText(const std::u32string& t) override { text = t; }
};

struct EditedNames : ::testing::Test {
    test::TempDir dir;
    platform::StringList left;
    editor::CustomTextEditor names;
    workspace::EditorNamesPane right{names};
    test::ScriptedQuestions questions;
    test::RecordingStatus status;
    bool excludeExt = false;
    std::string selected;
    workspace::Workspace ws{left,
                            right,
                            questions,
                            status,
                            {[this] { return selected; }, [] { return std::string("*.*"); },
                             [this] { return excludeExt; }, nullptr, nullptr}};

    EditedNames() {
        names.SetWordWrap(false);
        names.CursorBeyondEOF = true;
        names.CursorBeyondEOL = false;
        selected = dir.Path();
    }
    std::string folder;
    // A fresh folder holding names (each file holds its own name), listed.
    void List(const std::string& name, const Names& files) {
        folder = name;
        std::filesystem::create_directory(dir / folder);
        for (const std::string& f : files)
            dir.Write(folder + "/" + f, f);
        selected = dir / folder;
        ws.LoadFileList();
    }
    Names OnDisk() const {
        Names found;
        for (const auto& e : std::filesystem::directory_iterator(selected))
            found.insert(e.path().filename().string());
        return found;
    }
    int LineOf(const std::string& line) {
        for (int i = 0; i < right.Lines().Count(); ++i)
            if (right.Lines().Get(i) == line) return i;
        ADD_FAILURE() << "no line " << line;
        return 0;
    }
};

// U+2409, U+240A and U+240D: the pictures for tab, line feed and carriage return.
const std::string kTab = "\xE2\x90\x89", kLf = "\xE2\x90\x8A", kCr = "\xE2\x90\x8D";

} // namespace

TEST(NameLine, PicturesStandForExactlyTheirCharacters) {
    using workspace::NameLine;
    const std::string name = "a\tb\nc\r\nd\xE2\x90.mp3"; // and a cut-off picture lead
    EXPECT_EQ(NameLine::OneLine(name), "a" + kTab + "b" + kLf + "c" + kCr + kLf + "d\xE2\x90.mp3");
    EXPECT_EQ(NameLine::FileName(NameLine::OneLine(name)), name);
    EXPECT_EQ(NameLine::FileName("\xE2\x90\x80 " + kTab + "\xE2\x90\xA4\xE2\x90"),
              "\xE2\x90\x80 \t\xE2\x90\xA4\xE2\x90"); // other pictures stay
    EXPECT_EQ(NameLine::Of("x\ty.tab\tz", true), "x" + kTab + "y");
}

// Every command that edits lines keeps the pictures, and Apply turns them back into the tab and
// the line breaks they stand for.
TEST_F(EditedNames, PicturesBecomeTabsAndLineBreaksAgainWhateverEditedTheLine) {
    using workspace::NameCommands;
    const auto all = [this](void (*command)(editor::CustomTextEditor&)) {
        return [this, command] {
            names.SelectAll();
            command(names);
        };
    };
    const auto replaceAll = [this](std::u32string find, std::u32string by) {
        return [this, find, by] {
            workspace::FindReplace finder(names, questions);
            finder.Options.FindText = find;
            finder.Options.ReplaceText = by;
            finder.ReplaceAll();
        };
    };
    const auto typeHash = [this] {
        for (int row = 0; row < 3; ++row) {
            names.SetCaret(0, row);
            names.TypeChar(U'#');
        }
    };
    const struct {
        const char* what;
        bool excludeExt;
        std::function<void()> edit;
        std::vector<std::string> expected; // for the names of files
    } cases[] = {
        {"typing", false, typeHash, {"#a\tb c.mp3", "#d\ne.mp3", "#F\r\nG.mp3"}},
        {"UPPERCASE",
         false,
         all(NameCommands::UpperCase),
         {"A\tB C.MP3", "D\nE.MP3", "F\r\nG.MP3"}},
        {"UPPERCASE, no extensions",
         true,
         all(NameCommands::UpperCase),
         {"A\tB C.mp3", "D\nE.mp3", "F\r\nG.mp3"}},
        {"lowercase",
         false,
         all(NameCommands::LowerCase),
         {"a\tb c.mp3", "d\ne.mp3", "f\r\ng.mp3"}},
        // The tab's picture separates words as the tab does.
        {"Capitalize",
         false,
         all(NameCommands::Capitalize),
         {"A\tB C.Mp3", "D\ne.Mp3", "F\r\nG.Mp3"}},
        {"Number Lines",
         false,
         [this] { workspace::LineNumbering("1", "1", "2", " - ").Apply(names); },
         {"01 - a\tb c.mp3", "02 - d\ne.mp3", "03 - F\r\nG.mp3"}},
        {"Replace All",
         false,
         replaceAll(U".mp3", U".ogg"),
         {"a\tb c.ogg", "d\ne.ogg", "F\r\nG.ogg"}},
        {"Replace All of a picture",
         false,
         replaceAll(U"\u2409", U" "),
         {"a b c.mp3", "d\ne.mp3", "F\r\nG.mp3"}},
    };
    const std::vector<std::string> files = {"a\tb c.mp3", "d\ne.mp3", "F\r\nG.mp3"};
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        excludeExt = c.excludeExt;
        List("f" + std::to_string(round++), Names(files.begin(), files.end()));
        c.edit();
        ws.ApplyRenames();
        EXPECT_TRUE(questions.asked.empty());
        EXPECT_EQ(OnDisk(), Names(c.expected.begin(), c.expected.end()));
        for (std::size_t i = 0; i < files.size(); ++i) // each file holds its old name
            EXPECT_EQ(dir.Read(folder + "/" + c.expected[i]), files[i]);
    }
}

// Clipboard text ends at a NUL: the line shows what the file is renamed to.
TEST_F(EditedNames, PastedTextEndsAtANul) {
    OtherProgramsClipboard clipboard;
    names.SetClipboard(&clipboard);
    List("paste", {"song.mp3"});
    clipboard.text = std::u32string(U"ab\0cd.mp3", 9);
    names.SelectAll();
    names.ClipboardPaste();
    EXPECT_EQ(right.Lines().Get(0), "ab");
    EXPECT_EQ(names.Text(), "ab\r\n");
    ws.ApplyRenames();
    EXPECT_EQ(OnDisk(), (Names{"ab"}));

    // A NUL that reached a line some other way names no file: the failure question, not a
    // rename to the part before it.
    ws.LoadFileList();
    right.Lines().Put(0, std::string("cd\0ef.mp3", 9));
    questions.Answer(ModalResult::mrYes);
    ws.ApplyRenames();
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(questions.asked[0].text.rfind("Failed to rename \"" + dir / "paste/ab\" to ", 0), 0u)
        << questions.asked[0].text;
    EXPECT_EQ(OnDisk(), (Names{"ab"}));
}

// With extensions left out, an emptied line is still an empty name: it fails as it does with
// them shown instead of hiding the file as ".flac". A name may begin with "." only when its line
// does.
TEST_F(EditedNames, AnEmptiedLineNeverHidesTheFileBehindItsExtension) {
    for (const bool exclude : {true, false}) {
        SCOPED_TRACE(exclude);
        excludeExt = exclude;
        List(exclude ? "without" : "with", {"song.flac", "intro.mp3", "outro.mp3"});
        std::filesystem::create_directory(dir / (folder + "/sub"));
        const std::string ext = exclude ? "" : ".mp3";
        right.Lines().Put(LineOf(exclude ? "song" : "song.flac"), "");
        right.Lines().Put(LineOf("intro" + ext), "sub/");
        right.Lines().Put(LineOf("outro" + ext), ".outro" + ext);
        questions.asked.clear();
        questions.Answer(ModalResult::mrYes);
        questions.Answer(ModalResult::mrYes);
        ws.ApplyRenames();
        ASSERT_EQ(questions.asked.size(), 2u);
        const std::string path = dir / folder;
        EXPECT_EQ(questions.asked[0].text, "Failed to rename \"" + path + "/intro.mp3\" to \"" +
                                               path + "/sub/\".\nIgnore this error?");
        EXPECT_EQ(questions.asked[1].text, "Failed to rename \"" + path + "/song.flac\" to \"" +
                                               path + "/\".\nIgnore this error?");
        EXPECT_EQ(OnDisk(), (Names{"song.flac", "intro.mp3", ".outro.mp3", "sub"}));
        EXPECT_TRUE(std::filesystem::is_empty(path + "/sub"));
    }
    // The whole pane emptied, one listed file: the same failure.
    excludeExt = true;
    List("emptied", {"only.flac"});
    right.Lines().Clear();
    questions.asked.clear();
    questions.Answer(ModalResult::mrYes);
    ws.ApplyRenames();
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(OnDisk(), (Names{"only.flac"}));
}
