// Taking back a rewrite of every line.
#include "core/workspace/LinesUndo.h"

#include "core/editor/CustomTextEditor.h"

namespace velmora::workspace {

void LinesUndo::Revert(editor::UndoBuffer&) {
    editor::CustomTextEditor& ed = Owner();
    editor::TextEditorStrings& lines = ed.Lines();
    for (std::size_t i = 0; i < OldLines.size() && static_cast<int>(i) < lines.Count(); ++i)
        lines.LockedPut(static_cast<int>(i), OldLines[i]);
    ed.MoveCaret(CaretX, CaretY);
}

} // namespace velmora::workspace
