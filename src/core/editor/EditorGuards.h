// Scoped brackets of the editor: the update bracket and the compound undo group.
#pragma once

#include "core/editor/CustomTextEditor.h"
#include "core/editor/ScopeExit.h"

namespace velmora::editor {

// BeginUpdate for a scope; EndUpdate (which repaints once) however the scope ends.
class UpdateGuard {
public:
    explicit UpdateGuard(CustomTextEditor& editor) : editor_(editor) { editor_.BeginUpdate(); }
    ~UpdateGuard() noexcept(false) {
        RunAtScopeEnd([this] { editor_.EndUpdate(); });
    }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    CustomTextEditor& editor_;
};

// One undo step for everything recorded in a scope, closed however the scope ends.
class CompoundUndoGuard {
public:
    explicit CompoundUndoGuard(CustomTextEditor& editor) : editor_(editor) {
        editor_.BeginCompound();
    }
    ~CompoundUndoGuard() noexcept(false) {
        RunAtScopeEnd([this] { editor_.EndCompound(); });
    }
    CompoundUndoGuard(const CompoundUndoGuard&) = delete;
    CompoundUndoGuard& operator=(const CompoundUndoGuard&) = delete;

private:
    CustomTextEditor& editor_;
};

} // namespace velmora::editor
