// The command executor: the command frame, movement, scrolling, bookmarks and macros.
#include "core/editor/CustomTextEditor.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/EditorErrors.h"
#include "core/editor/EditorGuards.h"
#include "core/editor/WordSeparators.h"

#include <algorithm>

namespace velmora::editor {

namespace {
void Complete() {
    throw EComplete();
}

void AppendCode(std::string& buffer, std::uint16_t code) {
    buffer += static_cast<char>(code & 0xFF);
    buffer += static_cast<char>(code >> 8);
}

std::uint16_t CodeAt(const std::string& macro, std::size_t i) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(macro[i]) |
                                      (static_cast<unsigned char>(macro[i + 1]) << 8));
}
} // namespace

void CustomTextEditor::ExecuteCommand(std::uint16_t code) {
    // A bare escape code carries no character: nothing to do and nothing to record.
    if (code == cmdWideCharEscape) return;
    RunCommand(code, 0);
}

void CustomTextEditor::TypeChar(char32_t c) {
    if (c <= cmdCharLast)
        RunCommand(static_cast<std::uint16_t>(c), 0);
    else
        RunCommand(cmdWideCharEscape, c);
}

void CustomTextEditor::RecordCommand(std::uint16_t code, char32_t wide) {
    AppendCode(recordBuffer_, code);
    if (code == cmdWideCharEscape) {
        AppendCode(recordBuffer_, static_cast<std::uint16_t>(wide & 0xFFFF));
        AppendCode(recordBuffer_, static_cast<std::uint16_t>(wide >> 16));
    }
}

void CustomTextEditor::RunCommand(std::uint16_t code, char32_t wide) {
    int x = caretX_;
    int y = caretY_;
    bool recordCaret = true;
    PaintCaret(false);
    // Only the outermost command goes into a macro: the commands it runs itself run again when
    // it is played back.
    if (recording_ && commandDepth_ == 0 && code != cmdRecordMacro && code != cmdBeginCompound &&
        compoundDepth_ == 0)
        RecordCommand(code, wide);
    ++commandDepth_;
    ScopeExit done([this] {
        --commandDepth_;
        PaintCaret(true);
    });
    try {
        Dispatch(code, wide, x, y, recordCaret);
        if (recordCaret)
            SetCaret(x, y);
        else
            MoveCaret(x, y);
    } catch (const EComplete&) {
        // The command ended early on purpose; nothing more to do.
    }
}

int CustomTextEditor::RowLength(int y) const {
    return static_cast<int>(lines_->GetRow(y).size());
}

int CustomTextEditor::ClampColumn(int x, int y) const {
    if (!CursorBeyondEOL && IsRowValid(y)) return std::min(x, RowLength(y));
    return x;
}

void CustomTextEditor::BeginSelecting(bool select, int x, int y) {
    if (select && !selected_) ExtendSelection(x, y);
}

void CustomTextEditor::EndMoving(bool select, int x, int y, bool& recordCaret) {
    if (select) {
        ExtendSelection(x, y);
        recordCaret = false;
    } else {
        Deselect();
    }
}

