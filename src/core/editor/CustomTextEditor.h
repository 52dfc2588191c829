// The names editor model: text, caret, selection, view numbers, undo and the command executor.
#pragma once

#include "core/editor/Clipboard.h"
#include "core/editor/KeyHandler.h"
#include "core/editor/TextEditorScrollBar.h"
#include "core/editor/TextEditorStrings.h"
#include "core/editor/TextPos.h"
#include "core/editor/UndoBuffer.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora::editor {

struct Bookmark {
    int X = 0;
    int Y = 0;
    bool Valid = false;
};

struct Rect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct CellSize {
    int Width = 1;
    int Height = 1;
};

// Holds all state and behaviour of the editor control and works on plain numbers; the widget
// derives from it, supplies the real cell and client size and repaints through the hooks below.
class CustomTextEditor {
public:
    CustomTextEditor();
    virtual ~CustomTextEditor();
    CustomTextEditor(const CustomTextEditor&) = delete;
    CustomTextEditor& operator=(const CustomTextEditor&) = delete;

    TextEditorStrings& Lines() { return *lines_; }
    const TextEditorStrings& Lines() const { return *lines_; }
    // Replaces the text by a copy of lines and forgets the undo history.
    void SetLines(const platform::StringList& lines);
    UndoBuffer& UndoList() { return *undo_; }
    TextEditorScrollBar& HorzBar() { return horzBar_; }
    TextEditorScrollBar& VertBar() { return vertBar_; }

    // --- Options without side effects ---
    int TabSize = 4;
    int IndentSize = 4;
    int AutoIndentSize = 0;
    bool SmartTab = true;
    bool SmartAutoIndent = true;
    bool BackspaceUnindents = true;
    bool AutoIndent = true;
    bool KeepTrailingBlanks = false; // trailing blanks are always kept
    bool CursorBeyondEOF = false;
    bool CursorBeyondEOL = true;
    bool SimpleBeginLine = true;
    bool WantTabs = true;
    bool DoubleClickLine = false;
    bool RightMarginVisible = true;
    std::string TabStops;

    // --- Options that react ---
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool StripInvisible() const { return stripInvisible_; }
    void SetStripInvisible(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    int RightMargin() const { return rightMargin_; }
    void SetRightMargin(int value);
    int GutterWidth() const { return gutterWidth_; }
    void SetGutterWidth(int value);
    bool UseMaxCharWidth() const { return useMaxCharWidth_; }
    void SetUseMaxCharWidth(bool value);
    void SetClipboard(Clipboard* clipboard) { clipboard_ = clipboard; }

    // --- State ---
    int CaretX() const { return caretX_; }
    int CaretY() const { return caretY_; }
    int CaretParaOffset() const { return caretParaOffset_; }
    int CaretParagraph() const { return caretParagraph_; }
    int LeftCol() const { return leftCol_; }
    int TopRow() const { return topRow_; }
    int VisibleColCount() const { return visibleColCount_; }
    int VisibleRowCount() const { return visibleRowCount_; }
    int LastVisibleCol() const { return lastVisibleCol_; }
    int LastVisibleRow() const { return lastVisibleRow_; }
    int HorzRange() const { return horzRange_; }
    int VertRange() const { return vertRange_; }
    int CellWidth() const { return cellWidth_; }
    int LineHeight() const { return lineHeight_; }
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    // Text area = client area right of the gutter.
    int TextAreaLeft() const { return gutterWidth_ + 2; }
    int TextAreaWidth() const;
    Rect TextAreaRect() const { return {TextAreaLeft(), 0, TextAreaWidth(), clientHeight_}; }
    // The cell of a column and row counted from LeftCol and TopRow, in client pixels.
    Rect CellRect(int viewCol, int viewRow) const {
        return {TextAreaLeft() + viewCol * cellWidth_ + 1, viewRow * lineHeight_, cellWidth_,
                lineHeight_};
    }
    bool Selected() const { return selected_; }
    TextPos SelBeg() const { return {selBegX_, selBegY_}; }
    TextPos SelEnd() const { return {selEndX_, selEndY_}; }
    TextPos SelAnchor() const { return {selAnchorX_, selAnchorY_}; }
    std::uint8_t SelMode() const { return selMode_; }
    int RepaintFirstRow() const { return repaintFirst_; }
    int RepaintLastRow() const { return repaintLast_; }
    int UpdateLock() const { return updateLock_; }
    int CompoundDepth() const { return compoundDepth_; }
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }
    bool Recording() const { return recording_; }
    const std::string& RecordBuffer() const { return recordBuffer_; }
    const std::string& Macro() const { return macro_; }
    const Bookmark& GetBookmark(int index) const {
        return bookmarks_.at(static_cast<std::size_t>(index));
    }
    int MaxLineLength() const { return maxLineLength_; }
    int WrapWidth() const { return wrapWidth_; }

    // --- Commands ---
    // Runs one command code (0-255 type that character).
    virtual void ExecuteCommand(std::uint16_t code);
    // Types any character; those beyond U+00FF take the same path as codes 0-255.
    void TypeChar(char32_t c);
    // Posted commands run after the current one; the widget drains them from its event loop.
    void PostCommand(std::uint16_t code);
    bool HasPostedCommands() const { return !posted_.empty(); }
    void RunPostedCommands();

