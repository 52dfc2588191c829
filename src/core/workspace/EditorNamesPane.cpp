// Reloading the names editor.
#include "core/workspace/EditorNamesPane.h"

namespace velmora::workspace {

void EditorNamesPane::BeginLoad() {
    // One update bracket: the view follows the new list once, not once per name.
    editor_.BeginUpdate();
}

void EditorNamesPane::EndLoad() {
    editor_.MoveCaret(0, 0);
    editor_.SetLeftTop(0, 0);
    editor_.EndUpdate();
    editor_.TextAllChanged();
    editor_.UndoList().Clear();
}

} // namespace velmora::workspace
