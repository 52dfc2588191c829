// Editor state: options, caret, selection, text-level operations and view numbers.
#include "core/editor/CustomTextEditor.h"

#include "core/editor/EditorCommands.h"
#include "core/editor/EditorErrors.h"
#include "core/editor/EditorGuards.h"
#include "core/editor/UndoRecords.h"

#include <algorithm>

namespace velmora::editor {

// Connects the key handler to the editor without putting its names into the editor's own.
class CustomTextEditor::KeyAdapter : public KeyTarget {
public:
    explicit KeyAdapter(CustomTextEditor& ed) : ed_(ed) {}
    void ExecuteCommand(std::uint16_t code, char32_t ch) override {
        if (ch > cmdCharLast)
            ed_.TypeChar(ch);
        else
            ed_.ExecuteCommand(code);
    }
    bool ReadOnly() const override { return ed_.ReadOnly(); }
    bool WantTabs() const override { return ed_.WantTabs; }
    bool MoveFocus(bool previous) override { return ed_.MoveFocus(previous); }
    void FireKeyDown(std::uint16_t& key, ShiftState shift) override {
        if (ed_.OnKeyDown) ed_.OnKeyDown(ed_, key, shift);
    }
    void FireKeyPress(char32_t& ch) override {
        if (ed_.OnKeyPress) ed_.OnKeyPress(ed_, ch);
    }

private:
    CustomTextEditor& ed_;
};

// The line store's window into the editor.
class CustomTextEditor::LinesHost final : public TextEditorHost {
public:
    explicit LinesHost(CustomTextEditor& ed) : ed_(ed) {}
    CustomTextEditor& Sender() override { return ed_; }
    void LockUpdates() override { ++ed_.updateLock_; }
    void UnlockUpdates() noexcept override {
        if (ed_.updateLock_ > 0) --ed_.updateLock_;
    }
    bool UpdatesLocked() const override { return ed_.updateLock_ != 0; }
    void TextAllChanged() override { ed_.TextAllChanged(); }
    int TabSize() const override { return ed_.TabSize; }
    bool WordWrap() const override { return ed_.wordWrap_; }
    int WrapWidth() const override { return ed_.wrapWidth_; }
    void NoteLineLength(int length) override {
        if (length > ed_.maxLineLength_) ed_.maxLineLength_ = length + 1;
    }
    TextPos Caret() const override { return {ed_.caretX_, ed_.caretY_}; }
    void ResetCaret() override {
        // A stored caret of (-1, -1) makes the move to (0, 0) always count as a change.
        ed_.caretX_ = -1;
        ed_.caretY_ = -1;
        ed_.MoveCaret(0, 0);
    }
    void RecordLineUndo(int x, int y, const std::u32string& text, int offset) override {
        ed_.RecordUndo<ReLineUndo>(x, y, text, offset);
    }
    int UndoOffset(int x, int y) const override { return ed_.UndoOffset(x, y); }
    void ClearUndo() override { ed_.undo_->Clear(); }

private:
    CustomTextEditor& ed_;
};

namespace {
// Every line break as CR LF, the form the text stores, so lengths of inserted text match it.
std::u32string CrLfBreaks(const std::u32string& s) {
    std::u32string normal;
    normal.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == U'\r') {
            if (i + 1 < s.size() && s[i + 1] == U'\n') ++i;
            normal += U"\r\n";
        } else if (s[i] == U'\n') {
            normal += U"\r\n";
        } else {
            normal += s[i];
        }
    }
    return normal;
}
} // namespace

CustomTextEditor::CustomTextEditor()
    : linesHost_(std::make_unique<LinesHost>(*this)),
      lines_(std::make_unique<TextEditorStrings>(*linesHost_)),
      undo_(std::make_unique<UndoBuffer>(*this)), keyAdapter_(std::make_unique<KeyAdapter>(*this)),
      keyHandler_(std::make_unique<KeyHandler>(*keyAdapter_)) {
    // The windowless cell size on purpose; a widget measures its font again once it exists.
    UpdateEditorSize(true, false);
}

