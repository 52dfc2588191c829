// Writing names made from tags, or made safe, into the names pane as one undoable edit.
#pragma once

#include "core/tagnames/SafeName.h"

#include <string>
#include <vector>

namespace velmora::editor {
class CustomTextEditor;
}

namespace velmora::tagnames {

class PaneLines {
public:
    // Replaces every line of the pane by lines (one per listed file): one undo step that sets
    // Modified; nothing changes, and nothing is recorded, when the lines are the pane's own.
    static void Write(editor::CustomTextEditor& pane, const std::vector<std::string>& lines);

    // Applies the character rules to the lines the selection touches, or to every line without
    // a selection, as one undo step. fileNames are the listed files, for the extension Apply
    // puts back when the pane shows names without extensions; lines beyond them keep their own.
    static void MakeSafe(editor::CustomTextEditor& pane, const std::vector<std::string>& fileNames,
                         bool excludeExt, const SafeNameRules& rules);
};

} // namespace velmora::tagnames
