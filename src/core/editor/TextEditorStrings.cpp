// The editor's line store.
#include "core/editor/TextEditorStrings.h"

#include "core/editor/ScopeExit.h"
#include "core/platform/Error.h"
#include "core/platform/FileStream.h"
#include "core/platform/Utf8.h"

#include <algorithm>

namespace velmora::editor {

using platform::DecodeUtf8;
using platform::EncodeUtf8;

namespace {
bool IsBreak(char32_t c) {
    return c == U'\r' || c == U'\n';
}
} // namespace

int Paragraph::Length() const {
    std::size_t n = 0;
    for (const auto& p : Pieces)
        n += p.size();
    return static_cast<int>(n);
}

std::u32string Paragraph::Text() const {
    if (Pieces.size() == 1) return Pieces[0];
    std::u32string s;
    for (const auto& p : Pieces)
        s += p;
    return s;
}

std::vector<std::u32string> SplitLines32(std::u32string_view text) {
    std::vector<std::u32string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t c = text[i];
        if (IsBreak(c)) {
            lines.emplace_back(text.substr(start, i - start));
            if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

TextEditorStrings::TextEditorStrings(TextEditorHost& host) : host_(host) {}

void TextEditorStrings::CheckIndex(int index, int last) const {
    if (index < 0 || index > last) IndexError(index);
}

// --- String-list face ---

std::string TextEditorStrings::Get(int index) const {
    if (index < 0 || index >= Count()) return {};
    // An unwrapped paragraph is one piece: encoded where it lies, without a copy first.
    const Paragraph& p = paras_[static_cast<std::size_t>(index)];
    if (p.Pieces.size() == 1) return EncodeUtf8(p.Pieces[0]);
    return EncodeUtf8(p.Text());
}
void TextEditorStrings::Put(int index, const std::string& s) {
    Put(index, DecodeUtf8(s));
}
int TextEditorStrings::Add(const std::string& s) {
    return Add(DecodeUtf8(s));
}
void TextEditorStrings::Insert(int index, const std::string& s) {
    Insert(index, DecodeUtf8(s));
}
std::string TextEditorStrings::GetTextStr() const {
    return EncodeUtf8(GetText32());
}
void TextEditorStrings::SetTextStr(std::string_view text) {
    SetText32(DecodeUtf8(text));
}

std::u32string TextEditorStrings::Get32(int index) const {
    if (index < 0 || index >= Count()) return {};
    return paras_[static_cast<std::size_t>(index)].Text();
}

void TextEditorStrings::Put(int index, const std::u32string& s) {
    CheckIndex(index, Count() - 1);
    NoteLength(s.size());
    Changing();
    StorePieces(index, {s});
    Changed();
}

int TextEditorStrings::Add(const std::u32string& s) {
    int index = Count();
    InsertParagraphs(index, s);
    return index;
}

void TextEditorStrings::Insert(int index, const std::u32string& s) {
    CheckIndex(index, Count());
    InsertParagraphs(index, s);
}

void TextEditorStrings::Delete(int index) {
    CheckIndex(index, Count() - 1);
    Changing();
    NoteEdit(index, index + 1);
    rowCount_ -= paras_[static_cast<std::size_t>(index)].PieceCount;
    textLength_ -= paras_[static_cast<std::size_t>(index)].Length() + 2;
    paras_.erase(paras_.begin() + index);
    Invalidate(index);
    Renumber(index);
    Changed();
}

void TextEditorStrings::Clear() {
    if (Count() == 0) return;
    Changing();
    NoteEdit(0, Count());
    paras_.clear();
    paras_.shrink_to_fit();
    capacity_ = 0;
    rowCount_ = 0;
    textLength_ = 0;
    Invalidate(0);
    Changed();
}

std::u32string TextEditorStrings::GetText32() const {
    std::u32string s;
    s.reserve(static_cast<std::size_t>(TextLength()));
    for (const auto& p : paras_) {
        for (const auto& piece : p.Pieces)
            s += piece;
        s += U"\r\n";
    }
    return s;
}

void TextEditorStrings::SetText32(std::u32string_view text) {
    {
        UpdateLockGuard lock(host_);
        LockedSetText(text);
    }
    if (!host_.UpdatesLocked()) {
        host_.ClearUndo();
        host_.TextAllChanged();
        host_.ResetCaret();
    }
}

void TextEditorStrings::SetCapacity(int n) {
    n = std::max(n, Count());
    capacity_ = n;
    paras_.reserve(static_cast<std::size_t>(n));
}

void TextEditorStrings::Grow() {
    int delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
    SetCapacity(capacity_ + delta);
}

void TextEditorStrings::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

void TextEditorStrings::Changed() {
    if (!host_.UpdatesLocked()) host_.TextAllChanged();
}

// --- Paragraph bookkeeping ---

void TextEditorStrings::NoteEdit(int first, int end) {
    editFirst_ = std::min(editFirst_, first);
    editTail_ = std::min(editTail_, Count() - end);
}

TextEditorStrings::EditSpan TextEditorStrings::TakeEdits() {
    EditSpan span;
    if (editFirst_ != INT_MAX) {
        span.Changed = true;
        span.First = std::min(editFirst_, std::min(Count(), editBaseCount_));
        span.Tail = std::min({editTail_, Count() - span.First, editBaseCount_ - span.First});
        span.OldCount = editBaseCount_;
    }
    editFirst_ = editTail_ = INT_MAX;
    editBaseCount_ = Count();
    return span;
}

void TextEditorStrings::NoteLength(std::size_t length) {
    host_.NoteLineLength(static_cast<int>(length));
}

void TextEditorStrings::Invalidate(int index) const {
    startsValid_ = std::min(startsValid_, std::max(index, 0));
}

void TextEditorStrings::Reformat(Paragraph& p) {
    rowCount_ -= p.PieceCount;
    p.StaleAttrs = true;
    if (p.Pieces.size() > 1) {
        std::u32string joined = p.Text();
        p.Pieces.clear();
        p.Pieces.push_back(std::move(joined));
    }
    if (p.Pieces.empty()) p.Pieces.emplace_back();
    if (host_.WordWrap()) {
        const std::size_t w = static_cast<std::size_t>(std::max(host_.WrapWidth(), 1));
        for (std::size_t i = 0; i < p.Pieces.size(); ++i) {
            if (p.Pieces[i].size() <= w) continue;
            // Cut after the last blank at 1-based position 2..W, else at W.
            std::size_t cut = w;
            for (std::size_t k = w; k >= 2; --k) {
                if (p.Pieces[i][k - 1] == U' ') {
                    cut = k;
                    break;
                }
            }
            std::u32string rest = p.Pieces[i].substr(cut);
            p.Pieces[i].resize(cut);
            p.Pieces.push_back(std::move(rest));
        }
    }
    p.PieceCount = static_cast<int>(p.Pieces.size());
    rowCount_ += p.PieceCount;
}

void TextEditorStrings::Renumber(int from) {
    from = std::max(from, 0);
    for (std::size_t i = static_cast<std::size_t>(from); i < paras_.size(); ++i)
        paras_[i].FirstRow = i == 0 ? 0 : paras_[i - 1].FirstRow + paras_[i - 1].PieceCount;
}

void TextEditorStrings::StorePieces(int index, std::vector<std::u32string> pieces) {
    NoteEdit(index, index + 1);
    Paragraph& p = paras_[static_cast<std::size_t>(index)];
    int oldPieces = p.PieceCount;
    textLength_ -= p.Length();
    p.Pieces = std::move(pieces);
    textLength_ += p.Length();
    Reformat(p);
    Invalidate(index);
    if (p.PieceCount != oldPieces) Renumber(index);
}

void TextEditorStrings::InsertParagraph(int index, std::u32string text) {
    Changing();
    NoteEdit(index, index);
    if (Count() == capacity_) Grow();
    paras_.insert(paras_.begin() + index, Paragraph{});
    Invalidate(index);
    Paragraph& p = paras_[static_cast<std::size_t>(index)];
    p.PieceCount = 1;
    ++rowCount_;
    NoteLength(text.size());
    textLength_ += static_cast<int>(text.size()) + 2;
    p.Pieces.clear();
    p.Pieces.push_back(std::move(text));
    Reformat(p);
    Renumber(index);
    Changed();
}

void TextEditorStrings::InsertParagraphs(int index, std::u32string_view s) {
    if (s.empty()) {
        InsertParagraph(index, {});
    } else {
        // A run of CR and LF counts as one break: empty lines inside s are not inserted.
        std::u32string line;
        const std::size_t n = s.size();
        for (std::size_t i = 0; i < n; ++i) {
            const bool brk = IsBreak(s[i]);
            if (!brk) line += s[i];
            if (brk || i == n - 1) {
                InsertParagraph(index++, ExpandTabs(std::move(line)));
                line.clear();
                if (brk)
                    while (i + 1 < n && IsBreak(s[i + 1]))
                        ++i;
            }
        }
    }
    Changed();
}

std::u32string TextEditorStrings::ExpandTabs(std::u32string s) const {
    if (s.find(U'\t') == std::u32string::npos) return s;
    // Every tab becomes the blanks up to the first tab stop, wherever it stands.
    const std::u32string blanks(static_cast<std::size_t>(std::max(host_.TabSize(), 0)), U' ');
    std::u32string out;
    out.reserve(s.size());
    for (char32_t c : s) {
        if (c == U'\t')
            out += blanks;
        else
            out += c;
    }
    return out;
}

void TextEditorStrings::MarkAllStale() {
    for (auto& p : paras_)
        p.StaleAttrs = true;
}

// --- Rows ---

RowMapping TextEditorStrings::MapRow(int row) const {
    if (host_.WordWrap() && rowCount_ != Count()) {
        int lo = 0, hi = Count() - 1;
        while (lo <= hi) {
            int mid = (lo + hi) / 2;
            const Paragraph& p = paras_[static_cast<std::size_t>(mid)];
            if (p.FirstRow + p.PieceCount - 1 < row)
                lo = mid + 1;
            else if (row < p.FirstRow)
                hi = mid - 1;
            else
                return {mid, row - p.FirstRow};
        }
        return {};
    }
    int para = std::min(row, Count() - 1);
    if (para < 0) return {};
    return {para, 0};
}

std::u32string TextEditorStrings::GetRow(int row) const {
    if (host_.WordWrap() && rowCount_ != Count()) {
        RowMapping m = MapRow(row);
        if (m.Paragraph < 0) return {};
        return paras_[static_cast<std::size_t>(m.Paragraph)]
            .Pieces[static_cast<std::size_t>(m.Piece)];
    }
    return Get32(row);
}

void TextEditorStrings::PutRow(int row, const std::u32string& s) {
    if (!host_.WordWrap()) {
        Put(row, s);
        return;
    }
    RowMapping m = MapRow(row);
    if (m.Paragraph < 0) IndexError(row);
    Changing();
    NoteLength(s.size());
    std::vector<std::u32string> pieces = paras_[static_cast<std::size_t>(m.Paragraph)].Pieces;
    pieces[static_cast<std::size_t>(m.Piece)] = s;
    StorePieces(m.Paragraph, std::move(pieces));
    Changed();
}

ParagraphPos TextEditorStrings::RowToParagraph(int x, int row) const {
    RowMapping m = MapRow(row);
    if (m.Paragraph < 0) IndexError(row);
    const Paragraph& p = paras_[static_cast<std::size_t>(m.Paragraph)];
    int offset = x;
    for (int i = 0; i < m.Piece; ++i)
        offset += static_cast<int>(p.Pieces[static_cast<std::size_t>(i)].size());
    return {offset, m.Paragraph};
}

TextPos TextEditorStrings::ParagraphToRow(int paragraph, int offset) const {
    if (Count() == 0) return {0, 0};
    paragraph = std::clamp(paragraph, 0, Count() - 1);
    const Paragraph& p = paras_[static_cast<std::size_t>(paragraph)];
    int before = 0;
    for (int i = 0; i < p.PieceCount; ++i) {
        int len = static_cast<int>(p.Pieces[static_cast<std::size_t>(i)].size());
        // The last piece also takes offsets past the paragraph's end.
        if (before + len >= offset || i == p.PieceCount - 1)
            return {offset - before, p.FirstRow + i};
        before += len;
    }
    return {offset, p.FirstRow};
}

RowText TextEditorStrings::RowWithOffset(int row) const {
    ParagraphPos pp = RowToParagraph(0, row);
    return {pp.Paragraph, Get32(pp.Paragraph), pp.Offset};
}

Paragraph TextEditorStrings::GetParagraph(int index) const {
    CheckIndex(index, Count() - 1);
    return paras_[static_cast<std::size_t>(index)];
}

int TextEditorStrings::ParagraphStart(int n) const {
    n = std::clamp(n, 0, Count());
    if (n == Count()) return textLength_;
    if (starts_.size() < paras_.size() + 1) starts_.resize(paras_.size() + 1);
    while (startsValid_ < n) {
        std::size_t v = static_cast<std::size_t>(startsValid_);
        starts_[v + 1] = starts_[v] + paras_[v].Length() + 2;
        ++startsValid_;
    }
    return starts_[static_cast<std::size_t>(n)];
}

int TextEditorStrings::ParagraphAtOffset(int offset) const {
    if (Count() == 0 || offset <= 0) return 0;
    const int known = startsValid_;
    if (ParagraphStart(known) <= offset) {
        // Extend the known starts only as far as needed.
        int p = known;
        while (p + 1 <= Count() && ParagraphStart(p + 1) <= offset)
            ++p;
        return std::min(p, Count() - 1);
    }
    auto first = starts_.begin();
    auto it = std::upper_bound(first, first + known + 1, offset);
    return static_cast<int>(it - first) - 1;
}

// --- Locked and bulk operations ---

void TextEditorStrings::Lock() {
    host_.LockUpdates();
}

void TextEditorStrings::Unlock() {
    host_.UnlockUpdates();
    Changed();
}

void TextEditorStrings::LockedSetText(std::u32string_view text) {
    UpdateLockGuard lock(host_);
    std::u32string expanded = ExpandTabs(std::u32string(text));
    BeginUpdate();
    ScopeExit endUpdate([this] { EndUpdate(); });
    Clear();
    std::vector<std::u32string> lines = SplitLines32(expanded);
    SetCapacity(static_cast<int>(lines.size()));
    for (auto& line : lines)
        Add(line);
}

void TextEditorStrings::LockedPut(int index, const std::u32string& s) {
    UpdateLockGuard lock(host_);
    Put(index, s);
}

void TextEditorStrings::LockedPutRow(int row, const std::u32string& s) {
    UpdateLockGuard lock(host_);
    PutRow(row, s);
}

void TextEditorStrings::ReformatAll() {
    for (auto& p : paras_)
        Reformat(p);
    Renumber(0);
    Changed();
}

void TextEditorStrings::FillToCaret() {
    UpdateLockGuard lock(host_);
    const TextPos caret = host_.Caret();
    while (rowCount_ - 1 < caret.Y) {
        if (rowCount_ > 0) {
            int last = rowCount_ - 1;
            int len = static_cast<int>(GetRow(last).size());
            host_.RecordLineUndo(len, last, U"\r\n", host_.UndoOffset(len, last));
        } else {
            // The first paragraph of an empty text is recorded too: undo gives back no line at
            // all, not one empty line.
            host_.RecordLineUndo(0, 0, U"\r\n", 0);
        }
        Add(std::u32string());
    }
    std::u32string row = GetRow(caret.Y);
    if (static_cast<int>(row.size()) < caret.X) {
        int len = static_cast<int>(row.size());
        std::u32string blanks(static_cast<std::size_t>(caret.X - len), U' ');
        host_.RecordLineUndo(len, caret.Y, blanks, host_.UndoOffset(len, caret.Y));
        PutRow(caret.Y, row + blanks);
    }
}

void TextEditorStrings::ReplaceText(int offset, int count, std::u32string_view text) {
    const int total = TextLength();
    offset = std::clamp(offset, 0, total);
    count = std::clamp(count, 0, total - offset);
    if (count == 0 && text.empty()) return;
    UpdateLockGuard lock(host_);
    // The paragraphs the edit touches, as text with their line breaks.
    int first = offset == total ? Count() : ParagraphAtOffset(offset);
    int last = first == Count() ? first - 1
               : count > 0      ? ParagraphAtOffset(offset + count - 1)
                                : first;
    int regionStart = ParagraphStart(first);
    std::u32string region;
    for (int i = first; i <= last; ++i) {
        region += Get32(i);
        region += U"\r\n";
    }
    int local = offset - regionStart;
    region.replace(static_cast<std::size_t>(local), static_cast<std::size_t>(count), text);
    // Without a closing break the region runs on into the following paragraph.
    while (last + 1 < Count() && (region.empty() || !IsBreak(region.back()))) {
        ++last;
        region += Get32(last);
        region += U"\r\n";
    }
    std::vector<std::u32string> lines = SplitLines32(region);
    int oldCount = last - first + 1;
    int newCount = static_cast<int>(lines.size());
    Changing();
    if (newCount == oldCount) {
        for (int i = 0; i < newCount; ++i) {
            NoteLength(lines[static_cast<std::size_t>(i)].size());
            StorePieces(first + i, {std::move(lines[static_cast<std::size_t>(i)])});
        }
    } else {
        NoteEdit(first, last + 1);
        for (int i = first; i <= last; ++i) {
            rowCount_ -= paras_[static_cast<std::size_t>(i)].PieceCount;
            textLength_ -= paras_[static_cast<std::size_t>(i)].Length() + 2;
        }
        // last + 1 first: last is -1 in an empty store, and begin() - 1 is undefined.
        paras_.erase(paras_.begin() + first, paras_.begin() + (last + 1));
        std::vector<Paragraph> fresh(static_cast<std::size_t>(newCount));
        for (int i = 0; i < newCount; ++i) {
            Paragraph& p = fresh[static_cast<std::size_t>(i)];
            NoteLength(lines[static_cast<std::size_t>(i)].size());
            p.Pieces.clear();
            p.Pieces.push_back(std::move(lines[static_cast<std::size_t>(i)]));
            p.PieceCount = 1;
            ++rowCount_;
            textLength_ += p.Length() + 2;
            Reformat(p);
        }
        paras_.insert(paras_.begin() + first, std::make_move_iterator(fresh.begin()),
                      std::make_move_iterator(fresh.end()));
        capacity_ = std::max(capacity_, Count());
        Invalidate(first);
        Renumber(first);
    }
}

std::u32string TextEditorStrings::TextRange(int offset, int count) const {
    const int total = TextLength();
    offset = std::clamp(offset, 0, total);
    count = std::clamp(count, 0, total - offset);
    std::u32string out;
    if (count == 0) return out;
    int p = ParagraphAtOffset(offset);
    int pos = ParagraphStart(p);
    while (static_cast<int>(out.size()) < count && p < Count()) {
        std::u32string chunk = Get32(p) + U"\r\n";
        int from = std::max(offset - pos, 0);
        int take =
            std::min(static_cast<int>(chunk.size()) - from, count - static_cast<int>(out.size()));
        out.append(chunk, static_cast<std::size_t>(from), static_cast<std::size_t>(take));
        pos += static_cast<int>(chunk.size());
        ++p;
    }
    return out;
}

// --- Files ---

void TextEditorStrings::LoadFromFile(const std::string& fileName) {
    {
        Lock();
        ScopeExit unlock([this] { Unlock(); });
        platform::FileStream f(fileName, platform::fmOpenRead | platform::fmShareDenyWrite);
        std::string bytes(static_cast<std::size_t>(f.Size()), '\0');
        if (!bytes.empty()) f.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        SetTextStr(bytes);
    }
    if (OnAfterLoad) OnAfterLoad(host_.Sender());
}

void TextEditorStrings::SaveToFile(const std::string& fileName) {
    if (OnBeforeSave) OnBeforeSave(host_.Sender());
    std::string bytes = GetTextStr();
    platform::FileStream f(fileName, platform::fmCreate);
    f.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

} // namespace velmora::editor