CustomTextEditor::~CustomTextEditor() = default;

void CustomTextEditor::SetLines(const platform::StringList& lines) {
    lines_->Assign(lines);
    undo_->Clear();
}

// --- Options ---

void CustomTextEditor::SetInsertMode(bool value) {
    insertMode_ = value;
    StatusChanged();
}

void CustomTextEditor::SetReadOnly(bool value) {
    readOnly_ = value;
    lines_->MarkAllStale();
    RepaintAll();
    StatusChanged();
}

void CustomTextEditor::SetStripInvisible(bool value) {
    stripInvisible_ = value;
    if (readOnly_) {
        lines_->MarkAllStale();
        RepaintAll();
    }
}

void CustomTextEditor::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    lines_->ReformatAll();
    undo_->Clear();
}

void CustomTextEditor::SetRightMargin(int value) {
    if (value < 8) throw EInvalidRightMarginValue();
    rightMargin_ = value;
}

void CustomTextEditor::SetGutterWidth(int value) {
    gutterWidth_ = value;
    UpdateEditorSize(true, true);
    RepaintAll();
}

void CustomTextEditor::SetUseMaxCharWidth(bool value) {
    useMaxCharWidth_ = value;
    UpdateEditorSize(true, true);
    RepaintAll();
}

int CustomTextEditor::TextAreaWidth() const {
    return std::max(clientWidth_ - TextAreaLeft(), 0);
}

// --- Notifications ---

void CustomTextEditor::TextChanged() {
    modified_ = true;
    if (OnChange) OnChange(*this);
    StatusChanged();
}

void CustomTextEditor::TextAllChanged() {
    SetSelected(false);
    UpdateEditorSize(false, false);
    if (updateLock_ == 0) RepaintAll();
}

void CustomTextEditor::StatusChanged() {
    if (OnChangeStatus) OnChangeStatus(*this);
}

void CustomTextEditor::SelectionChanged() {
    if (OnSelectionChange) OnSelectionChange(*this);
}

void CustomTextEditor::ClipboardChanged(bool canPaste) {
    if (OnChangeClipboardState) OnChangeClipboardState(*this, canPaste);
}

void CustomTextEditor::BookmarkChanged(int) {
    RepaintGutter();
}

void CustomTextEditor::Loaded() {
    UpdateEditorSize(true, false);
    TextChanged();
    SelectionChanged();
    ClipboardChanged(clipboard_ != nullptr && !clipboard_->GetText().empty());
    modified_ = false;
}

// --- Caret ---

void CustomTextEditor::SetCaret(int x, int y) {
    if (x == caretX_ && y == caretY_) return;
    RecordUndo<CaretUndo>(caretX_, caretY_);
    MoveCaret(x, y);
    if (updateLock_ == 0) StatusChanged();
}

void CustomTextEditor::MoveCaret(int x, int y) {
    if (x == caretX_ && y == caretY_) return;
    if (!CursorBeyondEOF) y = std::min(y, lines_->RowCount() - 1);
    y = std::max(y, 0);
    // With word wrap no row is wider than the wrap width; a column past it would be padded
    // into a row that is cut again under the caret.
    x = std::max(std::min(x, wordWrap_ ? wrapWidth_ : maxLineLength_), 0);
    if (y < topRow_)
        SetLeftTop(leftCol_, y);
    else if (y > std::max(lastVisibleRow_, 0))
        SetLeftTop(leftCol_, y - visibleRowCount_ + 1);
    if (x < leftCol_)
        SetLeftTop(x, topRow_);
    else if (x > lastVisibleCol_)
        SetLeftTop(x - visibleColCount_, topRow_);
    if (x != caretX_ || y != caretY_) {
        caretX_ = x;
        caretY_ = y;
        PaintCaret(true);
        StatusChanged();
    }
}

// --- Selection ---

void CustomTextEditor::SetSelected(bool value) {
    if (value == selected_) return;
    selected_ = value;
    SelectionChanged();
}