    // --- Keys (virtual-key codes and shift state, as the key map defines them) ---
    void KeyDown(std::uint16_t& key, ShiftState shift);
    void KeyPress(char32_t ch);
    KeyHandler& Keys() { return *keyHandler_; }
    std::function<void(CustomTextEditor&, std::uint16_t& key, ShiftState shift)> OnKeyDown;
    std::function<void(CustomTextEditor&, char32_t& ch)> OnKeyPress;

    // --- Caret and selection ---
    void SetCaret(int x, int y);
    void MoveCaret(int x, int y);
    void SetSelected(bool value);
    void ExtendSelection(int x, int y);
    void Deselect();
    std::u32string SelText() const;
    void ReplaceSelection(const std::u32string& s);
    int SelStart() const;
    void SetSelStart(int n);
    int SelLength() const;
    void SetSelLength(int n);
    // The whole text, every paragraph followed by CR LF (UTF-8 / code points).
    std::string Text() const { return lines_->GetTextStr(); }
    std::u32string Text32() const { return lines_->GetText32(); }
    void InsertText(const std::u32string& s);
    void InsertAtCaret(const std::u32string& s);
    void DeleteSelected();
    void SelectAll();
    void Undo();
    void ClipboardCopy();
    void ClipboardCut();
    void ClipboardPaste();
    void BeginUpdate();
    void EndUpdate();
    void BeginCompound();
    void EndCompound();
    TextPos OffsetToPos(int offset) const;
    int PosToOffset(int x, int y) const;
    void ScrollToCaretCentered(int x, int y);
    bool IsRowValid(int y) const { return y >= 0 && y < lines_->RowCount(); }
    int ClampToRow(int x, int y) const;

    // --- View ---
    void SetClientSize(int width, int height);
    void UpdateEditorSize(bool measure, bool paintGutter);
    void SetVertRange(int n);
    void SetHorzRange(int n);
    void Scroll(bool vertical, int value);
    void SetLeftTop(int col, int row);
    // A scroll-bar action on one of the bars; trackPosition is where the bar shows its thumb.
    // Arrows, page areas, the dragged thumb and the ends move the view; the thumb's release and
    // the end of a scroll only settle the bar.
    void ScrollBarAction(bool vertical, ScrollCode code, int trackPosition);
    // One wheel message: the view moves by lines rows (down or up); the caret stays.
    void MouseWheel(bool down, int lines);
    // Called once the widget has set everything up: measures, announces, clears Modified.
    void Loaded();

    // --- Events (Sender first; fired only when set) ---
    using NotifyEvent = std::function<void(CustomTextEditor&)>;
    NotifyEvent OnChange;
    NotifyEvent OnSelectionChange;
    NotifyEvent OnChangeStatus;
    NotifyEvent OnScroll;
    NotifyEvent OnCommandPosted;
    std::function<void(CustomTextEditor&, bool canPaste)> OnChangeClipboardState;
    std::function<void(CustomTextEditor&, const std::u32string& original, std::u32string& newText)>
        OnBreakLine;
    std::function<void(CustomTextEditor&, const std::u32string& original, std::u32string& newText)>
        OnConcatLine;
    std::function<void(CustomTextEditor&, std::u32string& text)> OnTextInsert;
    std::function<std::u32string(CustomTextEditor&, std::uint8_t conversion, const std::u32string&)>
        OnCaseConversion;
    std::function<bool(CustomTextEditor&, std::u32string& text)> OnInsertBlock;
    std::function<void(CustomTextEditor&, const std::u32string& text)> OnSaveBlock;
    std::function<std::u32string(CustomTextEditor&, int macroId)> OnInsertMacro;
    std::function<std::u32string(CustomTextEditor&, int macroId, const std::u32string& text)>
        OnBlockOperation;

    // --- Notifications ---
    virtual void TextChanged();
    virtual void TextAllChanged();
    virtual void StatusChanged();
    virtual void SelectionChanged();
    virtual void ClipboardChanged(bool canPaste);
    virtual void BookmarkChanged(int index);

    // Records an undo entry of type T built from the arguments after the owner.
    template <class T, class... Args> void RecordUndo(Args&&... args) {
        undo_->Add(std::make_unique<T>(*this, std::forward<Args>(args)...));
    }
    // Whole-text offset of a position, for the undo records (column not clamped).
    int UndoOffset(int x, int y) const;
    SelectionState Selection() const { return {selMode_, selBegX_, selBegY_, selEndX_, selEndY_}; }
    void RestoreSelection(const SelectionState& s);

protected:
    // Window hooks; the windowless model has no screen, so they do nothing here.
    virtual CellSize MeasureCell() { return {8, 16}; }
    virtual void RepaintRows(int /*first*/, int /*last*/) {}
    virtual void RepaintAll() {}
    // The view moved by rows (positive: the text moves down); a screen moves the pixels it has.
    virtual void ScrollTextArea(int /*rows*/) { RepaintAll(); }
    virtual void RepaintGutter() {}
    virtual void PaintCaret(bool /*visible*/) {}
    virtual void Beep() const {}
    // Tab without tabs moves the focus; only a widget on a window has somewhere to move it.
    virtual bool MoveFocus(bool /*previous*/) { return false; }

private:
    friend class UndoBuffer;
    class KeyAdapter;
    class LinesHost;

