// The undo history and its step rules.
#include "core/editor/UndoBuffer.h"

#include "core/editor/CustomTextEditor.h"
#include "core/editor/EditorErrors.h"
#include "core/editor/ScopeExit.h"

namespace velmora::editor {

namespace {
// Line breaks and blanks added to reach the caret belong to the step they were added for.
bool IsPadding(UndoKind kind) {
    return kind == UndoKind::ReLine || kind == UndoKind::DeleteTrail;
}
} // namespace

editor::Undo* UndoBuffer::Current() const {
    if (UndoPosition < 0 || UndoPosition >= Count()) return nullptr;
    return items_[static_cast<std::size_t>(UndoPosition)].get();
}

void UndoBuffer::Add(std::unique_ptr<editor::Undo> record) {
    if (undoing_) return;
    owner_.StatusChanged();
    if (UndoPosition + 1 < Count()) {
        items_.erase(items_.begin() + (UndoPosition + 1), items_.end());
        stepBoundary_ = true;
    }
    record->StartsStep = stepBoundary_;
    stepBoundary_ = false;
    items_.push_back(std::move(record));
    UndoPosition = Count() - 1;
}

void UndoBuffer::Undo() {
    if (Current() == nullptr) return;
    {
        undoing_ = true;
        ScopeExit stopUndoing([this] { undoing_ = false; });
        bool anyType = false; // after a group's start nothing but padding continues the step
        UndoKind type = Current()->Kind();
        int depth = 0;
        while (editor::Undo* record = Current()) {
            const UndoKind kind = record->Kind();
            const bool padding = IsPadding(kind);
            if ((anyType || kind != type) && !padding && depth <= 0) break;
            if (kind == UndoKind::BeginCompound) {
                anyType = true;
                --depth;
            } else if (kind == UndoKind::EndCompound) {
                ++depth;
            }
            const bool typeWasPadding = !anyType && IsPadding(type);
            record->Revert(*this);
            // A record of the same kind that the run just taken back does not continue (an
            // edit elsewhere) is a step of its own.
            const editor::Undo* earliest = Current();
            --UndoPosition;
            if (typeWasPadding && Current() != nullptr) type = Current()->Kind();
            const editor::Undo* next = Current();
            if (next != nullptr && depth <= 0 && earliest != nullptr && !IsPadding(next->Kind()) &&
                next->Kind() == earliest->Kind() && !earliest->Joins(*next))
                break;
        }
    }
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
    stepBoundary_ = false;
    UndoPosition = -1;
    owner_.StatusChanged();
}

void UndoBuffer::RemoveLast() {
    if (!items_.empty()) {
        // The next record takes over a boundary the removed one carried.
        stepBoundary_ = stepBoundary_ || items_.back()->StartsStep;
        items_.pop_back();
    }
    UndoPosition = Count() - 1;
}

} // namespace velmora::editor
