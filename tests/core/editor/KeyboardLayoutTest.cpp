// Command codes, the key map's lookups and the default layout: count, order, entries, sequences.
#include "core/editor/EditorCommands.h"
#include "core/editor/Keyboard.h"

#include <gtest/gtest.h>
#include <ostream>
#include <set>
#include <tuple>
#include <type_traits>

namespace velmora::editor {
void PrintTo(const EditKey& k, std::ostream* os) {
    *os << "{key1 " << k.Key1 << " shift1 " << int(k.Shift1) << " key2 " << k.Key2 << " shift2 "
        << int(k.Shift2) << " command " << k.Command << "}";
}
} // namespace velmora::editor

using namespace velmora::editor;

namespace {

constexpr ShiftState ssCtrlShift = ssCtrl | ssShift;

EditKey Single(std::uint16_t command, std::uint16_t key, ShiftState shift) {
    return EditKey{key, 0, shift, ssNone, command};
}

EditKey Sequence(std::uint16_t command, std::uint16_t key1, ShiftState shift1, std::uint16_t key2,
                 ShiftState shift2) {
    return EditKey{key1, key2, shift1, shift2, command};
}

// The default layout, loaded twice over an earlier binding: each load replaces everything.
class KeyboardDefaultLayout : public ::testing::Test {
protected:
    void SetUp() override {
        keys.Add(cmdUndo, LetterKey('A'), ssCtrl);
        keys.LoadDefaultLayout();
        keys.LoadDefaultLayout();
    }
    Keyboard keys;
};

} // namespace

// Macros store each command as two bytes.
static_assert(std::is_same_v<std::underlying_type_t<Command>, std::uint16_t>);

TEST(KeyboardCommandCodes, NumberedFamiliesMapIndexToCodeAndBackAndOnly256CodesType) {
    struct Family {
        Command (*code)(int);
        int (*index)(std::uint16_t);
        int first, count;
    };
    const Family families[] = {{SetBookmarkCommand, SetBookmarkIndex, 382, 10},
                               {GotoBookmarkCommand, GotoBookmarkIndex, 392, 10},
                               {InsertMacroCommand, InsertMacroIndex, 410, 36},
                               {BlockOperationCommand, BlockOperationIndex, 446, 26}};
    for (const Family& f : families) {
        SCOPED_TRACE(f.first);
        for (int n = 0; n < f.count; ++n) {
            EXPECT_EQ(f.code(n), f.first + n);
            EXPECT_EQ(f.index(f.code(n)), n);
        }
        // The neighbours on both sides belong to other commands.
        EXPECT_EQ(f.index(static_cast<std::uint16_t>(f.first - 1)), -1);
        EXPECT_EQ(f.index(static_cast<std::uint16_t>(f.first + f.count)), -1);
    }
    EXPECT_EQ(BlockOperationIndex(cmdSequenceStart), -1);
    for (std::uint16_t code : {0, 255})
        EXPECT_TRUE(IsCharCommand(code));
    for (std::uint16_t code : {256, 257, 0xFFFF})
        EXPECT_FALSE(IsCharCommand(code));
}

TEST(Keyboard, FirstMatchingEntryDecidesAndShiftStateMustMatchWhole) {
    Keyboard k;
    EXPECT_EQ(k.Lookup(vkLeft, ssNone), 0);
    k.Add(cmdCopy, LetterKey('C'), ssCtrl);
    k.Add(cmdCut, LetterKey('C'), ssCtrl); // hidden by the entry before it
    k.AddSequence(cmdUpperCase, LetterKey('K'), ssCtrl, LetterKey('O'), ssCtrl);
    k.Add(cmdPaste, LetterKey('K'), ssCtrl); // hidden by the sequence's first key
    EXPECT_EQ(k.Lookup(LetterKey('C'), ssCtrl), cmdCopy);
    EXPECT_EQ(k.Lookup(LetterKey('C'), ssCtrlShift), 0);
    EXPECT_EQ(k.Lookup(LetterKey('C'), ssNone), 0);
    EXPECT_EQ(k.Lookup(LetterKey('K'), ssCtrl), cmdSequenceStart);
    EXPECT_EQ(k.LookupSequence(LetterKey('K'), ssCtrl, LetterKey('O'), ssCtrl), cmdUpperCase);
    EXPECT_EQ(k.LookupSequence(LetterKey('K'), ssCtrl, LetterKey('O'), ssNone), 0);
    EXPECT_EQ(k.LookupSequence(LetterKey('K'), ssNone, LetterKey('O'), ssCtrl), 0);
    ASSERT_EQ(k.Count(), 4u);
    EXPECT_EQ(k[3], Single(cmdPaste, LetterKey('K'), ssCtrl));
    EXPECT_THROW(k[4], std::out_of_range);

    k.Clear();
    EXPECT_EQ(k.Count(), 0u);
    EXPECT_EQ(k.Lookup(LetterKey('C'), ssCtrl), 0);
}

