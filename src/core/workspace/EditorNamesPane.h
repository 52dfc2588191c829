// The new-names pane as the workspace sees it: the editor model's lines and modified flag.
#pragma once

#include "core/editor/CustomTextEditor.h"
#include "core/workspace/NamesPane.h"

namespace velmora::workspace {

class EditorNamesPane : public NamesPane {
public:
    explicit EditorNamesPane(editor::CustomTextEditor& editor) : editor_(editor) {}
    platform::StringList& Lines() override { return editor_.Lines(); }
    bool Modified() const override { return editor_.Modified(); }
    void SetModified(bool modified) override { editor_.SetModified(modified); }
    void BeginLoad() override;
    void EndLoad() override;
    editor::CustomTextEditor& Editor() { return editor_; }

private:
    editor::CustomTextEditor& editor_;
};

} // namespace velmora::workspace
