// How each kind of undo record takes its change back.
#include "core/editor/UndoRecords.h"

#include "core/editor/CustomTextEditor.h"
#include "core/editor/UndoBuffer.h"

#include <algorithm>

namespace velmora::editor {

namespace {

// Moves the buffer's position back over the run of records of the current one's kind that
// continue each other and returns the records of the run, earliest first.
template <class T> std::vector<const T*> TakeRun(UndoBuffer& buffer) {
    const UndoKind kind = buffer.Current()->Kind();
    int pos = buffer.UndoPosition;
    while (pos > 0 && buffer.Item(pos - 1)->Kind() == kind &&
           buffer.Item(pos)->Joins(*buffer.Item(pos - 1)))
        --pos;
    std::vector<const T*> run;
    for (int i = pos; i <= buffer.UndoPosition; ++i)
        run.push_back(static_cast<const T*>(buffer.Item(i)));
    buffer.UndoPosition = pos;
    return run;
}

int Length(const std::u32string& s) {
    return static_cast<int>(s.size());
}

} // namespace

bool InsertUndo::Continues(const Undo& earlier) const {
    const auto& e = static_cast<const InsertUndo&>(earlier);
    return Offset == e.Offset + Length(e.Text);
}

bool OverwriteUndo::Continues(const Undo& earlier) const {
    const auto& e = static_cast<const OverwriteUndo&>(earlier);
    return Offset == e.Offset + Length(e.NewText);
}

bool DeleteUndo::Continues(const Undo& earlier) const {
    return Offset == static_cast<const DeleteUndo&>(earlier).Offset;
}

bool BackspaceUndo::Continues(const Undo& earlier) const {
    return Offset + Length(Text) == static_cast<const BackspaceUndo&>(earlier).Offset;
}

bool DeleteSelectedUndo::Continues(const Undo& earlier) const {
    return SelOffset == static_cast<const DeleteSelectedUndo&>(earlier).SelOffset;
}

void CaretUndo::Revert(UndoBuffer& buffer) {
    auto run = TakeRun<CaretUndo>(buffer);
    Owner().MoveCaret(run.front()->CaretX, run.front()->CaretY);
}

void InsertUndo::Revert(UndoBuffer& buffer) {
    auto run = TakeRun<InsertUndo>(buffer);
    std::u32string joined;
    for (const auto* r : run)
        joined += r->Text;
    const InsertUndo& first = *run.front();
    Owner().Lines().ReplaceText(first.Offset, static_cast<int>(joined.size()), U"");
    Owner().MoveCaret(first.CaretX, first.CaretY);
}

void OverwriteUndo::Revert(UndoBuffer& buffer) {
    auto run = TakeRun<OverwriteUndo>(buffer);
    std::u32string newText, oldText;
    for (const auto* r : run) {
        newText += r->NewText;
        oldText += r->OldText;
    }
    const OverwriteUndo& first = *run.front();
    Owner().Lines().ReplaceText(first.Offset, static_cast<int>(newText.size()), oldText);
    Owner().MoveCaret(first.CaretX, first.CaretY);
}

void DeleteUndo::Revert(UndoBuffer& buffer) {
    auto run = TakeRun<DeleteUndo>(buffer);
    std::u32string joined;
    for (const auto* r : run)
        joined += r->Text;
    // The offset taken when the record was made, not its row: with word wrap the deletion may
    // have re-cut the paragraph, so the row now names a different place.
    const int offset = run.back()->Offset;
    CustomTextEditor& ed = Owner();
    ed.Lines().ReplaceText(offset, 0, joined);
    TextPos p = ed.OffsetToPos(offset);
    ed.MoveCaret(p.X, p.Y);
}

void BackspaceUndo::Revert(UndoBuffer& buffer) {
    auto run = TakeRun<BackspaceUndo>(buffer);
    std::u32string joined;
    for (auto it = run.rbegin(); it != run.rend(); ++it)
        joined += (*it)->Text;
    const BackspaceUndo& last = *run.back();
    CustomTextEditor& ed = Owner();
    int offset = ed.PosToOffset(last.CaretX, last.CaretY);
    ed.Lines().ReplaceText(offset, 0, joined);
    TextPos p = ed.OffsetToPos(offset + static_cast<int>(joined.size()));
    ed.MoveCaret(p.X, p.Y);
}

void ReplaceUndo::Revert(UndoBuffer&) {
    Owner().Lines().ReplaceText(Position - 1, static_cast<int>(NewText.size()), OldText);
    Owner().MoveCaret(CaretX, CaretY);
}

void DeleteSelectedUndo::Revert(UndoBuffer& buffer) {
    auto run = TakeRun<DeleteSelectedUndo>(buffer);
    std::u32string joined;
    for (const auto* r : run)
        joined += r->Text;
    CustomTextEditor& ed = Owner();
    ed.Lines().ReplaceText(SelOffset, 0, joined);
    ed.RestoreSelection(Selection);
    ed.SetSelected(!run.front()->Text.empty());
    ed.MoveCaret(run.front()->CaretX, run.front()->CaretY);
}

void SelectUndo::Revert(UndoBuffer&) {
    CustomTextEditor& ed = Owner();
    ed.SetSelected(Selection.BegX != Selection.EndX || Selection.BegY != Selection.EndY);
    ed.RestoreSelection(Selection);
    ed.MoveCaret(CaretX, CaretY);
}

void IndentUndo::Revert(UndoBuffer&) {
    TextEditorStrings& lines = Owner().Lines();
    lines.Lock();
    // Paragraphs that no longer exist (the text was replaced meanwhile) are left alone.
    for (int p = std::max(First, 0); p <= Last && p < lines.Count(); ++p) {
        std::u32string s = lines.Get32(p);
        lines.Put(p, s.substr(std::min(s.size(), static_cast<std::size_t>(std::max(Size, 0)))));
    }
    lines.Unlock();
}

void UnindentUndo::Revert(UndoBuffer&) {
    TextEditorStrings& lines = Owner().Lines();
    if (Paragraph < 0 || Paragraph >= lines.Count() || Count <= 0) return;
    lines.Lock();
    lines.Put(Paragraph,
              std::u32string(static_cast<std::size_t>(Count), U' ') + lines.Get32(Paragraph));
    lines.Unlock();
}

} // namespace velmora::editor