void CustomTextEditor::SetSelection(int begX, int begY, int endX, int endY) {
    selBegX_ = begX;
    selBegY_ = begY;
    selEndX_ = endX;
    selEndY_ = endY;
}

void CustomTextEditor::RestoreSelection(const SelectionState& s) {
    selMode_ = s.Mode;
    SetSelection(s.BegX, s.BegY, s.EndX, s.EndY);
}

void CustomTextEditor::ExtendSelection(int x, int y) {
    x = std::max(x, 0);
    y = std::max(y, 0);
    if (!selected_) {
        selAnchorX_ = x;
        selAnchorY_ = y;
        SetSelection(x, y, x, y);
        selected_ = true;
        repaintFirst_ = repaintLast_ = y;
    } else {
        RecordUndo<SelectUndo>(caretX_, caretY_, Selection());
        const int oldBegY = selBegY_, oldEndY = selEndY_;
        if (selAnchorY_ >= y) selBegY_ = y;
        if (y >= selAnchorY_) selEndY_ = y;
        if (y < selAnchorY_ || (y == selAnchorY_ && x <= selAnchorX_)) {
            selBegX_ = x;
            selEndX_ = selAnchorX_;
            selEndY_ = selAnchorY_;
        } else {
            selBegX_ = selAnchorX_;
            selBegY_ = selAnchorY_;
            selEndX_ = x;
        }
        selBegY_ = std::max(selBegY_, 0);
        selected_ = true;
        if (compoundDepth_ == 0 && updateLock_ == 0) {
            RepaintRows(std::min(oldBegY, selBegY_), std::max(oldBegY, selBegY_));
            RepaintRows(std::min(oldEndY, selEndY_), std::max(oldEndY, selEndY_));
            SelectionChanged();
        }
    }
    repaintFirst_ = std::min(repaintFirst_, selBegY_);
    repaintLast_ = std::max(repaintLast_, selEndY_);
}

void CustomTextEditor::Deselect() {
    if (!selected_) return;
    SetSelected(false);
    RecordUndo<UnselectUndo>(caretX_, caretY_, Selection());
    RepaintRows(selBegY_, selEndY_);
}

std::u32string CustomTextEditor::SelText() const {
    if (!selected_) return {};
    if (!IsRowValid(selBegY_) || !IsRowValid(selEndY_)) {
        Beep();
        return {};
    }
    const int bx = ClampToRow(selBegX_, selBegY_);
    const int ex = ClampToRow(selEndX_, selEndY_);
    if (bx == ex && selBegY_ == selEndY_) return {};
    const int a = PosToOffset(bx, selBegY_);
    const int b = PosToOffset(ex, selEndY_);
    return lines_->TextRange(a, b - a);
}

void CustomTextEditor::ReplaceSelection(const std::u32string& s) {
    UpdateGuard update(*this);
    CompoundUndoGuard group(*this);
    DeleteSelected();
    if (!s.empty() && !readOnly_) {
        const std::u32string text = StoredForm(s);
        InsertStored(text);
        // The inserted text ends at the caret; select it.
        const int start = PosToOffset(caretX_, caretY_) - static_cast<int>(text.size());
        SetSelected(true);
        SetSelStart(start + 1);
        SetSelLength(static_cast<int>(text.size()));
    }
}

int CustomTextEditor::SelStart() const {
    const int x = selected_ ? selBegX_ : caretX_;
    const int y = selected_ ? selBegY_ : caretY_;
    return PosToOffset(ClampToRow(x, y), y) + 1;
}

void CustomTextEditor::SetSelStart(int n) {
    SetSelected(true);
    const TextPos p = OffsetToPos(n - 1);
    SetSelection(p.X, p.Y, p.X, p.Y);
    selAnchorX_ = p.X;
    selAnchorY_ = p.Y;
    MoveCaret(p.X, p.Y);
    SetSelLength(0);
    if (caretY_ < topRow_ || caretY_ > lastVisibleRow_)
        SetLeftTop(leftCol_, std::max(0, caretY_ - visibleRowCount_ / 2));
}

