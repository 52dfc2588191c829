// The characters that end a word for word movement, word selection and double-click.
#pragma once

#include <string>

namespace velmora::editor {

bool IsWordSeparator(char32_t c);

// The word around 0-based column x of a row, as 1-based Start and End (End exclusive) on the
// row with one blank appended; Found is false when x lies outside that text.
struct WordSpan {
    bool Found = false;
    int Start = 0;
    int End = 0;
};
WordSpan WordAt(const std::u32string& row, int x);

} // namespace velmora::editor
