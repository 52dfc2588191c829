// The undo record of an edit that rewrote every line in place (Number Lines).
#pragma once

#include "core/editor/UndoRecords.h"

#include <string>
#include <vector>

namespace velmora::workspace {

// Puts the old lines back; the edit kept the number of lines, so line i is line i again.
class LinesUndo : public editor::Undo {
public:
    LinesUndo(editor::CustomTextEditor& owner, int caretX, int caretY,
              std::vector<std::u32string> oldLines)
        : Undo(owner), CaretX(caretX), CaretY(caretY), OldLines(std::move(oldLines)) {}
    editor::UndoKind Kind() const override { return editor::UndoKind::Replace; }
    void Revert(editor::UndoBuffer& buffer) override;

    int CaretX;
    int CaretY;
    std::vector<std::u32string> OldLines;
};

} // namespace velmora::workspace