void CustomTextEditor::Dispatch(std::uint16_t code, char32_t wide, int& x, int& y,
                                bool& recordCaret) {
    if (IsCharCommand(code) || (code == cmdWideCharEscape && wide != 0)) {
        if (readOnly_) return;
        TypeCharacter(code == cmdWideCharEscape ? wide : char32_t(code), x, y);
        recordCaret = false;
        return;
    }
    if (int n = SetBookmarkIndex(code); n >= 0) {
        Bookmark& b = bookmarks_[static_cast<std::size_t>(n)];
        // Setting a bookmark again on its own row clears it.
        if (!b.Valid || b.Y != caretY_)
            b = {caretX_, caretY_, true};
        else
            b.Valid = false;
        BookmarkChanged(n);
        return;
    }
    if (int n = GotoBookmarkIndex(code); n >= 0) {
        const Bookmark b = bookmarks_[static_cast<std::size_t>(n)];
        if (b.Valid) ScrollToCaretCentered(b.X, b.Y);
        BookmarkChanged(n);
        x = caretX_;
        y = caretY_;
        return;
    }
    if (int n = InsertMacroIndex(code); n >= 0) {
        if (readOnly_ || !OnInsertMacro) return;
        const std::u32string text = OnInsertMacro(*this, n);
        if (!text.empty()) InsertText(text);
        Complete();
    }
    if (int n = BlockOperationIndex(code); n >= 0) {
        if (!readOnly_ && OnBlockOperation && selected_)
            ReplaceSelection(OnBlockOperation(*this, n, SelText()));
        return;
    }
    switch (code) {
    case cmdLeft:
    case cmdRight:
    case cmdSelLeft:
    case cmdSelRight:
        MoveHorizontal(code == cmdRight || code == cmdSelRight,
                       code == cmdSelLeft || code == cmdSelRight, x, y, recordCaret);
        break;
    case cmdUp:
    case cmdDown:
    case cmdSelUp:
    case cmdSelDown:
        MoveVertical(code == cmdDown || code == cmdSelDown, code == cmdSelUp || code == cmdSelDown,
                     code == cmdDown, x, y, recordCaret);
        break;
    case cmdWordLeft:
    case cmdSelWordLeft:
        WordLeft(code == cmdSelWordLeft, code, x, y, recordCaret);
        break;
    case cmdWordRight:
    case cmdSelWordRight:
        WordRight(code == cmdSelWordRight, code, x, y, recordCaret);
        break;
    case cmdSelectWord:
        SelectWord(x, y, recordCaret);
        break;
    case cmdWindowTop:
    case cmdWindowBottom:
        y = code == cmdWindowTop ? topRow_ : topRow_ + visibleRowCount_ - 1;
        x = ClampColumn(x, y);
        Deselect();
        break;
    case cmdPageUp:
    case cmdPageDown:
    case cmdSelPageUp:
    case cmdSelPageDown:
        Page(code, x, y, recordCaret);
        break;
    case cmdLineStart:
    case cmdLineEnd:
    case cmdDocStart:
    case cmdDocEnd:
    case cmdSelLineStart:
    case cmdSelLineEnd:
    case cmdSelDocStart:
    case cmdSelDocEnd:
        LineDocMove(code, x, y, recordCaret);
        break;
    case cmdSelectAll:
        for (std::uint16_t c : {cmdBeginCompound, cmdBeginUpdate, cmdDocStart, cmdSelDocEnd,
                                cmdEndUpdate, cmdEndCompound})
            RunCommand(c, 0);
        SelectionChanged();
        Complete();
        break;
    case cmdScrollLineUp:
    case cmdScrollLineDown:
    case cmdScrollPageUp:
    case cmdScrollPageDown:
        ScrollCommand(code, y);
        break;
    case cmdToggleInsertMode:
        SetInsertMode(!insertMode_);
        break;
    case cmdBeginCompound:
        BeginCompound();
        break;
    case cmdEndCompound:
        EndCompound();
        break;
    case cmdBeginUpdate:
        BeginUpdate();
        break;
    case cmdEndUpdate:
        EndUpdate();
        break;
    case cmdUndo:
        if (readOnly_) break;
        undo_->Undo();
        PaintCaret(true);
        Complete();
        break;
    case cmdRedo:
        if (!readOnly_) undo_->Redo();
        break;
    case cmdCompleteIdentifier:
    case cmdCompleteTemplate:
        // Word completion is disabled on every editor of this program.
        break;
    case cmdRecordMacro:
        if (!recording_) {
            recordBuffer_.clear();
            recording_ = true;
        } else {
            recording_ = false;
            macro_ = recordBuffer_;
        }
        StatusChanged();
        break;
    case cmdPlayMacro:
        PlayMacro();
        break;
    case cmdSaveBlock:
        if (selected_ && OnSaveBlock) OnSaveBlock(*this, SelText());
        break;
    case cmdInsertBlock:
        if (readOnly_ || !OnInsertBlock) break;
        {
            std::u32string text;
            if (OnInsertBlock(*this, text)) InsertText(text);
        }
        Complete();
        break;
    case cmdNewLine:
    case cmdBackspace:
    case cmdDeleteChar:
    case cmdTab:
    case cmdBackTab:
    case cmdIndentBlock:
    case cmdUnindentBlock:
    case cmdDeleteSelection:
    case cmdCut:
    case cmdPaste:
    case cmdDeleteLine:
    case cmdDeleteWordRight:
    case cmdDeleteWordLeft:
    case cmdUpperCase:
    case cmdLowerCase:
    case cmdToggleCase:
        if (readOnly_) break;
        switch (code) {
        case cmdNewLine:
            NewLine(x, y);
            recordCaret = false;
            break;
        case cmdBackspace:
            Backspace(x, y);
            recordCaret = false;
            break;
        case cmdDeleteChar:
            DeleteChar(x, y);
            recordCaret = false;
            break;
        case cmdTab:
        case cmdBackTab:
            TabCommand(code == cmdBackTab, x, y, recordCaret);
            break;
        case cmdIndentBlock:
        case cmdUnindentBlock:
            IndentBlock(code == cmdIndentBlock, x, y);
            recordCaret = false;
            break;
        case cmdDeleteSelection:
            if (selected_) {
                DeleteSelected();
                x = caretX_;
                y = caretY_;
                recordCaret = false;
            }
            break;
        case cmdCut:
            ClipboardCut();
            x = caretX_;
            y = caretY_;
            recordCaret = false;
            break;
        case cmdPaste:
            ClipboardPaste();
            x = caretX_;
            y = caretY_;
            recordCaret = false;
            break;
        case cmdDeleteLine:
            DeleteLine();
            break;
        case cmdDeleteWordRight:
        case cmdDeleteWordLeft:
            DeleteWord(code == cmdDeleteWordRight, y);
            break;
        default:
            CaseCommand(code == cmdUpperCase ? 0 : code == cmdLowerCase ? 1 : 2);
            break;
        }
        break;
    case cmdCopy:
        ClipboardCopy();
        break;
    default:
        break;
    }
}