int CustomTextEditor::SelLength() const {
    return static_cast<int>(SelText().size());
}

void CustomTextEditor::SetSelLength(int n) {
    SetSelected(n > 0);
    const TextPos end = OffsetToPos(n + SelStart() - 1);
    selEndX_ = end.X;
    selEndY_ = end.Y;
    repaintFirst_ = selBegY_;
    repaintLast_ = selEndY_;
    MoveCaret(end.X, end.Y);
    RepaintAll();
}

// --- Text operations ---

void CustomTextEditor::InsertText(const std::u32string& s) {
    {
        UpdateGuard update(*this);
        std::u32string normal = StoredForm(s);
        if (OnTextInsert) OnTextInsert(*this, normal);
        DeleteSelected();
        // The handler may have put tabs or bare breaks back in.
        InsertAtCaret(normal);
    }
    vertBar_.SetPosition(topRow_);
}

std::u32string CustomTextEditor::StoredForm(const std::u32string& s) const {
    return lines_->ExpandTabs(CrLfBreaks(s));
}

void CustomTextEditor::InsertAtCaret(const std::u32string& raw) {
    // Tabs and breaks take their stored form before recording, so undo removes exactly what
    // was stored and the caret lands after it.
    if (raw.empty() || readOnly_) return;
    InsertStored(StoredForm(raw));
}

void CustomTextEditor::InsertStored(const std::u32string& s) {
    if (s.empty() || readOnly_) return;
    PaintCaret(false);
    {
        UpdateGuard update(*this);
        lines_->FillToCaret();
        UpdateEditorSize(true, false);
        vertBar_.SetPosition(topRow_);
        const int offset = UndoOffset(caretX_, caretY_);
        RecordUndo<InsertUndo>(caretX_, caretY_, s, offset);
        lines_->ReplaceText(offset, 0, s);
        // The scroll ranges follow now: an outer update bracket (a macro playback) would keep
        // them stale for the commands that follow.
        UpdateEditorSize(false, false);
        const TextPos p = OffsetToPos(offset + static_cast<int>(s.size()));
        MoveCaret(p.X, p.Y);
        TextChanged();
    }
    PaintCaret(true);
}

void CustomTextEditor::DeleteSelected() {
    if (!selected_ || readOnly_) return;
    const std::u32string text = SelText();
    SetSelected(false);
    if (text.empty()) return;
    PaintCaret(false);
    const int offset = PosToOffset(selBegX_, selBegY_);
    RecordUndo<DeleteSelectedUndo>(caretX_, caretY_, text, UndoOffset(caretX_, caretY_),
                                   Selection(), offset);
    lines_->ReplaceText(offset, static_cast<int>(text.size()), U"");
    const TextPos p = OffsetToPos(offset);
    MoveCaret(p.X, p.Y);
    TextChanged();
    UpdateEditorSize(false, false);
    if (updateLock_ == 0) RepaintAll();
    PaintCaret(true);
}

void CustomTextEditor::SelectAll() {
    ExecuteCommand(cmdSelectAll);
}
void CustomTextEditor::Undo() {
    ExecuteCommand(cmdUndo);
}

void CustomTextEditor::ClipboardCopy() {
    const std::u32string text = SelText();
    if (text.empty() || clipboard_ == nullptr) return;
    // The desktop clipboard carries LF line breaks.
    std::u32string lf;
    lf.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') continue;
        lf += text[i];
    }
    clipboard_->SetText(lf);
}

void CustomTextEditor::ClipboardCut() {
    if (readOnly_) return;
    ClipboardCopy();
    DeleteSelected();
}

void CustomTextEditor::ClipboardPaste() {
    if (readOnly_ || clipboard_ == nullptr) return;
    // Clipboard text ends at a NUL, as a C string does: a NUL kept in a line would be shown,
    // while the name handed to the system would end there.
    std::u32string text = clipboard_->GetText();
    if (const std::size_t nul = text.find(U'\0'); nul != std::u32string::npos) text.resize(nul);
    InsertText(text);
}

