// Rewriting the names editor's text as one edit: one undo step, and the edits count as unapplied.
#pragma once

#include <string>

namespace velmora::editor {
class CustomTextEditor;
}

namespace velmora::workspace {

// Brackets the edits made while it lives as one undo step, painted once at the end.
class CompoundEdit {
public:
    explicit CompoundEdit(editor::CustomTextEditor& editor);
    ~CompoundEdit();
    CompoundEdit(const CompoundEdit&) = delete;
    CompoundEdit& operator=(const CompoundEdit&) = delete;

private:
    editor::CustomTextEditor& editor_;
};

// Replaces the editor's whole text, which is oldText, by newText; with as many lines as before,
// only the lines that differ are stored again. The change is one undo step, sets Modified and
// leaves no selection; the caret keeps its place as far as the new text allows. Equal texts
// change nothing and record nothing.
void ReplaceWholeText(editor::CustomTextEditor& editor, std::u32string oldText,
                      std::u32string newText);

} // namespace velmora::workspace