void CustomTextEditor::MoveHorizontal(bool right, bool select, int& x, int& y, bool& recordCaret) {
    BeginSelecting(select, x, y);
    if (CursorBeyondEOL) {
        // Column 0 stays put, so Left there records no move that goes nowhere.
        x = right ? x + 1 : std::max(x - 1, 0);
    } else if (!IsRowValid(y)) {
        x = 0;
    } else if (!right) {
        if (x - 1 < 0) {
            if (IsRowValid(y - 1)) {
                --y;
                x = RowLength(y);
            } else {
                x = 0;
            }
        } else {
            x = std::min(x - 1, RowLength(y));
        }
    } else {
        if (x + 1 > RowLength(y)) {
            if (IsRowValid(y + 1)) {
                ++y;
                x = 0;
            } else {
                x = RowLength(y);
            }
        } else {
            ++x;
        }
    }
    EndMoving(select, x, y, recordCaret);
}

void CustomTextEditor::MoveVertical(bool down, bool select, bool plain, int& x, int& y,
                                    bool& recordCaret) {
    if (!down && y <= 0) return;
    // The text's own last row: the scroll range lags behind while updates are held, as they are
    // for a whole macro playback.
    const int lastRow = std::max(lines_->RowCount(), 1) - 1;
    if (down && y >= lastRow && !(plain && CursorBeyondEOF)) return;
    BeginSelecting(select, x, y);
    y += down ? 1 : -1;
    x = ClampColumn(x, y);
    EndMoving(select, x, y, recordCaret);
}

void CustomTextEditor::WordLeft(bool select, std::uint16_t code, int& x, int& y,
                                bool& recordCaret) {
    if (lines_->RowCount() == 0) return;
    x = std::min(x, RowLength(y));
    if (x > 0) {
        BeginSelecting(select, caretX_, caretY_);
        const std::u32string row = lines_->GetRow(y);
        int i = x - 1;
        while (i >= 0 && IsWordSeparator(row[static_cast<std::size_t>(i)]))
            --i;
        const bool wordFound = i >= 0;
        while (i >= 0 && !IsWordSeparator(row[static_cast<std::size_t>(i)]))
            --i;
        if (wordFound && i >= 0)
            x = i + 1;
        else if (x == caretX_)
            x = 0;
        EndMoving(select, x, y, recordCaret);
        if (!wordFound && x == 0 && y > 0) {
            // Only separators before the caret: continue at the end of the previous row. The
            // move is recorded, so undo brings the caret back to where the command began.
            SetCaret(0, y);
            RunCommand(code, 0);
            Complete();
        }
    } else if (y > 0) {
        --y;
        x = RowLength(y);
    }
}

void CustomTextEditor::WordRight(bool select, std::uint16_t code, int& x, int& y,
                                 bool& recordCaret) {
    if (lines_->RowCount() == 0) return;
    const int len = RowLength(y);
    if (x < len) {
        BeginSelecting(select, caretX_, caretY_);
        const std::u32string row = lines_->GetRow(y);
        int i = x;
        while (i < len && !IsWordSeparator(row[static_cast<std::size_t>(i)]))
            ++i;
        while (i < len && IsWordSeparator(row[static_cast<std::size_t>(i)]))
            ++i;
        x = i; // the next word's start, or the row's end
        EndMoving(select, x, y, recordCaret);
    } else if (y < lines_->RowCount() - 1) {
        ++y;
        x = 0;
        const std::u32string next = lines_->GetRow(y);
        if (!next.empty() && next[0] == U' ') {
            // Skip the leading blanks to reach the row's first word; recorded, as above.
            SetCaret(0, y);
            RunCommand(code, 0);
            Complete();
        }
    }
}

