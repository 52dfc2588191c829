// The editor's undo history: records oldest first, undone a step at a time.
#pragma once

#include "core/editor/UndoRecords.h"

#include <memory>
#include <vector>

namespace velmora::editor {

class CustomTextEditor;

// A step is a run of records of one kind or a group from BeginCompound to EndCompound. Records
// after UndoPosition were undone; they stay until the next Add discards them.
class UndoBuffer {
public:
    explicit UndoBuffer(CustomTextEditor& owner) : owner_(owner) {}
    UndoBuffer(const UndoBuffer&) = delete;
    UndoBuffer& operator=(const UndoBuffer&) = delete;

    CustomTextEditor& Owner() const { return owner_; }

    // Records made while an undo runs are dropped.
    void Add(std::unique_ptr<Undo> record);
    void Undo();
    [[noreturn]] void Redo();
    void Clear();
    void RemoveLast();

    int Count() const { return static_cast<int>(items_.size()); }
    const editor::Undo* Item(int index) const {
        return items_.at(static_cast<std::size_t>(index)).get();
    }
    editor::Undo* Current() const;
    int UndoPosition = -1;
    bool Undoing() const { return undoing_; }

private:
    CustomTextEditor& owner_;
    std::vector<std::unique_ptr<editor::Undo>> items_;
    bool undoing_ = false;
    // An undone tail was dropped: the next record starts a step of its own.
    bool stepBoundary_ = false;
};

} // namespace velmora::editor