    // Command executor internals.
    void RunCommand(std::uint16_t code, char32_t wide);
    void RecordCommand(std::uint16_t code, char32_t wide);
    void Dispatch(std::uint16_t code, char32_t wide, int& x, int& y, bool& recordCaret);
    void MoveHorizontal(bool right, bool select, int& x, int& y, bool& recordCaret);
    void MoveVertical(bool down, bool select, bool plain, int& x, int& y, bool& recordCaret);
    void WordLeft(bool select, std::uint16_t code, int& x, int& y, bool& recordCaret);
    void WordRight(bool select, std::uint16_t code, int& x, int& y, bool& recordCaret);
    void SelectWord(int& x, int& y, bool& recordCaret);
    void Page(std::uint16_t code, int& x, int& y, bool& recordCaret);
    void ScrollCommand(std::uint16_t code, int& y);
    void LineDocMove(std::uint16_t code, int& x, int& y, bool& recordCaret);
    void PlayMacro();
    void BeginSelecting(bool select, int x, int y);
    void EndMoving(bool select, int x, int y, bool& recordCaret);
    int RowLength(int y) const;
    int ClampColumn(int x, int y) const;

    // Inserts text whose breaks are CR LF and whose tabs are expanded already.
    void InsertStored(const std::u32string& s);
    std::u32string StoredForm(const std::u32string& s) const;

    // Text editing commands.
    void Prepare(int& x, int& y);
    void Refresh(int firstRow, int oldRowCount);
    void TypeCharacter(char32_t c, int& x, int& y);
    void NewLine(int& x, int& y);
    bool DeleteSelectionInstead(int& x, int& y);
    void Backspace(int& x, int& y);
    void DeleteChar(int& x, int& y);
    void TabCommand(bool back, int& x, int& y, bool& recordCaret);
    void IndentBlock(bool indent, int& x, int& y);
    void DeleteLine();
    void DeleteWord(bool right, int y);
    void CaseCommand(std::uint8_t conversion);
    void JoinParagraphs(int first, int& x, int& y);
    int SmartIndent() const;
    int UnindentTarget(int x, int y);
    int SmartTabTarget(int x, int y);
    int NextTabStop(int x) const;
    void PrepareColumnMarks();

    void SetSelection(int begX, int begY, int endX, int endY);
    void RecomputeLastVisible();

    std::unique_ptr<TextEditorHost> linesHost_; // before lines_, which holds on to it
    std::unique_ptr<TextEditorStrings> lines_;
    std::unique_ptr<UndoBuffer> undo_;
    std::unique_ptr<KeyAdapter> keyAdapter_;
    std::unique_ptr<KeyHandler> keyHandler_;
    TextEditorScrollBar horzBar_{ScrollBarKind::sbHorizontal};
    TextEditorScrollBar vertBar_{ScrollBarKind::sbVertical};
    Clipboard* clipboard_ = nullptr;

    bool insertMode_ = true;
    bool readOnly_ = false;
    bool stripInvisible_ = false;
    bool wordWrap_ = true;
    int rightMargin_ = 80;
    int gutterWidth_ = 0;
    bool useMaxCharWidth_ = true;

    int caretX_ = 0;
    int caretY_ = 0;
    int caretParaOffset_ = 0;
    int caretParagraph_ = 0;
    int leftCol_ = 0;
    int topRow_ = 0;
    int visibleColCount_ = 0;
    int visibleRowCount_ = 0;
    int lastVisibleCol_ = 0;
    int lastVisibleRow_ = 0;
    int horzRange_ = 1;
    int vertRange_ = 1;
    int cellWidth_ = 1;
    int lineHeight_ = 1;
    // The windowless size: 80 columns and 25 rows of the default cell.
    int clientWidth_ = 642;
    int clientHeight_ = 400;
    bool selected_ = false;
    int selBegX_ = 0, selBegY_ = 0, selEndX_ = 0, selEndY_ = 0;
    int selAnchorX_ = 0, selAnchorY_ = 0;
    std::uint8_t selMode_ = 0;
    int repaintFirst_ = 0;
    int repaintLast_ = 0;
    int updateLock_ = 0;
    int compoundDepth_ = 0;
    bool modified_ = false;
    bool recording_ = false;
    std::string recordBuffer_;
    std::string macro_;
    std::array<Bookmark, 10> bookmarks_{};
    int maxLineLength_ = 512;
    int wrapWidth_ = 80;
    std::vector<bool> columnMarks_;
    struct PostedCommand {
        std::uint16_t Code;
        bool ByCommand; // posted while a command ran
    };
    std::deque<PostedCommand> posted_;
    bool playing_ = false;
    int commandDepth_ = 0; // commands running inside another one (or posted by one)
};

} // namespace velmora::editor
