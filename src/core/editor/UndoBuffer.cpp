// The undo history and its step rules.
#include "core/editor/UndoBuffer.h"

#include "core/editor/CustomTextEditor.h"
#include "core/editor/EditorErrors.h"

namespace velmora::editor {

editor::Undo* UndoBuffer::Current() const {
    if (UndoPosition < 0 || UndoPosition >= Count()) return nullptr;
    return items_[static_cast<std::size_t>(UndoPosition)].get();
}

void UndoBuffer::Add(std::unique_ptr<editor::Undo> record) {
    if (undoing_) return;
    owner_.StatusChanged();
    items_.erase(items_.begin() + (UndoPosition + 1), items_.end());
    items_.push_back(std::move(record));
    UndoPosition = Count() - 1;
}

void UndoBuffer::Undo() {
    if (Current() == nullptr) return;
    undoing_ = true;
    try {
        bool anyType = false; // after a group's start nothing but padding continues the step
        UndoKind type = Current()->Kind();
        int depth = 0;
        while (editor::Undo* record = Current()) {
            const UndoKind kind = record->Kind();
            const bool padding = kind == UndoKind::ReLine || kind == UndoKind::DeleteTrail;
            if ((anyType || kind != type) && !padding && depth <= 0) break;
            if (kind == UndoKind::BeginCompound) {
                anyType = true;
                --depth;
            } else if (kind == UndoKind::EndCompound) {
                ++depth;
            }
            const bool typeWasPadding =
                !anyType && (type == UndoKind::ReLine || type == UndoKind::DeleteTrail);
            record->Revert(*this);
            --UndoPosition;
            if (typeWasPadding && Current() != nullptr) type = Current()->Kind();
        }
    } catch (...) {
        undoing_ = false;
        throw;
    }
    undoing_ = false;
    if (owner_.UpdateLock() == 0) {
        owner_.UpdateEditorSize(false, false);
        owner_.RepaintAll();
        owner_.TextChanged();
    }
}

void UndoBuffer::Redo() {
    throw ETextEditorError("Redo not yet implemented");
}

void UndoBuffer::Clear() {
    items_.clear();
    UndoPosition = -1;
    owner_.StatusChanged();
}

void UndoBuffer::RemoveLast() {
    if (!items_.empty()) items_.pop_back();
    UndoPosition = Count() - 1;
}

} // namespace velmora::editor
