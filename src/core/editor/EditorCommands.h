// The editor's command codes: the one list every key binding, menu item and macro refers to.
#pragma once

#include <cstdint>

namespace velmora::editor {

// Command codes are stable numbers: macros store them and the key map names them, so every
// code is written out here once and never renumbered. Codes 0-255 type the character with that
// code; a code that is not listed does nothing.
enum Command : std::uint16_t {
    cmdChar = 0, // 0-255: the character with this code
    cmdCharLast = 255,

    // Not a command: a macro records a character beyond U+00FF as this code followed by the
    // code point, since the character itself does not fit into a 16-bit code.
    cmdWideCharEscape = 256,

    cmdLeft = 257,
    cmdUp = 258,
    cmdRight = 259,
    cmdDown = 260,
    cmdSelLeft = 265,
    cmdSelUp = 266,
    cmdSelRight = 267,
    cmdSelDown = 268,
    cmdWordLeft = 269,
    cmdWordRight = 270,
    cmdSelWordLeft = 271,
    cmdSelWordRight = 272,
    cmdSelectWord = 273,
    cmdWindowTop = 274,
    cmdWindowBottom = 275,
    cmdPageUp = 276,
    cmdPageDown = 277,
    cmdSelPageUp = 278,
    cmdSelPageDown = 279,
    cmdLineStart = 280,
    cmdLineEnd = 281,
    cmdDocStart = 282,
    cmdDocEnd = 283,
    cmdSelLineStart = 284,
    cmdSelLineEnd = 285,
    cmdSelDocStart = 286,
    cmdSelDocEnd = 287,
    cmdSelectAll = 288,
    cmdScrollLineUp = 289,
    cmdScrollLineDown = 290,

    cmdNewLine = 357,
    cmdBackspace = 358,
    cmdDeleteChar = 359,
    cmdToggleInsertMode = 360,
    cmdTab = 361,
    cmdBackTab = 362,
    cmdIndentBlock = 363,
    cmdUnindentBlock = 364,
    cmdDeleteSelection = 367,
    cmdCopy = 368,
    cmdCut = 369,
    cmdPaste = 370,
    cmdDeleteLine = 371,
    cmdDeleteWordRight = 372,
    cmdUpperCase = 373,
    cmdLowerCase = 374,
    cmdToggleCase = 375,
    cmdUndo = 376,
    cmdRedo = 377,
    cmdBeginCompound = 378,
    cmdEndCompound = 379,
    cmdBeginUpdate = 380,
    cmdEndUpdate = 381,
    cmdSetBookmark0 = 382,
    cmdSetBookmark1 = 383,
    cmdSetBookmark2 = 384,
    cmdSetBookmark3 = 385,
    cmdSetBookmark4 = 386,
    cmdSetBookmark5 = 387,
    cmdSetBookmark6 = 388,
    cmdSetBookmark7 = 389,
    cmdSetBookmark8 = 390,
    cmdSetBookmark9 = 391,
    cmdGotoBookmark0 = 392,
    cmdGotoBookmark1 = 393,
    cmdGotoBookmark2 = 394,
    cmdGotoBookmark3 = 395,
    cmdGotoBookmark4 = 396,
    cmdGotoBookmark5 = 397,
    cmdGotoBookmark6 = 398,
    cmdGotoBookmark7 = 399,
    cmdGotoBookmark8 = 400,
    cmdGotoBookmark9 = 401,
    cmdCompleteIdentifier = 402,
    cmdCompleteTemplate = 403,
    cmdRecordMacro = 404,
    cmdPlayMacro = 405,
    cmdSaveBlock = 408,
    cmdInsertBlock = 409,
    cmdInsertMacro0 = 410, // 410-445: insert macro 0-35 (InsertMacroCommand)
    cmdInsertMacro35 = 445,
    cmdBlockOperation0 = 446, // 446-471: block operation 0-25 (BlockOperationCommand)
    cmdBlockOperation25 = 471,
    cmdDeleteWordLeft = 472,
    cmdScrollPageUp = 473,
    cmdScrollPageDown = 474,

    // Not a command: the key map's answer for the first key of a two-key binding.
    cmdSequenceStart = 0xFFFF,
};

inline constexpr int BookmarkCount = 10;
inline constexpr int InsertMacroCount = cmdInsertMacro35 - cmdInsertMacro0 + 1;
inline constexpr int BlockOperationCount = cmdBlockOperation25 - cmdBlockOperation0 + 1;

// The numbered families, for index n of the family and back (-1 when code is not a member).
constexpr Command SetBookmarkCommand(int n) {
    return Command(cmdSetBookmark0 + n);
}
constexpr Command GotoBookmarkCommand(int n) {
    return Command(cmdGotoBookmark0 + n);
}
constexpr Command InsertMacroCommand(int n) {
    return Command(cmdInsertMacro0 + n);
}
constexpr Command BlockOperationCommand(int n) {
    return Command(cmdBlockOperation0 + n);
}

constexpr int FamilyIndex(std::uint16_t code, Command first, int count) {
    return code >= first && code < first + count ? code - first : -1;
}
constexpr int SetBookmarkIndex(std::uint16_t code) {
    return FamilyIndex(code, cmdSetBookmark0, BookmarkCount);
}
constexpr int GotoBookmarkIndex(std::uint16_t code) {
    return FamilyIndex(code, cmdGotoBookmark0, BookmarkCount);
}
constexpr int InsertMacroIndex(std::uint16_t code) {
    return FamilyIndex(code, cmdInsertMacro0, InsertMacroCount);
}
constexpr int BlockOperationIndex(std::uint16_t code) {
    return FamilyIndex(code, cmdBlockOperation0, BlockOperationCount);
}

// True for codes 0-255, which type their own character.
constexpr bool IsCharCommand(std::uint16_t code) {
    return code <= cmdCharLast;
}

} // namespace velmora::editor
