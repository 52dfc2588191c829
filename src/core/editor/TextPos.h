// A caret or selection position in the editor: column and row, both 0-based.
#pragma once

namespace velmora::editor {

struct TextPos {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TextPos&, const TextPos&) = default;
};

} // namespace velmora::editor
