// The desktop clipboard behind the editor model's clipboard interface.
#pragma once

#include "core/editor/Clipboard.h"

namespace velmora::ui {

class QtClipboard : public editor::Clipboard {
public:
    std::u32string GetText() override;
    void SetText(const std::u32string& text) override;
    // Whether the clipboard holds text to paste.
    static bool CanPaste();
};

} // namespace velmora::ui
