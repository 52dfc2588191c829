// One undoable rewrite of the whole editor text.
#include "core/workspace/WholeTextEdit.h"

#include "core/editor/CustomTextEditor.h"
#include "core/editor/UndoRecords.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace velmora::workspace {

namespace {

// The paragraphs of a whole text in the line store's own form (each ended by CR LF), or nothing
// when the text holds a break of another kind.
std::optional<std::vector<std::u32string_view>> StoreLines(std::u32string_view text) {
    std::vector<std::u32string_view> lines;
    const std::size_t n = text.size();
    std::size_t at = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = text[i];
        if (c != U'\r' && c != U'\n') continue;
        if (c == U'\n' || i + 1 >= n || text[i + 1] != U'\n') return std::nullopt;
        lines.push_back(text.substr(at, i - at));
        at = ++i + 1;
    }
    if (at != n) return std::nullopt;
    return lines;
}

} // namespace

CompoundEdit::CompoundEdit(editor::CustomTextEditor& editor) : editor_(editor) {
    editor_.BeginUpdate();
    editor_.BeginCompound();
}

CompoundEdit::~CompoundEdit() {
    editor_.EndCompound();
    editor_.EndUpdate();
}

void ReplaceWholeText(editor::CustomTextEditor& ed, std::u32string oldText,
                      std::u32string newText) {
    if (oldText == newText) return;
    const CompoundEdit edit(ed);
    ed.SetSelected(false);
    const int caretX = ed.CaretX(), caretY = ed.CaretY();
    editor::TextEditorStrings& lines = ed.Lines();
    const auto oldLines = StoreLines(oldText);
    const auto newLines = StoreLines(newText);
    if (oldLines && newLines && oldLines->size() == newLines->size() &&
        static_cast<int>(oldLines->size()) == lines.Count()) {
        // The same paragraphs: only those that changed are stored again.
        for (std::size_t i = 0; i < newLines->size(); ++i)
            if ((*oldLines)[i] != (*newLines)[i])
                lines.LockedPut(static_cast<int>(i), std::u32string((*newLines)[i]));
    } else {
        // The store keeps every paragraph ended by CR LF; the undo record must hold the text
        // exactly as stored, so other breaks take that form first.
        std::u32string stored;
        stored.reserve(newText.size() + 2);
        for (const std::u32string& line : editor::SplitLines32(newText)) {
            stored += line;
            stored += U"\r\n";
        }
        newText = std::move(stored);
        lines.ReplaceText(0, static_cast<int>(oldText.size()), newText);
    }
    // A compound of its own, so that two rewrites in a row stay two undo steps.
    ed.RecordUndo<editor::ReplaceUndo>(caretX, caretY, 1, std::move(oldText), std::move(newText));
    ed.UpdateEditorSize(false, false);
    int y = caretY;
    if (!ed.CursorBeyondEOF) y = std::min(y, lines.RowCount() - 1);
    y = std::max(y, 0);
    ed.MoveCaret(ed.CursorBeyondEOL ? caretX : ed.ClampToRow(caretX, y), y);
    ed.TextChanged();
}

} // namespace velmora::workspace