void CustomTextEditor::BeginUpdate() {
    ++updateLock_;
}

void CustomTextEditor::EndUpdate() {
    if (updateLock_ <= 0) return;
    if (--updateLock_ == 0) {
        UpdateEditorSize(false, true);
        StatusChanged();
        RepaintAll();
    }
}

void CustomTextEditor::BeginCompound() {
    ++compoundDepth_;
    RecordUndo<BeginCompoundUndo>();
}

void CustomTextEditor::EndCompound() {
    RecordUndo<EndCompoundUndo>();
    if (compoundDepth_ > 0) --compoundDepth_;
}

TextPos CustomTextEditor::OffsetToPos(int offset) const {
    const TextEditorStrings& l = *lines_;
    if (l.Count() == 0) return {-1, -1};
    offset = std::max(offset, 0);
    const int lastRow = l.RowCount() - 1;
    if (offset >= l.TextLength()) return {static_cast<int>(l.GetRow(lastRow).size()), lastRow};
    const int p = l.ParagraphAtOffset(offset);
    const int inPara = offset - l.ParagraphStart(p);
    const int len = static_cast<int>(l.Get32(p).size());
    if (inPara > len) {
        // Inside a line break: the start of the next paragraph, or the end of the text.
        if (p + 1 < l.Count()) return l.ParagraphToRow(p + 1, 0);
        return {static_cast<int>(l.GetRow(lastRow).size()), lastRow};
    }
    return l.ParagraphToRow(p, inPara);
}

int CustomTextEditor::PosToOffset(int x, int y) const {
    const TextEditorStrings& l = *lines_;
    if (y >= l.RowCount()) return l.TextLength();
    if (y < 0) return -1;
    const RowMapping m = l.MapRow(y);
    if (m.Paragraph < 0) return l.TextLength();
    const Paragraph& p = l.GetParagraph(m.Paragraph);
    int offset = l.ParagraphStart(m.Paragraph);
    for (int i = 0; i < m.Piece; ++i)
        offset += static_cast<int>(p.Pieces[static_cast<std::size_t>(i)].size());
    return offset + std::min(std::max(x, 0),
                             static_cast<int>(p.Pieces[static_cast<std::size_t>(m.Piece)].size()));
}

int CustomTextEditor::UndoOffset(int x, int y) const {
    if (lines_->MapRow(y).Paragraph < 0) return lines_->TextLength();
    const ParagraphPos pp = lines_->RowToParagraph(x, y);
    return lines_->ParagraphStart(pp.Paragraph) + pp.Offset;
}

void CustomTextEditor::ScrollToCaretCentered(int x, int y) {
    int top = topRow_;
    int left = leftCol_;
    if (y < topRow_ || y > lastVisibleRow_) top = y - visibleRowCount_ / 2;
    if (x < leftCol_ || x > visibleColCount_) left = x - visibleColCount_ / 2;
    SetLeftTop(left, top);
    SetCaret(x, y);
}

int CustomTextEditor::ClampToRow(int x, int y) const {
    if (!IsRowValid(y)) return x;
    const int len = static_cast<int>(lines_->GetRow(y).size());
    if (len == 0) return 0;
    return std::min(x, len);
}

// --- View ---

void CustomTextEditor::SetClientSize(int width, int height) {
    clientWidth_ = std::max(width, 0);
    clientHeight_ = std::max(height, 0);
    UpdateEditorSize(false, true);
}

void CustomTextEditor::RecomputeLastVisible() {
    lastVisibleCol_ = leftCol_ + visibleColCount_ - 1;
    lastVisibleRow_ = topRow_ + visibleRowCount_ - 1;
}

