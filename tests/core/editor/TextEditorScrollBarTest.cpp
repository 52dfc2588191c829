// Scroll-bar actions on the editor's bars: where each leads and whether the view follows.
#include "core/editor/CustomTextEditor.h"

#include <gtest/gtest.h>
#include <string>

using namespace velmora::editor;

TEST(TextEditorScrollBarTest, ActionsLeadToClampedPositionsAndTheViewFollows) {
    // 25 rows in the windowless 25-row window would not scroll: use 60 rows.
    CustomTextEditor ed;
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "row " + std::to_string(i) + "\n";
    ed.Lines().SetTextStr(text);
    ASSERT_EQ(ed.VisibleRowCount(), 25);
    int scrolls = 0;
    ed.OnScroll = [&](CustomTextEditor&) { ++scrolls; };
    struct Step {
        ScrollCode code;
        int track; // the thumb on screen
        int top;   // the view's top row afterwards
        int scrolls;
    };
    const Step steps[] = {
        {ScrollCode::scLineDown, 0, 1, 1},
        {ScrollCode::scPageDown, 0, 25, 2},
        {ScrollCode::scPageDown, 0, 35, 3}, // capped at Max - LargeChange
        {ScrollCode::scLineDown, 0, 35, 3}, // nowhere to go: no report
        {ScrollCode::scThumbTrack, 12, 12, 4},
        {ScrollCode::scThumbPosition, 12, 12, 4}, // the release settles only the bar
        {ScrollCode::scThumbTrack, 99, 35, 5},
        {ScrollCode::scTop, 0, 0, 6},
        {ScrollCode::scBottom, 0, 35, 7},
        {ScrollCode::scPageUp, 0, 11, 8},
        {ScrollCode::scEndScroll, 30, 11, 8},
        {ScrollCode::scLineUp, 0, 10, 9},
    };
    for (const Step& s : steps) {
        ed.ScrollBarAction(true, s.code, s.track);
        EXPECT_EQ(ed.TopRow(), s.top) << static_cast<int>(s.code);
        EXPECT_EQ(ed.VertBar().Position(), s.top) << static_cast<int>(s.code);
        EXPECT_EQ(scrolls, s.scrolls) << static_cast<int>(s.code);
    }
    // The wheel moves the view by the given lines and leaves the caret.
    ed.MouseWheel(true, 3);
    EXPECT_EQ(ed.TopRow(), 13);
    ed.MouseWheel(false, 30);
    EXPECT_EQ(ed.TopRow(), 0);
    EXPECT_EQ(ed.CaretY(), 0);
}
