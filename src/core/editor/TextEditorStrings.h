// The editor's line store: paragraphs cut into screen rows, with row/paragraph mapping.
#pragma once

#include "core/editor/TextEditorHost.h"
#include "core/editor/TextPos.h"
#include "core/platform/StringList.h"

#include <climits>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::editor {

class CustomTextEditor;

// One logical line; with word wrap on it may span several rows (pieces).
struct Paragraph {
    bool StaleAttrs = false; // the painter must recompute its attributes
    int FirstRow = 0;
    int PieceCount = 0;
    std::vector<std::u32string> Pieces;

    int Length() const;
    std::u32string Text() const;
};

struct RowMapping {
    int Paragraph = -1; // -1: the row is not part of the text
    int Piece = -1;
};

struct ParagraphPos {
    int Offset = 0;
    int Paragraph = 0;
};

struct RowText {
    int Paragraph = 0;
    std::u32string Text; // the whole paragraph
    int Offset = 0;      // where the row starts inside it
};

// To the outside a string list of paragraphs in UTF-8 (every byte string round-trips exactly);
// inside, code points. Changes made here reach the owner only as TextAllChanged: they neither
// set Modified nor record undo entries.
class TextEditorStrings : public platform::StringList {
public:
    explicit TextEditorStrings(TextEditorHost& host);

    CustomTextEditor& Owner() const { return host_.Sender(); }

    // String-list face, paragraphs as UTF-8.
    int Count() const override { return static_cast<int>(paras_.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    int Add(const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    std::string GetTextStr() const override;
    void SetTextStr(std::string_view text) override;

    // The same in code points.
    std::u32string Get32(int index) const;
    void Put(int index, const std::u32string& s);
    int Add(const std::u32string& s);
    void Insert(int index, const std::u32string& s);
    std::u32string GetText32() const;
    void SetText32(std::u32string_view text);

    int Capacity() const { return capacity_; }
    void SetCapacity(int n);

    // Rows.
    int RowCount() const { return rowCount_; }
    std::u32string GetRow(int row) const;
    void PutRow(int row, const std::u32string& s);
    RowMapping MapRow(int row) const;
    ParagraphPos RowToParagraph(int x, int row) const;
    TextPos ParagraphToRow(int paragraph, int offset) const;
    RowText RowWithOffset(int row) const;
    Paragraph GetParagraph(int index) const;
    // Offset of paragraph n in the whole text, 2 per line break; n = Count gives the length.
    int ParagraphStart(int n) const;
    int TextLength() const { return textLength_; }
    // The paragraph holding a whole-text offset (0 for offsets before the text).
    int ParagraphAtOffset(int offset) const;

    void Lock();
    void Unlock();
    void LockedSetText(std::u32string_view text);
    void LockedPut(int index, const std::u32string& s);
    void LockedPutRow(int row, const std::u32string& s);
    void ReformatAll();
    void FillToCaret();
    std::u32string ExpandTabs(std::u32string s) const;
    void MarkAllStale();

    // Replaces count characters of the whole text at offset (breaks as CR LF) by text, touching
    // only the paragraphs involved; the result is what splitting the edited whole text gives.
    // No notification (the callers repaint). Offsets outside the text are clamped.
    void ReplaceText(int offset, int count, std::u32string_view text);
    std::u32string TextRange(int offset, int count) const;

    // The paragraphs changed since the last call: paragraphs [First, Count() - Tail) now stand
    // where [First, OldCount - Tail) stood then. Lets a reader of the lines follow an edit
    // without comparing every line. Changed is false when nothing changed.
    struct EditSpan {
        bool Changed = false;
        int First = 0;
        int Tail = 0;
        int OldCount = 0;
    };
    EditSpan TakeEdits();

    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    std::function<void(CustomTextEditor&)> OnAfterLoad;
    std::function<void(CustomTextEditor&)> OnBeforeSave;

protected:
    void SetUpdateState(bool updating) override;
    virtual void Changed();
    virtual void Changing() {}

private:
    void CheckIndex(int index, int last) const;
    void InsertParagraphs(int index, std::u32string_view s);
    void InsertParagraph(int index, std::u32string text);
    void Reformat(Paragraph& p);
    void Renumber(int from);
    void StorePieces(int index, std::vector<std::u32string> pieces);
    void NoteLength(std::size_t length);
    void Invalidate(int index) const;
    void Grow();
    // Paragraphs [first, end) of the current list are about to change.
    void NoteEdit(int first, int end);

    TextEditorHost& host_;
    std::vector<Paragraph> paras_;
    int rowCount_ = 0;
    int capacity_ = 0;
    int textLength_ = 0; // the whole text's length, kept so it never needs a scan
    // starts_[i] = ParagraphStart(i), valid for i <= startsValid_; an edit of paragraph k keeps
    // the entries up to k, so repeated edits in one place never rescan the text.
    mutable std::vector<int> starts_{0};
    mutable int startsValid_ = 0;
    // Edits since TakeEdits: the least paragraph touched and the untouched paragraphs at the end.
    int editFirst_ = INT_MAX;
    int editTail_ = INT_MAX;
    int editBaseCount_ = 0;
};

// Splits at CR, LF or CR LF; empty lines are kept; a final break adds no empty line.
std::vector<std::u32string> SplitLines32(std::u32string_view text);

} // namespace velmora::editor