void CustomTextEditor::SelectWord(int& x, int& y, bool& recordCaret) {
    if (selected_) return;
    const WordSpan w = WordAt(lines_->GetRow(y), x);
    if (!w.Found) return;
    ExtendSelection(w.Start - 1, y);
    ExtendSelection(w.End - 1, y);
    x = w.End - 1;
    recordCaret = false;
}

void CustomTextEditor::Page(std::uint16_t code, int& x, int& y, bool& recordCaret) {
    const int d = (code == cmdPageUp || code == cmdSelPageUp) ? -1 : 1;
    const bool select = code == cmdSelPageUp || code == cmdSelPageDown;
    if (select) {
        BeginUpdate();
        ExtendSelection(x, y);
    }
    y += d * visibleRowCount_;
    if (!CursorBeyondEOF || code == cmdSelPageDown) y = std::min(y, lines_->RowCount() - 1);
    y = std::max(y, 0);
    const int large = vertBar_.LargeChange();
    if (d * large >= y) {
        vertBar_.SetPosition(vertBar_.Position() + d * large);
        if (vertBar_.Position() != topRow_) Scroll(true, vertBar_.Position());
    }
    x = ClampColumn(x, y);
    if (select) {
        ExtendSelection(x, y);
        recordCaret = false;
        EndUpdate();
    } else {
        Deselect();
    }
}

void CustomTextEditor::ScrollCommand(std::uint16_t code, int& y) {
    const bool line = code == cmdScrollLineUp || code == cmdScrollLineDown;
    const int dir = (code == cmdScrollLineUp || code == cmdScrollPageUp) ? -1 : 1;
    const int amount = line ? 1 : vertBar_.LargeChange();
    const bool stuck = code == cmdScrollLineDown && y >= lines_->RowCount() - 1 && topRow_ == y;
    if (!stuck) {
        vertBar_.SetPosition(vertBar_.Position() + dir * amount);
        if (vertBar_.Position() != topRow_) Scroll(true, vertBar_.Position());
    }
    if (y < topRow_) y = topRow_;
    if (y > lastVisibleRow_) y = lastVisibleRow_;
}

void CustomTextEditor::LineDocMove(std::uint16_t code, int& x, int& y, bool& recordCaret) {
    const bool select = code == cmdSelLineStart || code == cmdSelLineEnd ||
                        code == cmdSelDocStart || code == cmdSelDocEnd;
    BeginSelecting(select, x, y);
    switch (code) {
    case cmdLineStart:
    case cmdSelLineStart:
        if (SimpleBeginLine || lines_->RowCount() == 0) {
            x = 0;
        } else {
            // Repeating the command toggles between the first non-blank and column 0.
            const std::u32string row = lines_->GetRow(y);
            const int blanks = static_cast<int>(std::min(row.find_first_not_of(U' '), row.size()));
            x = x == blanks ? 0 : blanks;
        }
        break;
    case cmdLineEnd:
    case cmdSelLineEnd:
        x = RowLength(y);
        break;
    case cmdDocStart:
    case cmdSelDocStart:
        x = 0;
        y = 0;
        SetLeftTop(0, 0);
        break;
    default:
        if (lines_->RowCount() > 0) {
            y = lines_->RowCount() - 1;
            x = RowLength(y);
            SetLeftTop(x - visibleColCount_, y - visibleRowCount_ + 1);
        }
        break;
    }
    EndMoving(select, x, y, recordCaret);
}

void CustomTextEditor::PlayMacro() {
    // A macro that plays the macro would never end; a nested playback does nothing.
    if (playing_) return;
    {
        playing_ = true;
        ScopeExit stopPlaying([this] { playing_ = false; });
        UpdateGuard update(*this);
        CompoundUndoGuard group(*this);
        const std::string macro = macro_;
        for (std::size_t i = 0; i + 1 < macro.size(); i += 2) {
            const std::uint16_t code = CodeAt(macro, i);
            if (code == cmdWideCharEscape) {
                if (i + 5 >= macro.size()) break;
                const char32_t wide = CodeAt(macro, i + 2) | (char32_t(CodeAt(macro, i + 4)) << 16);
                i += 4;
                if (wide != 0) RunCommand(code, wide);
            } else {
                RunCommand(code, 0);
            }
            // While recording, what a command posted ran before the next key, and the sizes
            // were brought up to date; so here too, although the updates are held.
            RunPostedCommands();
            UpdateEditorSize(false, false);
        }
    }
    Complete();
}

} // namespace velmora::editor