TEST_F(KeyboardDefaultLayout, SegmentsFollowEachOtherInListOrder) {
    ASSERT_EQ(keys.Count(), 251u); // nothing left over from the earlier binding or first load
    const std::pair<std::size_t, EditKey> pinned[] = {
        {0, Single(cmdLeft, vkLeft, ssNone)},
        {10, Single(cmdDocStart, vkPageUp, ssCtrl)},
        {20, Single(cmdSelectAll, LetterKey('A'), ssCtrlShift)},
        {30, Single(cmdNewLine, vkEnter, ssNone)},
        {32, Single(cmdBackspace, vkBackspace, ssShift)},
        {35, Single(cmdTab, vkTab, ssNone)},
        {43, Single(cmdPaste, LetterKey('V'), ssCtrl)},
        {44, Single(cmdSetBookmark0, DigitKey(0), ssCtrlShift)},
        {63, Single(cmdGotoBookmark9, DigitKey(9), ssCtrl)},
        // Ctrl+K and Ctrl+Q digit families: plain digit first, then Ctrl+digit.
        {64, Sequence(cmdSetBookmark0, LetterKey('K'), ssCtrl, DigitKey(0), ssNone)},
        {65, Sequence(cmdSetBookmark0, LetterKey('K'), ssCtrl, DigitKey(0), ssCtrl)},
        {71, Sequence(cmdSetBookmark3, LetterKey('K'), ssCtrl, DigitKey(3), ssCtrl)},
        {83, Sequence(cmdSetBookmark9, LetterKey('K'), ssCtrl, DigitKey(9), ssCtrl)},
        {84, Sequence(cmdGotoBookmark0, LetterKey('Q'), ssCtrl, DigitKey(0), ssNone)},
        {103, Sequence(cmdGotoBookmark9, LetterKey('Q'), ssCtrl, DigitKey(9), ssCtrl)},
        // Ctrl+S family: Ctrl+key first, then the plain key; digits before letters.
        {104, Sequence(cmdInsertMacro0, LetterKey('S'), ssCtrl, DigitKey(0), ssCtrl)},
        {105, Sequence(cmdInsertMacro0, LetterKey('S'), ssCtrl, DigitKey(0), ssNone)},
        {124, Sequence(InsertMacroCommand(10), LetterKey('S'), ssCtrl, LetterKey('A'), ssCtrl)},
        {175, Sequence(cmdInsertMacro35, LetterKey('S'), ssCtrl, LetterKey('Z'), ssNone)},
        {176, Single(cmdUndo, LetterKey('Z'), ssCtrl)},
        {177, Single(cmdUndo, vkBackspace, ssAlt)},
        {179, Single(cmdCompleteTemplate, LetterKey('J'), ssCtrl)},
        {180, Sequence(cmdDocStart, LetterKey('Q'), ssCtrl, LetterKey('R'), ssNone)},
        {187, Sequence(cmdWindowBottom, LetterKey('Q'), ssCtrl, LetterKey('U'), ssNone)},
        {188, Single(cmdDeleteWordRight, LetterKey('T'), ssCtrl)},
        {190, Single(cmdDeleteLine, LetterKey('Y'), ssCtrl)},
        {191, Sequence(cmdSelectWord, LetterKey('K'), ssCtrl, LetterKey('T'), ssCtrl)},
        {194, Sequence(cmdToggleCase, LetterKey('O'), ssCtrl, LetterKey('U'), ssCtrl)},
        {196, Sequence(cmdSaveBlock, LetterKey('K'), ssCtrl, LetterKey('W'), ssCtrl)},
        {197, Single(cmdRecordMacro, LetterKey('R'), ssCtrlShift)},
        {198, Single(cmdPlayMacro, LetterKey('P'), ssCtrlShift)},
        // Ctrl+B family: Ctrl+letter first, then the plain letter.
        {199, Sequence(cmdBlockOperation0, LetterKey('B'), ssCtrl, LetterKey('A'), ssCtrl)},
        {200, Sequence(cmdBlockOperation0, LetterKey('B'), ssCtrl, LetterKey('A'), ssNone)},
        {250, Sequence(cmdBlockOperation25, LetterKey('B'), ssCtrl, LetterKey('Z'), ssNone)},
    };
    for (const auto& [index, expected] : pinned)
        EXPECT_EQ(keys[index], expected) << "entry " << index;
}

