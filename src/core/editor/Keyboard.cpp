// The key map: lookups and the default layout as data.
#include "core/editor/Keyboard.h"

#include "core/editor/EditorCommands.h"

#include <array>
#include <span>

namespace velmora::editor {

namespace {

constexpr ShiftState ssCtrlShift = ssCtrl | ssShift;

constexpr EditKey Single(Command command, std::uint16_t key, ShiftState shift) {
    return EditKey{key, 0, shift, ssNone, command};
}

constexpr EditKey Sequence(Command command, std::uint16_t key1, ShiftState shift1,
                           std::uint16_t key2, ShiftState shift2) {
    return EditKey{key1, key2, shift1, shift2, command};
}

// The default layout, segment by segment in list order. The order matters only where two
// bindings could share a first key, and pinning it keeps the layout reproducible.

constexpr EditKey kMovementAndEditing[] = {
    Single(cmdLeft, vkLeft, ssNone),
    Single(cmdRight, vkRight, ssNone),
    Single(cmdUp, vkUp, ssNone),
    Single(cmdDown, vkDown, ssNone),
    Single(cmdSelLeft, vkLeft, ssShift),
    Single(cmdSelRight, vkRight, ssShift),
    Single(cmdSelUp, vkUp, ssShift),
    Single(cmdSelDown, vkDown, ssShift),
    Single(cmdLineStart, vkHome, ssNone),
    Single(cmdSelLineStart, vkHome, ssShift),
    Single(cmdDocStart, vkPageUp, ssCtrl),
    Single(cmdSelDocStart, vkHome, ssCtrlShift),
    Single(cmdLineEnd, vkEnd, ssNone),
    Single(cmdSelLineEnd, vkEnd, ssShift),
    Single(cmdDocEnd, vkPageDown, ssCtrl),
    Single(cmdSelDocEnd, vkEnd, ssCtrlShift),
    Single(cmdWordLeft, vkLeft, ssCtrl),
    Single(cmdWordRight, vkRight, ssCtrl),
    Single(cmdSelWordLeft, vkLeft, ssCtrlShift),
    Single(cmdSelWordRight, vkRight, ssCtrlShift),
    Single(cmdSelectAll, LetterKey('A'), ssCtrlShift),
    Single(cmdWindowTop, vkHome, ssCtrl),
    Single(cmdWindowBottom, vkEnd, ssCtrl),
    Single(cmdPageUp, vkPageUp, ssNone),
    Single(cmdPageDown, vkPageDown, ssNone),
    Single(cmdSelPageUp, vkPageUp, ssShift),
    Single(cmdSelPageDown, vkPageDown, ssShift),
    Single(cmdScrollLineUp, vkUp, ssCtrl),
    Single(cmdScrollLineDown, vkDown, ssCtrl),
    Single(cmdToggleInsertMode, vkInsert, ssNone),
    Single(cmdNewLine, vkEnter, ssNone),
    Single(cmdBackspace, vkBackspace, ssNone),
    Single(cmdBackspace, vkBackspace, ssShift),
    Single(cmdDeleteWordLeft, vkBackspace, ssCtrl),
    Single(cmdDeleteChar, vkDelete, ssNone),
    Single(cmdTab, vkTab, ssNone),
    Single(cmdBackTab, vkTab, ssShift),
    Single(cmdDeleteSelection, vkDelete, ssCtrl),
    Single(cmdCopy, vkInsert, ssCtrl),
    Single(cmdCut, vkDelete, ssShift),
    Single(cmdPaste, vkInsert, ssShift),
    Single(cmdCopy, LetterKey('C'), ssCtrl),
    Single(cmdCut, LetterKey('X'), ssCtrl),
    Single(cmdPaste, LetterKey('V'), ssCtrl),
    Single(cmdSetBookmark0, DigitKey(0), ssCtrlShift),
    Single(cmdSetBookmark1, DigitKey(1), ssCtrlShift),
    Single(cmdSetBookmark2, DigitKey(2), ssCtrlShift),
    Single(cmdSetBookmark3, DigitKey(3), ssCtrlShift),
    Single(cmdSetBookmark4, DigitKey(4), ssCtrlShift),
    Single(cmdSetBookmark5, DigitKey(5), ssCtrlShift),
    Single(cmdSetBookmark6, DigitKey(6), ssCtrlShift),
    Single(cmdSetBookmark7, DigitKey(7), ssCtrlShift),
    Single(cmdSetBookmark8, DigitKey(8), ssCtrlShift),
    Single(cmdSetBookmark9, DigitKey(9), ssCtrlShift),
    Single(cmdGotoBookmark0, DigitKey(0), ssCtrl),
    Single(cmdGotoBookmark1, DigitKey(1), ssCtrl),
    Single(cmdGotoBookmark2, DigitKey(2), ssCtrl),
    Single(cmdGotoBookmark3, DigitKey(3), ssCtrl),
    Single(cmdGotoBookmark4, DigitKey(4), ssCtrl),
    Single(cmdGotoBookmark5, DigitKey(5), ssCtrl),
    Single(cmdGotoBookmark6, DigitKey(6), ssCtrl),
    Single(cmdGotoBookmark7, DigitKey(7), ssCtrl),
    Single(cmdGotoBookmark8, DigitKey(8), ssCtrl),
    Single(cmdGotoBookmark9, DigitKey(9), ssCtrl),
};

// Ctrl+<first> then a digit d, plain and then with Ctrl, runs first + d.
constexpr std::array<EditKey, 20> DigitSequences(std::uint16_t first, Command firstCommand) {
    std::array<EditKey, 20> keys{};
    for (int d = 0; d < 10; ++d) {
        const auto command = Command(firstCommand + d);
        keys[2 * static_cast<std::size_t>(d)] =
            Sequence(command, first, ssCtrl, DigitKey(d), ssNone);
        keys[2 * static_cast<std::size_t>(d) + 1] =
            Sequence(command, first, ssCtrl, DigitKey(d), ssCtrl);
    }
    return keys;
}

constexpr auto kSetBookmarkSequences = DigitSequences(LetterKey('K'), cmdSetBookmark0);
constexpr auto kGotoBookmarkSequences = DigitSequences(LetterKey('Q'), cmdGotoBookmark0);

// Ctrl+S then 0-9 or A-Z, with Ctrl and then plain, inserts macro 0-35.
constexpr std::array<EditKey, 72> InsertMacroSequences() {
    std::array<EditKey, 72> keys{};
    for (int i = 0; i < InsertMacroCount; ++i) {
        const auto key = i < 10 ? DigitKey(i) : LetterKey(char('A' + i - 10));
        keys[2 * static_cast<std::size_t>(i)] =
            Sequence(InsertMacroCommand(i), LetterKey('S'), ssCtrl, key, ssCtrl);
        keys[2 * static_cast<std::size_t>(i) + 1] =
            Sequence(InsertMacroCommand(i), LetterKey('S'), ssCtrl, key, ssNone);
    }
    return keys;
}

constexpr auto kInsertMacroSequences = InsertMacroSequences();

constexpr EditKey kUndoAndCompletion[] = {
    Single(cmdUndo, LetterKey('Z'), ssCtrl),
    Single(cmdUndo, vkBackspace, ssAlt),
    Single(cmdCompleteIdentifier, vkSpace, ssCtrl),
    Single(cmdCompleteTemplate, LetterKey('J'), ssCtrl),
};

// Only the plain second keys are bound here: Ctrl+Q then Ctrl+R does nothing.
constexpr EditKey kQuickMovement[] = {
    Sequence(cmdDocStart, LetterKey('Q'), ssCtrl, LetterKey('R'), ssNone),
    Sequence(cmdDocEnd, LetterKey('Q'), ssCtrl, LetterKey('C'), ssNone),
    Sequence(cmdLineStart, LetterKey('Q'), ssCtrl, LetterKey('S'), ssNone),
    Sequence(cmdLineEnd, LetterKey('Q'), ssCtrl, LetterKey('D'), ssNone),
    Sequence(cmdWindowTop, LetterKey('Q'), ssCtrl, LetterKey('E'), ssNone),
    Sequence(cmdWindowBottom, LetterKey('Q'), ssCtrl, LetterKey('X'), ssNone),
    Sequence(cmdWindowTop, LetterKey('Q'), ssCtrl, LetterKey('T'), ssNone),
    Sequence(cmdWindowBottom, LetterKey('Q'), ssCtrl, LetterKey('U'), ssNone),
};

constexpr EditKey kLineCommands[] = {
    Single(cmdDeleteWordRight, LetterKey('T'), ssCtrl),
    Single(cmdNewLine, LetterKey('N'), ssCtrl),
    Single(cmdDeleteLine, LetterKey('Y'), ssCtrl),
};

constexpr EditKey kBlockCommands[] = {
    Sequence(cmdSelectWord, LetterKey('K'), ssCtrl, LetterKey('T'), ssCtrl),
    Sequence(cmdUpperCase, LetterKey('K'), ssCtrl, LetterKey('O'), ssCtrl),
    Sequence(cmdLowerCase, LetterKey('K'), ssCtrl, LetterKey('N'), ssCtrl),
    Sequence(cmdToggleCase, LetterKey('O'), ssCtrl, LetterKey('U'), ssCtrl),
    Sequence(cmdInsertBlock, LetterKey('K'), ssCtrl, LetterKey('R'), ssCtrl),
    Sequence(cmdSaveBlock, LetterKey('K'), ssCtrl, LetterKey('W'), ssCtrl),
};

constexpr EditKey kMacroCommands[] = {
    Single(cmdRecordMacro, LetterKey('R'), ssCtrlShift),
    Single(cmdPlayMacro, LetterKey('P'), ssCtrlShift),
};

// Ctrl+B then A-Z, with Ctrl and then plain, runs block operation 0-25.
constexpr std::array<EditKey, 52> BlockOperationSequences() {
    std::array<EditKey, 52> keys{};
    for (int i = 0; i < BlockOperationCount; ++i) {
        const auto key = LetterKey(char('A' + i));
        keys[2 * static_cast<std::size_t>(i)] =
            Sequence(BlockOperationCommand(i), LetterKey('B'), ssCtrl, key, ssCtrl);
        keys[2 * static_cast<std::size_t>(i) + 1] =
            Sequence(BlockOperationCommand(i), LetterKey('B'), ssCtrl, key, ssNone);
    }
    return keys;
}

constexpr auto kBlockOperationSequences = BlockOperationSequences();

constexpr std::span<const EditKey> kDefaultLayout[] = {
    kMovementAndEditing, kSetBookmarkSequences,    kGotoBookmarkSequences, kInsertMacroSequences,
    kUndoAndCompletion,  kQuickMovement,           kLineCommands,          kBlockCommands,
    kMacroCommands,      kBlockOperationSequences,
};

constexpr std::size_t DefaultLayoutTotal() {
    std::size_t total = 0;
    for (const auto segment : kDefaultLayout)
        total += segment.size();
    return total;
}

static_assert(DefaultLayoutTotal() == Keyboard::DefaultLayoutSize);

} // namespace

void Keyboard::Add(std::uint16_t command, std::uint16_t key, ShiftState shift) {
    keys_.push_back(EditKey{key, 0, shift, ssNone, command});
}

void Keyboard::AddSequence(std::uint16_t command, std::uint16_t key1, ShiftState shift1,
                           std::uint16_t key2, ShiftState shift2) {
    keys_.push_back(EditKey{key1, key2, shift1, shift2, command});
}

void Keyboard::LoadDefaultLayout() {
    Clear();
    keys_.reserve(DefaultLayoutSize);
    for (const auto segment : kDefaultLayout)
        keys_.insert(keys_.end(), segment.begin(), segment.end());
}

std::uint16_t Keyboard::Lookup(std::uint16_t key, ShiftState shift) const {
    for (const EditKey& k : keys_) {
        if (k.Key1 == key && k.Shift1 == shift)
            return k.IsSequence() ? std::uint16_t{cmdSequenceStart} : k.Command;
    }
    return 0;
}

std::uint16_t Keyboard::LookupSequence(std::uint16_t key1, ShiftState shift1, std::uint16_t key2,
                                       ShiftState shift2) const {
    for (const EditKey& k : keys_) {
        if (k.Key1 == key1 && k.Shift1 == shift1 && k.Key2 == key2 && k.Shift2 == shift2)
            return k.Command;
    }
    return 0;
}

} // namespace velmora::editor
