// The text editing commands: typing, line breaks, deletion, tabs, block indent, case, clipboard.
#include "core/editor/CustomTextEditor.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/EditorErrors.h"
#include "core/editor/TextEditorHost.h"
#include "core/platform/CaseMap.h"

#include <algorithm>

namespace velmora::editor {

namespace {
void Complete() {
    throw EComplete();
}

std::u32string Blanks(int n) {
    return std::u32string(static_cast<std::size_t>(std::max(n, 0)), U' ');
}

int LeadingBlanks(const std::u32string& s) {
    return static_cast<int>(std::min(s.find_first_not_of(U' '), s.size()));
}

std::u32string TrimRight(std::u32string s) {
    s.erase(std::min(s.find_last_not_of(U' ') + 1, s.size()));
    return s;
}

const std::u32string kBreak = U"\r\n";
} // namespace

void CustomTextEditor::Prepare(int& x, int& y) {
    lines_->FillToCaret();
    UpdateEditorSize(true, false);
    vertBar_.SetPosition(topRow_);
    x = caretX_;
    y = caretY_;
    const ParagraphPos pp = lines_->RowToParagraph(x, y);
    caretParaOffset_ = pp.Offset;
    caretParagraph_ = pp.Paragraph;
}

void CustomTextEditor::Refresh(int firstRow, int oldRowCount) {
    RepaintRows(firstRow, firstRow);
    if (lines_->RowCount() != oldRowCount) {
        UpdateEditorSize(false, false);
        RepaintRows(firstRow, -1);
    }
    TextChanged();
}

void CustomTextEditor::TypeCharacter(char32_t c, int& x, int& y) {
    lines_->FillToCaret();
    UpdateEditorSize(true, false);
    vertBar_.SetPosition(topRow_);
    x = caretX_;
    y = caretY_;
    // Control characters only pad; they never enter the text.
    if (c < 32) return;
    if (selected_) DeleteSelected();
    x = caretX_;
    y = caretY_;
    const ParagraphPos pp = lines_->RowToParagraph(x, y);
    caretParaOffset_ = pp.Offset;
    caretParagraph_ = pp.Paragraph;
    const int oldRows = lines_->RowCount();
    std::u32string row = lines_->GetRow(y);
    const std::size_t col = std::min(static_cast<std::size_t>(x), row.size());
    if (insertMode_) {
        RecordUndo<InsertUndo>(x, y, std::u32string(1, c), UndoOffset(x, y));
        row.insert(col, 1, c);
    } else {
        std::u32string old;
        if (row.size() <= col) {
            row += c;
        } else {
            old.assign(1, row[col]);
            row[col] = c;
        }
        RecordUndo<OverwriteUndo>(x, y, old, std::u32string(1, c), UndoOffset(x, y));
    }
    lines_->LockedPutRow(y, row);
    ++caretParaOffset_;
    const TextPos p = lines_->ParagraphToRow(caretParagraph_, caretParaOffset_);
    const int firstRow = y;
    x = p.X;
    y = p.Y;
    Refresh(firstRow, oldRows);
}

int CustomTextEditor::SmartIndent() const {
    // The first non-empty paragraph from the caret's upwards sets the indent.
    const int limit = 2 * visibleRowCount_;
    for (int p = caretParagraph_, seen = 0; p >= 0 && seen <= limit; --p, ++seen) {
        const std::u32string s = lines_->Get32(p);
        if (!s.empty()) return LeadingBlanks(s);
    }
    return 0;
}

void CustomTextEditor::NewLine(int& x, int& y) {
    if (selected_) DeleteSelected();
    Prepare(x, y);
    const int para = caretParagraph_;
    const std::u32string original = lines_->Get32(para);
    const std::size_t cut = std::min(static_cast<std::size_t>(caretParaOffset_), original.size());
    const std::u32string head = original.substr(0, cut);
    const std::u32string rest0 = original.substr(cut);
    std::u32string rest = rest0;
    if (OnBreakLine) OnBreakLine(*this, original, rest);
    const int oldRows = lines_->RowCount();
    const int firstRow = lines_->GetParagraph(para).FirstRow;
    if (rest != rest0) {
        const std::u32string replacement = head + kBreak + rest + kBreak;
        BeginCompound();
        RecordUndo<CaretUndo>(caretX_, caretY_);
        RecordUndo<DeleteUndo>(0, firstRow, original + kBreak, UndoOffset(0, firstRow));
        RecordUndo<InsertUndo>(0, firstRow, replacement, UndoOffset(0, firstRow));
        EndCompound();
        lines_->ReplaceText(lines_->ParagraphStart(para), static_cast<int>(original.size()) + 2,
                            replacement);
        x = 0;
        y = lines_->GetParagraph(std::min(para + 1, lines_->Count() - 1)).FirstRow;
    } else {
        const int indent = !AutoIndent ? 0 : SmartAutoIndent ? SmartIndent() : AutoIndentSize;
        int added = 0;
        if (AutoIndent && rest.find_first_not_of(U' ') != std::u32string::npos &&
            LeadingBlanks(rest) < indent) {
            added = indent - LeadingBlanks(rest);
            rest = Blanks(added) + rest;
        }
        BeginCompound();
        RecordUndo<InsertUndo>(caretX_, caretY_, kBreak + Blanks(added),
                               UndoOffset(caretX_, caretY_));
        lines_->LockedPut(para, head);
        lines_->Insert(para + 1, rest);
        EndCompound();
        x = indent;
        y = lines_->GetParagraph(para + 1).FirstRow;
    }
    Refresh(std::max(y - 1, 0), oldRows);
}

void CustomTextEditor::JoinParagraphs(int first, int& x, int& y) {
    UpdateLockGuard lock(*linesHost_);
    const std::u32string prev = lines_->Get32(first);
    const std::u32string cur = lines_->Get32(first + 1);
    std::u32string joinedCur = cur;
    if (OnConcatLine) OnConcatLine(*this, prev, joinedCur);
    const int firstRow = lines_->GetParagraph(first).FirstRow;
    BeginCompound();
    RecordUndo<CaretUndo>(caretX_, caretY_);
    RecordUndo<DeleteUndo>(0, firstRow, prev + kBreak + cur + kBreak, UndoOffset(0, firstRow));
    RecordUndo<InsertUndo>(0, firstRow, prev + joinedCur + kBreak, UndoOffset(0, firstRow));
    EndCompound();
    lines_->LockedPut(first, prev + joinedCur);
    lines_->Delete(first + 1);
    const TextPos p = lines_->ParagraphToRow(first, static_cast<int>(prev.size()));
    x = p.X;
    y = p.Y;
}

void CustomTextEditor::PrepareColumnMarks() {
    columnMarks_.assign(static_cast<std::size_t>(std::max(maxLineLength_, 1)), false);
}

int CustomTextEditor::UnindentTarget(int x, int y) {
    const std::u32string r = TrimRight(lines_->GetRow(y));
    const std::size_t head = std::min(static_cast<std::size_t>(x), r.size());
    if (r.substr(0, head).find_first_not_of(U' ') != std::u32string::npos) return x - 1;
    if (static_cast<std::size_t>(x) < r.size() && r[static_cast<std::size_t>(x)] == U' ')
        return x - 1;
    PrepareColumnMarks();
    auto mark = [&](int c) {
        if (c >= 0 && c < static_cast<int>(columnMarks_.size()))
            columnMarks_[static_cast<std::size_t>(c)] = true;
    };
    mark(0);
    int limit = x - 1;
    const int lowest = std::max(0, y - 2 * visibleRowCount_);
    for (int row = y - 1; row >= lowest && limit > 1; --row) {
        const std::u32string s = lines_->GetRow(row);
        const int n = std::min(limit, static_cast<int>(s.size()));
        for (int k = 0; k < n; ++k) {
            if (s[static_cast<std::size_t>(k)] != U' ') {
                mark(k);
                limit = k + 1;
                break;
            }
        }
    }
    for (int c = std::min(x, static_cast<int>(columnMarks_.size()) - 1); c > 0; --c)
        if (columnMarks_[static_cast<std::size_t>(c)]) return c;
    return 0;
}

bool CustomTextEditor::DeleteSelectionInstead(int& x, int& y) {
    // Backspace and Delete with a selection remove the selection and nothing else.
    if (!selected_) return false;
    DeleteSelected();
    x = caretX_;
    y = caretY_;
    TextChanged();
    return true;
}

void CustomTextEditor::Backspace(int& x, int& y) {
    if (DeleteSelectionInstead(x, y)) return;
    Prepare(x, y);
    const int oldRows = lines_->RowCount();
    const int firstRow = y;
    if (x == 0) {
        if (y == 0) return;
        if (caretParaOffset_ == 0) {
            JoinParagraphs(caretParagraph_ - 1, x, y);
        } else {
            // Column 0 of a wrapped continuation row: the paragraph goes on above.
            std::u32string p = lines_->Get32(caretParagraph_);
            const std::size_t at = static_cast<std::size_t>(caretParaOffset_ - 1);
            const std::u32string removed(1, p[at]);
            p.erase(at, 1);
            lines_->LockedPut(caretParagraph_, p);
            --caretParaOffset_;
            const TextPos pos = lines_->ParagraphToRow(caretParagraph_, caretParaOffset_);
            x = pos.X;
            y = pos.Y;
            RecordUndo<BackspaceUndo>(x, y, removed, UndoOffset(x, y));
        }
    } else {
        const int target = BackspaceUnindents ? UnindentTarget(x, y) : x - 1;
        std::u32string row = lines_->GetRow(y);
        const std::size_t from = std::min(static_cast<std::size_t>(target), row.size());
        const std::size_t count = std::min(static_cast<std::size_t>(x), row.size()) - from;
        const std::u32string removed = row.substr(from, count);
        row.erase(from, count);
        lines_->LockedPutRow(y, row);
        caretParaOffset_ -= static_cast<int>(count);
        const TextPos pos = lines_->ParagraphToRow(caretParagraph_, caretParaOffset_);
        x = pos.X;
        y = pos.Y;
        RecordUndo<BackspaceUndo>(x, y, removed, UndoOffset(x, y));
    }
    Refresh(std::min(firstRow, y), oldRows);
}

void CustomTextEditor::DeleteChar(int& x, int& y) {
    if (lines_->RowCount() == 0) {
        // Recorded, so that undo gives back the empty text.
        RecordUndo<ReLineUndo>(0, 0, kBreak, 0);
        lines_->Add(std::u32string());
    }
    if (DeleteSelectionInstead(x, y)) return;
    Prepare(x, y);
    const int oldRows = lines_->RowCount();
    std::u32string row = lines_->GetRow(y);
    if (x < static_cast<int>(row.size())) {
        RecordUndo<DeleteUndo>(x, y, std::u32string(1, row[static_cast<std::size_t>(x)]),
                               UndoOffset(x, y));
        row.erase(static_cast<std::size_t>(x), 1);
        lines_->LockedPutRow(y, row);
        const TextPos pos = lines_->ParagraphToRow(caretParagraph_, caretParaOffset_);
        x = pos.X;
        y = pos.Y;
    } else {
        if (y >= lines_->RowCount() - 1) return;
        const Paragraph para = lines_->GetParagraph(caretParagraph_);
        if (y < para.FirstRow + para.PieceCount - 1) {
            // The paragraph continues on the next row: delete its next character.
            std::u32string p = para.Text();
            const std::size_t at = static_cast<std::size_t>(caretParaOffset_);
            if (at < p.size()) {
                RecordUndo<DeleteUndo>(x, y, std::u32string(1, p[at]), UndoOffset(x, y));
                p.erase(at, 1);
                lines_->LockedPut(caretParagraph_, p);
            }
            const TextPos pos = lines_->ParagraphToRow(caretParagraph_, caretParaOffset_);
            x = pos.X;
            y = pos.Y;
        } else {
            JoinParagraphs(caretParagraph_, x, y);
        }
    }
    Refresh(y, oldRows);
}

int CustomTextEditor::NextTabStop(int x) const {
    if (TabSize <= 0) return x;
    if (x < TabSize) return TabSize;
    if (x % TabSize == 0) return x + TabSize;
    return (x / TabSize + 1) * TabSize;
}

int CustomTextEditor::SmartTabTarget(int x, int y) {
    PrepareColumnMarks();
    const int size = static_cast<int>(columnMarks_.size());
    auto mark = [&](int c) {
        if (c >= 0 && c < size) columnMarks_[static_cast<std::size_t>(c)] = true;
    };
    if (SmartTab) {
        // P is shared by all rows: a higher row only adds columns beyond those already seen.
        int p = 1;
        const int lowest = std::max(0, y - 2 * visibleRowCount_);
        for (int row = y - 1; row >= lowest; --row) {
            const std::u32string s = TrimRight(lines_->GetRow(row));
            const int len = static_cast<int>(s.size());
            if (len > 0) mark(len - 1);
            bool last = false;
            for (; p <= len; ++p) {
                if (s[static_cast<std::size_t>(p - 1)] == U' ') {
                    mark(p - 1);
                    if (p >= x) last = true;
                }
            }
            if (last) break;
        }
        for (int c = x + 1; c < size; ++c)
            if (columnMarks_[static_cast<std::size_t>(c - 1)] &&
                !columnMarks_[static_cast<std::size_t>(c)])
                return c;
    }
    return NextTabStop(x);
}

void CustomTextEditor::TabCommand(bool back, int& x, int& y, bool& recordCaret) {
    if (selected_) {
        PostCommand(back ? cmdUnindentBlock : cmdIndentBlock);
        return;
    }
    if (back) {
        // Back to the previous tab stop; no text changes.
        x = TabSize > 0 && x > 0 ? ((x - 1) / TabSize) * TabSize : x;
        return;
    }
    Prepare(x, y);
    const int target = SmartTabTarget(x, y);
    if (!insertMode_) {
        x = target;
        return;
    }
    const int oldRows = lines_->RowCount();
    const std::u32string blanks = Blanks(target - x);
    RecordUndo<InsertTabUndo>(x, y, blanks, UndoOffset(x, y));
    std::u32string row = lines_->GetRow(y);
    row.insert(std::min(static_cast<std::size_t>(x), row.size()), blanks);
    lines_->LockedPutRow(y, row);
    caretParaOffset_ += static_cast<int>(blanks.size());
    const TextPos pos = lines_->ParagraphToRow(caretParagraph_, caretParaOffset_);
    const int firstRow = y;
    x = pos.X;
    y = pos.Y;
    recordCaret = false;
    Refresh(firstRow, oldRows);
}

void CustomTextEditor::IndentBlock(bool indent, int& x, int& y) {
    if (!selected_ || lines_->Count() == 0) return;
    auto paraOf = [&](int px, int py) {
        if (lines_->MapRow(py).Paragraph < 0) py = lines_->RowCount() - 1;
        return lines_->RowToParagraph(px, py);
    };
    const int first = paraOf(selBegX_, selBegY_).Paragraph;
    const ParagraphPos endPos = paraOf(selEndX_, selEndY_);
    int last = endPos.Paragraph;
    if (endPos.Offset == 0) {
        // A selection ending at the start of a paragraph does not take that paragraph.
        --last;
        if (last >= 0) {
            const TextPos e =
                lines_->ParagraphToRow(last, static_cast<int>(lines_->Get32(last).size()));
            selEndX_ = e.X;
            selEndY_ = e.Y;
        }
    }
    // Recording drops the undone tail first, so count from the current position.
    const int recordsBefore = undo_->UndoPosition + 1;
    BeginCompound();
    RecordUndo<SelectUndo>(caretX_, caretY_, Selection());
    bool changed = false;
    lines_->Lock();
    if (indent) {
        changed = first <= last && IndentSize > 0;
        if (changed) {
            RecordUndo<IndentUndo>(first, last, IndentSize);
            EndCompound();
            for (int p = first; p <= last; ++p)
                lines_->Put(p, Blanks(IndentSize) + lines_->Get32(p));
        }
    } else {
        for (int p = first; p <= last; ++p) {
            const std::u32string s = lines_->Get32(p);
            const int n = std::min(LeadingBlanks(s), std::max(IndentSize, 0));
            if (n > 0) lines_->Put(p, s.substr(static_cast<std::size_t>(n)));
            RecordUndo<UnindentUndo>(p, n);
            changed = changed || n > 0;
        }
        if (changed) EndCompound();
    }
    if (!changed) {
        // Nothing to take back: leave no empty step in the history.
        while (undo_->Count() > recordsBefore)
            undo_->RemoveLast();
        --compoundDepth_;
    }
    lines_->Unlock();
    if (changed) {
        const int d = indent ? IndentSize : -IndentSize;
        selBegX_ = std::max(selBegX_ + d, 0);
        selEndX_ += d;
        if (selEndX_ < 0) selEndX_ = static_cast<int>(lines_->Get32(std::max(last, 0)).size());
        const int caretPara = lines_->MapRow(y).Paragraph;
        if (caretPara >= first && caretPara <= last) x = std::max(x + d, 0);
        TextChanged();
    }
    SetSelected(true);
}

void CustomTextEditor::DeleteLine() {
    if (!IsRowValid(caretY_)) return;
    const RowMapping m = lines_->MapRow(caretY_);
    const bool lastPiece = m.Piece == lines_->GetParagraph(m.Paragraph).PieceCount - 1;
    for (std::uint16_t c :
         {cmdBeginCompound, cmdBeginUpdate, cmdLineStart, cmdSelLineEnd, cmdDeleteSelection})
        RunCommand(c, 0);
    if (lastPiece) RunCommand(cmdDeleteChar, 0);
    RunCommand(cmdEndUpdate, 0);
    RunCommand(cmdEndCompound, 0);
    Complete();
}

void CustomTextEditor::DeleteWord(bool right, int y) {
    if (lines_->GetRow(y).empty()) {
        RunCommand(right ? cmdDeleteChar : cmdBackspace, 0);
        Complete();
    }
    for (std::uint16_t c :
         {cmdBeginCompound, cmdBeginUpdate, right ? cmdSelWordRight : cmdSelWordLeft,
          cmdDeleteSelection, cmdEndUpdate, cmdEndCompound})
        RunCommand(c, 0);
    Complete();
}

void CustomTextEditor::CaseCommand(std::uint8_t conversion) {
    if (!selected_) return;
    const std::u32string text = SelText();
    std::u32string result;
    if (OnCaseConversion) {
        result = OnCaseConversion(*this, conversion, text);
    } else if (conversion == 0) {
        result = platform::ToUpper(text);
    } else if (conversion == 1) {
        result = platform::ToLower(text);
    } else {
        result = text;
        for (char32_t& c : result)
            c = platform::ToUpper(c) == c ? platform::ToLower(c) : platform::ToUpper(c);
    }
    ReplaceSelection(result);
}

} // namespace velmora::editor
