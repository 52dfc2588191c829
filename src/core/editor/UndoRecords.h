// The undo record classes: each kind knows how to take back its own change.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::editor {

class CustomTextEditor;
class UndoBuffer;

// Runs merge only records of exactly the same kind, so the kind is explicit.
enum class UndoKind : std::uint8_t {
    Caret,
    Insert,
    ReLine,
    InsertTab,
    Overwrite,
    Delete,
    DeleteTrail,
    Backspace,
    Replace,
    DeleteSelected,
    Select,
    Unselect,
    BeginCompound,
    EndCompound,
    Indent,
    Unindent,
};

class Undo {
public:
    explicit Undo(CustomTextEditor& owner) : owner_(owner) {}
    virtual ~Undo() = default;
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;

    virtual UndoKind Kind() const = 0;
    // Takes the change back; may consume earlier records of its run by moving the buffer's
    // position back to the earliest of them.
    virtual void Revert(UndoBuffer& buffer) = 0;
    // Whether this record takes its change back in one step with the record of the same kind
    // just before it. Edits join only where they touch, so that a run never takes a change
    // back at a place it was not made.
    virtual bool Continues(const Undo& /*earlier*/) const { return true; }
    // Continues, unless this record was made right after an undo: what is done then is a step
    // of its own, never part of an older run.
    bool Joins(const Undo& earlier) const { return !StartsStep && Continues(earlier); }
    bool StartsStep = false;

    CustomTextEditor& Owner() const { return owner_; }

private:
    CustomTextEditor& owner_;
};

class CaretUndo : public Undo {
public:
    CaretUndo(CustomTextEditor& owner, int caretX, int caretY)
        : Undo(owner), CaretX(caretX), CaretY(caretY) {}
    UndoKind Kind() const override { return UndoKind::Caret; }
    void Revert(UndoBuffer& buffer) override;
    int CaretX;
    int CaretY;
};

// Text inserted at (CaretX, CaretY); Offset is that position in the whole text.
class InsertUndo : public CaretUndo {
public:
    InsertUndo(CustomTextEditor& owner, int caretX, int caretY, std::u32string text, int offset)
        : CaretUndo(owner, caretX, caretY), Text(std::move(text)), Offset(offset) {}
    UndoKind Kind() const override { return UndoKind::Insert; }
    void Revert(UndoBuffer& buffer) override;
    // Right after the earlier insertion.
    bool Continues(const Undo& earlier) const override;
    std::u32string Text;
    int Offset;
};

// Line breaks and blanks added to reach the caret before an edit.
class ReLineUndo : public InsertUndo {
public:
    using InsertUndo::InsertUndo;
    UndoKind Kind() const override { return UndoKind::ReLine; }
};

class InsertTabUndo : public InsertUndo {
public:
    using InsertUndo::InsertUndo;
    UndoKind Kind() const override { return UndoKind::InsertTab; }
};

class OverwriteUndo : public CaretUndo {
public:
    OverwriteUndo(CustomTextEditor& owner, int caretX, int caretY, std::u32string oldText,
                  std::u32string newText, int offset)
        : CaretUndo(owner, caretX, caretY), OldText(std::move(oldText)),
          NewText(std::move(newText)), Offset(offset) {}
    UndoKind Kind() const override { return UndoKind::Overwrite; }
    void Revert(UndoBuffer& buffer) override;
    bool Continues(const Undo& earlier) const override;
    std::u32string OldText;
    std::u32string NewText;
    int Offset;
};

// Text deleted at (CaretX, CaretY).
class DeleteUndo : public InsertUndo {
public:
    using InsertUndo::InsertUndo;
    UndoKind Kind() const override { return UndoKind::Delete; }
    void Revert(UndoBuffer& buffer) override;
    // At the same place: the text after the earlier deletion moved up to it.
    bool Continues(const Undo& earlier) const override;
};

class DeleteTrailUndo : public DeleteUndo {
public:
    using DeleteUndo::DeleteUndo;
    UndoKind Kind() const override { return UndoKind::DeleteTrail; }
};

// Text deleted before the caret; (CaretX, CaretY) is the caret after the deletion.
class BackspaceUndo : public DeleteUndo {
public:
    using DeleteUndo::DeleteUndo;
    UndoKind Kind() const override { return UndoKind::Backspace; }
    void Revert(UndoBuffer& buffer) override;
    // Ending where the earlier deletion began.
    bool Continues(const Undo& earlier) const override;
};

class ReplaceUndo : public CaretUndo {
public:
    ReplaceUndo(CustomTextEditor& owner, int caretX, int caretY, int position,
                std::u32string oldText, std::u32string newText)
        : CaretUndo(owner, caretX, caretY), Position(position), OldText(std::move(oldText)),
          NewText(std::move(newText)) {}
    UndoKind Kind() const override { return UndoKind::Replace; }
    void Revert(UndoBuffer& buffer) override;
    int Position; // 1-based offset in the whole text
    std::u32string OldText;
    std::u32string NewText;
};

struct SelectionState {
    std::uint8_t Mode = 0;
    int BegX = 0;
    int BegY = 0;
    int EndX = 0;
    int EndY = 0;
};

class DeleteSelectedUndo : public DeleteUndo {
public:
    DeleteSelectedUndo(CustomTextEditor& owner, int caretX, int caretY, std::u32string text,
                       int offset, SelectionState selection, int selOffset)
        : DeleteUndo(owner, caretX, caretY, std::move(text), offset), Selection(selection),
          SelOffset(selOffset) {}
    UndoKind Kind() const override { return UndoKind::DeleteSelected; }
    void Revert(UndoBuffer& buffer) override;
    bool Continues(const Undo& earlier) const override;
    SelectionState Selection;
    int SelOffset;
};

class SelectUndo : public CaretUndo {
public:
    SelectUndo(CustomTextEditor& owner, int caretX, int caretY, SelectionState selection)
        : CaretUndo(owner, caretX, caretY), Selection(selection) {}
    UndoKind Kind() const override { return UndoKind::Select; }
    void Revert(UndoBuffer& buffer) override;
    SelectionState Selection;
};

class UnselectUndo : public SelectUndo {
public:
    using SelectUndo::SelectUndo;
    UndoKind Kind() const override { return UndoKind::Unselect; }
};

class BeginCompoundUndo : public Undo {
public:
    using Undo::Undo;
    UndoKind Kind() const override { return UndoKind::BeginCompound; }
    void Revert(UndoBuffer&) override {}
};

class EndCompoundUndo : public BeginCompoundUndo {
public:
    using BeginCompoundUndo::BeginCompoundUndo;
    UndoKind Kind() const override { return UndoKind::EndCompound; }
};

// Paragraphs First..Last got Size blanks in front.
class IndentUndo : public Undo {
public:
    IndentUndo(CustomTextEditor& owner, int first, int last, int size)
        : Undo(owner), First(first), Last(last), Size(size) {}
    UndoKind Kind() const override { return UndoKind::Indent; }
    void Revert(UndoBuffer& buffer) override;
    int First;
    int Last;
    int Size;
};

// Paragraph lost Count leading blanks.
class UnindentUndo : public Undo {
public:
    UnindentUndo(CustomTextEditor& owner, int paragraph, int count)
        : Undo(owner), Paragraph(paragraph), Count(count) {}
    UndoKind Kind() const override { return UndoKind::Unindent; }
    void Revert(UndoBuffer& buffer) override;
    int Paragraph;
    int Count;
};

} // namespace velmora::editor