void CustomTextEditor::UpdateEditorSize(bool measure, bool paintGutter) {
    if (measure) {
        const CellSize c = MeasureCell(); // NOLINT(clang-analyzer-optin.cplusplus.VirtualCall)
        cellWidth_ = std::max(1, c.Width);
        lineHeight_ = std::max(1, c.Height);
        columnMarks_.assign(static_cast<std::size_t>(maxLineLength_), false);
    }
    visibleColCount_ = TextAreaWidth() / cellWidth_;
    visibleRowCount_ = clientHeight_ / lineHeight_;
    RecomputeLastVisible();
    horzRange_ = -1;
    vertRange_ = -1;
    SetVertRange(lines_->RowCount());
    SetHorzRange(wordWrap_ ? wrapWidth_ : maxLineLength_);
    if (paintGutter) RepaintGutter();
}

void CustomTextEditor::SetVertRange(int n) {
    if (n == vertRange_) return;
    n = std::max(n, 1);
    vertRange_ = n;
    const int large = std::max(visibleRowCount_ - 1, 0);
    vertBar_.SetParams(0, n > visibleRowCount_ ? n - 1 : 0, large, visibleRowCount_);
}

void CustomTextEditor::SetHorzRange(int n) {
    if (n == horzRange_) return;
    n = std::max(n, 1);
    horzRange_ = n;
    const int large = std::max(visibleColCount_ - 1, 0);
    horzBar_.SetParams(0, n > visibleColCount_ ? n - 1 : 0, large, visibleColCount_);
}

void CustomTextEditor::Scroll(bool vertical, int value) {
    if (updateLock_ == 0) PaintCaret(false);
    const int moved = vertical ? topRow_ - value : 0;
    if (vertical)
        topRow_ = value;
    else
        leftCol_ = value;
    RecomputeLastVisible();
    if (updateLock_ == 0) {
        if (vertical)
            ScrollTextArea(moved);
        else
            RepaintAll();
        RepaintGutter();
        PaintCaret(true);
    }
    if (OnScroll) OnScroll(*this);
}

void CustomTextEditor::SetLeftTop(int col, int row) {
    col = std::max(col, 0);
    row = std::max(row, 0);
    if (col != leftCol_) {
        horzBar_.SetPosition(col);
        Scroll(false, col);
    }
    if (row != topRow_) {
        vertBar_.SetPosition(row);
        Scroll(true, row);
    }
}

void CustomTextEditor::ScrollBarAction(bool vertical, ScrollCode code, int trackPosition) {
    TextEditorScrollBar& bar = vertical ? vertBar_ : horzBar_;
    const int target = bar.Target(code, trackPosition);
    bar.SetPosition(target);
    // The thumb's release lands where tracking already put the view. The ends move the view
    // too, so that the view always stands where the bar shows it.
    if (code == ScrollCode::scThumbPosition || code == ScrollCode::scEndScroll) return;
    if (target != (vertical ? topRow_ : leftCol_)) Scroll(vertical, target);
}

void CustomTextEditor::MouseWheel(bool down, int lines) {
    vertBar_.SetPosition(vertBar_.Position() + (down ? lines : -lines));
    if (vertBar_.Position() != topRow_) Scroll(true, vertBar_.Position());
}

// --- Keys ---

void CustomTextEditor::KeyDown(std::uint16_t& key, ShiftState shift) {
    keyHandler_->KeyDown(key, shift);
}

void CustomTextEditor::KeyPress(char32_t ch) {
    keyHandler_->KeyPress(ch);
}

// --- Posted commands ---

void CustomTextEditor::PostCommand(std::uint16_t code) {
    posted_.push_back({code, commandDepth_ > 0});
    if (OnCommandPosted) OnCommandPosted(*this);
}

void CustomTextEditor::RunPostedCommands() {
    while (!posted_.empty()) {
        const PostedCommand posted = posted_.front();
        posted_.pop_front();
        // A command posted by a command is not recorded: the macro holds the command that
        // posted it, which posts it again on playback. Posts from outside are recorded.
        const int depth = posted.ByCommand ? 1 : 0;
        commandDepth_ += depth;
        ScopeExit restore([this, depth] { commandDepth_ -= depth; });
        ExecuteCommand(posted.Code);
    }
}

} // namespace velmora::editor
