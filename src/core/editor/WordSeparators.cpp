// Word separators and the word around a column.
#include "core/editor/WordSeparators.h"

namespace velmora::editor {

bool IsWordSeparator(char32_t c) {
    switch (c) {
    case 0:
    case 10:
    case 13:
    case U' ':
    case U'%':
    case U'(':
    case U')':
    case U'*':
    case U'+':
    case U',':
    case U'-':
    case U'.':
    case U'/':
    case U':':
    case U';':
    case U'=':
    case U'[':
    case U'\\':
    case U']':
    case U'{':
    case U'}':
        return true;
    default:
        return false;
    }
}

WordSpan WordAt(const std::u32string& row, int x) {
    std::u32string s = row + U' ';
    const int len = static_cast<int>(s.size());
    const int p = x + 1;
    WordSpan w;
    if (p < 1 || p > len) return w;
    // 1-based access to keep the column arithmetic readable.
    auto at = [&](int i) { return s[static_cast<std::size_t>(i - 1)]; };
    int start = p;
    if (IsWordSeparator(at(p))) {
        // Column 0 counts as preceded by a separator.
        if (p == 1 || IsWordSeparator(at(p - 1)))
            start = p + 1;
        else
            start = p - 1;
    }
    while (start > 0 && start <= len && !IsWordSeparator(at(start)))
        --start;
    ++start;
    int end = p;
    while (end <= len && !IsWordSeparator(at(end)))
        ++end;
    w.Found = true;
    if (start < end) {
        w.Start = start;
        w.End = end;
    } else {
        w.Start = p;
        w.End = p + 1;
    }
    return w;
}

} // namespace velmora::editor
