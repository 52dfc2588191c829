// Brackets (update lock, undo groups, playback) close however the code inside them ends.
#include "EditorTestSupport.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/ScopeExit.h"
#include "core/platform/Error.h"

#include <stdexcept>

using namespace velmora::editor;
using namespace velmora::editor::test;

namespace {

struct HandlerFault : std::runtime_error {
    HandlerFault() : std::runtime_error("handler") {}
};

using Guards = EditorFixture<>;

void ExpectBalanced(const CustomTextEditor& ed) {
    EXPECT_EQ(ed.UpdateLock(), 0);
    EXPECT_EQ(ed.CompoundDepth(), 0);
}

} // namespace

TEST_F(Guards, AFailingHandlerLeavesNoLockOrOpenGroupBehind) {
    LoadAt("abcd", 1, 0);
    ed.OnTextInsert = [](CustomTextEditor&, std::u32string&) { throw HandlerFault(); };
    EXPECT_THROW(ed.InsertText(U"x"), HandlerFault);
    ExpectBalanced(ed);
    EXPECT_EQ(ed.Text(), "abcd\r\n");
    ed.OnTextInsert = nullptr;

    // Inside a selection replacement the change notification fails after the text went in.
    ed.SetSelStart(2);
    ed.SetSelLength(2);
    int changes = 0;
    ed.OnChange = [&](CustomTextEditor&) {
        if (++changes == 2) throw HandlerFault();
    };
    EXPECT_THROW(ed.ReplaceSelection(U"XY"), HandlerFault);
    ExpectBalanced(ed);
    ed.OnChange = nullptr;
    // The group it opened was closed: one undo takes the whole replacement back.
    ed.InsertAtCaret(U"z");
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "aXYd\r\n");
    Run(cmdUndo);
    EXPECT_EQ(ed.Text(), "abcd\r\n");
}

TEST_F(Guards, AFailedLoadAndAFailingPlaybackUnlock) {
    Load(ed, "ab");
    EXPECT_THROW(ed.Lines().LoadFromFile("/nonexistent/velmora/names.txt"),
                 velmora::platform::EFOpenError);
    ExpectBalanced(ed);

    Run(cmdRecordMacro);
    Run({'x', cmdRecordMacro});
    int changes = 0;
    ed.OnChange = [&](CustomTextEditor&) {
        if (++changes == 1) throw HandlerFault();
    };
    EXPECT_THROW(Run(cmdPlayMacro), HandlerFault);
    ExpectBalanced(ed);
    // Playback is over, so the next one plays instead of being taken for a nested one.
    const std::string before = ed.Text();
    Run(cmdPlayMacro);
    EXPECT_EQ(ed.Text().size(), before.size() + 1);
}

TEST(ScopeExit, RunsOnBothWaysOutAndKeepsTheFirstError) {
    int closed = 0;
    {
        ScopeExit close([&] { ++closed; });
    }
    EXPECT_EQ(closed, 1);
    try {
        ScopeExit close([&] {
            ++closed;
            throw std::logic_error("second");
        });
        throw std::runtime_error("first");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "first");
    }
    EXPECT_EQ(closed, 2);
    // Leaving normally, the closing action's own error is the caller's to see.
    EXPECT_THROW({ ScopeExit close([] { throw std::logic_error("close"); }); }, std::logic_error);
}
