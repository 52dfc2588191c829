// The command codes are stored in macros and named by key bindings, so their numbers are pinned.
#include "core/editor/EditorCommands.h"

#include <gtest/gtest.h>
#include <type_traits>
#include <utility>

using namespace velmora::editor;

static_assert(std::is_same_v<std::underlying_type_t<Command>, std::uint16_t>);

TEST(KeyboardCommandCodes, NamedCodesKeepTheirNumbers) {
    const std::pair<Command, int> pinned[] = {
        {cmdChar, 0},
        {cmdWideCharEscape, 256},
        {cmdLeft, 257},
        {cmdUp, 258},
        {cmdRight, 259},
        {cmdDown, 260},
        {cmdSelLeft, 265},
        {cmdSelUp, 266},
        {cmdSelRight, 267},
        {cmdSelDown, 268},
        {cmdWordLeft, 269},
        {cmdWordRight, 270},
        {cmdSelWordLeft, 271},
        {cmdSelWordRight, 272},
        {cmdSelectWord, 273},
        {cmdWindowTop, 274},
        {cmdWindowBottom, 275},
        {cmdPageUp, 276},
        {cmdPageDown, 277},
        {cmdSelPageUp, 278},
        {cmdSelPageDown, 279},
        {cmdLineStart, 280},
        {cmdLineEnd, 281},
        {cmdDocStart, 282},
        {cmdDocEnd, 283},
        {cmdSelLineStart, 284},
        {cmdSelLineEnd, 285},
        {cmdSelDocStart, 286},
        {cmdSelDocEnd, 287},
        {cmdSelectAll, 288},
        {cmdScrollLineUp, 289},
        {cmdScrollLineDown, 290},
        {cmdNewLine, 357},
        {cmdBackspace, 358},
        {cmdDeleteChar, 359},
        {cmdToggleInsertMode, 360},
        {cmdTab, 361},
        {cmdBackTab, 362},
        {cmdIndentBlock, 363},
        {cmdUnindentBlock, 364},
        {cmdDeleteSelection, 367},
        {cmdCopy, 368},
        {cmdCut, 369},
        {cmdPaste, 370},
        {cmdDeleteLine, 371},
        {cmdDeleteWordRight, 372},
        {cmdUpperCase, 373},
        {cmdLowerCase, 374},
        {cmdToggleCase, 375},
        {cmdUndo, 376},
        {cmdRedo, 377},
        {cmdBeginCompound, 378},
        {cmdEndCompound, 379},
        {cmdBeginUpdate, 380},
        {cmdEndUpdate, 381},
        {cmdCompleteIdentifier, 402},
        {cmdCompleteTemplate, 403},
        {cmdRecordMacro, 404},
        {cmdPlayMacro, 405},
        {cmdSaveBlock, 408},
        {cmdInsertBlock, 409},
        {cmdDeleteWordLeft, 472},
        {cmdScrollPageUp, 473},
        {cmdScrollPageDown, 474},
        {cmdSequenceStart, 0xFFFF},
    };
    for (const auto& [command, number] : pinned)
        EXPECT_EQ(static_cast<int>(command), number);
}

TEST(KeyboardCommandCodes, NumberedFamiliesMapIndexToCodeAndBack) {
    struct Family {
        Command (*code)(int);
        int (*index)(std::uint16_t);
        int first, count;
    };
    const Family families[] = {
        {SetBookmarkCommand, SetBookmarkIndex, 382, 10},
        {GotoBookmarkCommand, GotoBookmarkIndex, 392, 10},
        {InsertMacroCommand, InsertMacroIndex, 410, 36},
        {BlockOperationCommand, BlockOperationIndex, 446, 26},
    };
    for (const Family& f : families) {
        for (int n = 0; n < f.count; ++n) {
            EXPECT_EQ(f.code(n), f.first + n);
            EXPECT_EQ(f.index(f.code(n)), n);
        }
        // The neighbours on both sides belong to other commands.
        EXPECT_EQ(f.index(static_cast<std::uint16_t>(f.first - 1)), -1);
        EXPECT_EQ(f.index(static_cast<std::uint16_t>(f.first + f.count)), -1);
    }
    EXPECT_EQ(cmdSetBookmark9, 391);
    EXPECT_EQ(cmdGotoBookmark9, 401);
    EXPECT_EQ(cmdInsertMacro35, 445);
    EXPECT_EQ(cmdBlockOperation25, 471);
    EXPECT_EQ(BlockOperationIndex(cmdSequenceStart), -1);
}

TEST(KeyboardCommandCodes, OnlyTheFirst256CodesTypeCharacters) {
    EXPECT_TRUE(IsCharCommand(0));
    EXPECT_TRUE(IsCharCommand(255));
    EXPECT_FALSE(IsCharCommand(cmdWideCharEscape));
    EXPECT_FALSE(IsCharCommand(cmdLeft));
    EXPECT_FALSE(IsCharCommand(cmdSequenceStart));
}