TEST_F(KeyboardDefaultLayout, HasTheStatedShape) {
    std::size_t singles = 0;
    std::set<std::tuple<int, int, int, int>> seen;
    std::set<std::pair<int, int>> firstKeys, singleKeys;
    for (std::size_t i = 0; i < keys.Count(); ++i) {
        const EditKey& k = keys[i];
        EXPECT_TRUE(seen.insert({k.Key1, k.Shift1, k.Key2, k.IsSequence() ? k.Shift2 : 0}).second)
            << "duplicate binding at " << i;
        EXPECT_NE(k.Command, cmdSequenceStart);
        if (k.IsSequence()) {
            firstKeys.insert({k.Key1, k.Shift1});
        } else {
            ++singles;
            singleKeys.insert({k.Key1, k.Shift1});
            EXPECT_EQ(k.Shift2, ssNone);
        }
    }
    EXPECT_EQ(singles, 73u);
    // Only Ctrl+K, Ctrl+Q, Ctrl+S, Ctrl+B and Ctrl+O start sequences, and none of them is also a
    // single-key binding, so the first-match rule never hides one.
    const std::set<std::pair<int, int>> expectedFirst = {{LetterKey('B'), ssCtrl},
                                                         {LetterKey('K'), ssCtrl},
                                                         {LetterKey('O'), ssCtrl},
                                                         {LetterKey('Q'), ssCtrl},
                                                         {LetterKey('S'), ssCtrl}};
    EXPECT_EQ(firstKeys, expectedFirst);
    for (const auto& first : firstKeys)
        EXPECT_EQ(singleKeys.count(first), 0u);
}

// Lookups through the key handler's strokes are tested there; these are the remaining ones.
TEST_F(KeyboardDefaultLayout, LooksUpKeysAndSequences) {
    EXPECT_EQ(keys.Lookup(LetterKey('A'), ssCtrl), 0); // the earlier binding is gone
    EXPECT_EQ(keys.Lookup(LetterKey('A'), ssNone), 0);
    EXPECT_EQ(keys.Lookup(LetterKey('K'), ssNone), 0);
    const auto K = LetterKey('K');
    struct Case {
        std::uint16_t key1, key2;
        ShiftState shift2;
        std::uint16_t command;
    };
    const Case cases[] = {{LetterKey('Q'), DigitKey(7), ssCtrl, cmdGotoBookmark7},
                          {K, LetterKey('R'), ssCtrl, cmdInsertBlock},
                          {K, LetterKey('R'), ssNone, 0},
                          {LetterKey('S'), DigitKey(9), ssCtrl, InsertMacroCommand(9)},
                          {LetterKey('B'), DigitKey(1), ssCtrl, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(keys.LookupSequence(c.key1, ssCtrl, c.key2, c.shift2), c.command)
            << c.key1 << " " << c.key2 << "/" << int(c.shift2);
}
