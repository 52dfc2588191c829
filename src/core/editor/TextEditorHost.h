// What the line store needs from the editor that owns it.
#pragma once

#include "core/editor/TextPos.h"

#include <string>

namespace velmora::editor {

class CustomTextEditor;

// The line store's only way into its editor: the update lock, the settings that cut rows, the
// caret, the undo list and the change notification. The editor implements it.
class TextEditorHost {
public:
    virtual ~TextEditorHost() = default;

    // The editor that events name as their sender.
    virtual CustomTextEditor& Sender() = 0;

    // While the update lock is held, changes of the store are not announced.
    virtual void LockUpdates() = 0;
    virtual void UnlockUpdates() noexcept = 0; // only the count; announcing is the caller's part
    virtual bool UpdatesLocked() const = 0;
    // The store's changes are done: show the whole text again.
    virtual void TextAllChanged() = 0;

    virtual int TabSize() const = 0;
    virtual bool WordWrap() const = 0;
    virtual int WrapWidth() const = 0;
    // A paragraph of this many characters was stored (the longest line sizes the view).
    virtual void NoteLineLength(int length) = 0;

    virtual TextPos Caret() const = 0;
    // Puts the caret at the start as a move that always counts as a change.
    virtual void ResetCaret() = 0;

    // Records text added at (x, y), whole-text offset offset, as one undo step.
    virtual void RecordLineUndo(int x, int y, const std::u32string& text, int offset) = 0;
    virtual int UndoOffset(int x, int y) const = 0;
    virtual void ClearUndo() = 0;
};

// Holds a host's update lock for a scope, released however the scope ends.
class UpdateLockGuard {
public:
    explicit UpdateLockGuard(TextEditorHost& host) : host_(host) { host_.LockUpdates(); }
    ~UpdateLockGuard() { host_.UnlockUpdates(); }
    UpdateLockGuard(const UpdateLockGuard&) = delete;
    UpdateLockGuard& operator=(const UpdateLockGuard&) = delete;

private:
    TextEditorHost& host_;
};

} // namespace velmora::editor
