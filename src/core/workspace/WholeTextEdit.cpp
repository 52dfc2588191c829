// One undoable rewrite of the whole editor text.
#include "core/workspace/WholeTextEdit.h"

#include "core/editor/CustomTextEditor.h"
#include "core/editor/UndoRecords.h"

#include <algorithm>

namespace velmora::workspace {

void ReplaceWholeText(editor::CustomTextEditor& ed, std::u32string oldText,
                      std::u32string newText) {
    std::size_t head = 0;
    const std::size_t shorter = std::min(oldText.size(), newText.size());
    while (head < shorter && oldText[head] == newText[head])
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head &&
           oldText[oldText.size() - 1 - tail] == newText[newText.size() - 1 - tail])
        ++tail;
    if (head == oldText.size() && head == newText.size()) return;
    oldText.erase(oldText.size() - tail);
    oldText.erase(0, head);
    newText.erase(newText.size() - tail);
    newText.erase(0, head);

    ed.BeginUpdate();
    ed.BeginCompound();
    struct Close {
        editor::CustomTextEditor& ed;
        ~Close() {
            ed.EndCompound();
            ed.EndUpdate();
        }
    } close{ed};
    ed.SetSelected(false);
    const int caretX = ed.CaretX(), caretY = ed.CaretY();
    ed.Lines().ReplaceText(static_cast<int>(head), static_cast<int>(oldText.size()), newText);
    // A compound of its own, so that two rewrites in a row stay two undo steps.
    ed.RecordUndo<editor::ReplaceUndo>(caretX, caretY, static_cast<int>(head) + 1,
                                       std::move(oldText), std::move(newText));
    ed.UpdateEditorSize(false, false);
    int y = caretY;
    if (!ed.CursorBeyondEOF) y = std::min(y, ed.Lines().RowCount() - 1);
    y = std::max(y, 0);
    ed.MoveCaret(ed.CursorBeyondEOL ? caretX : ed.ClampToRow(caretX, y), y);
    ed.TextChanged();
}

} // namespace velmora::workspace
