// The names editor model set up as the names pane, for the name-command and find tests.
#pragma once

#include "core/editor/CustomTextEditor.h"
#include "core/platform/Error.h"
#include "core/platform/Utf8.h"
#include "support/ThrownMessage.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora::test {

struct NamesEditor : ::testing::Test {
    editor::CustomTextEditor ed;

    NamesEditor() {
        // As the names pane: no wrap, caret below the last line but not past a line's end.
        ed.SetWordWrap(false);
        ed.CursorBeyondEOF = true;
        ed.CursorBeyondEOL = false;
    }
    // Loads lines as a fresh list: nothing modified, nothing to undo.
    void Load(const std::vector<std::string>& lines) {
        ed.Lines().Clear();
        for (const auto& l : lines)
            ed.Lines().Add(l);
        ed.UndoList().Clear();
        ed.SetModified(false);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> v;
        for (int i = 0; i < ed.Lines().Count(); ++i)
            v.push_back(ed.Lines().Get(i));
        return v;
    }
    // Selects length characters from the whole-text offset (line breaks count two).
    void Select(int offset, int length) {
        ed.SetSelStart(offset + 1);
        ed.SetSelLength(length);
    }
    // The caret at a whole-text offset, nothing selected.
    void CaretAt(int offset) {
        ed.SetSelStart(offset + 1);
        ed.SetSelLength(0);
    }
    std::string Selected() const { return platform::EncodeUtf8(ed.SelText()); }
};

} // namespace velmora::test
