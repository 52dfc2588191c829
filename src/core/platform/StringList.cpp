// The ordered string list.
#include "core/platform/StringList.h"

#include "core/platform/Error.h"

namespace velmora::platform {

void StringList::IndexError(int index) const {
    throw EStringListError(Format("List index out of bounds (%d)", {std::int64_t{index}}));
}

std::string StringList::Get(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return items_[static_cast<std::size_t>(index)];
}

void StringList::Put(int index, const std::string& s) {
    if (index < 0 || index >= Count()) IndexError(index);
    items_[static_cast<std::size_t>(index)] = s;
}

int StringList::Add(const std::string& s) {
    int index = Count();
    Insert(index, s);
    return index;
}

void StringList::Insert(int index, const std::string& s) {
    if (index < 0 || index > Count()) IndexError(index);
    items_.insert(items_.begin() + index, s);
}

void StringList::Delete(int index) {
    if (index < 0 || index >= Count()) IndexError(index);
    items_.erase(items_.begin() + index);
}

void StringList::Clear() {
    items_.clear();
}

void StringList::BeginUpdate() {
    if (updateCount_++ == 0) SetUpdateState(true);
}

void StringList::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) SetUpdateState(false);
}

std::string StringList::GetTextStr() const {
    std::string out;
    int n = Count();
    for (int i = 0; i < n; ++i) {
        out += Get(i);
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

void StringList::SetTextStr(std::string_view text) {
    BeginUpdate();
    try {
        Clear();
        for (auto& line : SplitLines(text))
            Add(line);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void StringList::Assign(const StringList& other) {
    if (&other == this) return;
    BeginUpdate();
    try {
        Clear();
        for (int i = 0; i < other.Count(); ++i)
            Add(other.Get(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

} // namespace velmora::platform
