// Shared helpers for the editor model tests.
#pragma once

#include "core/editor/Clipboard.h"
#include "core/editor/CustomTextEditor.h"
#include "core/platform/Utf8.h"

#include <string>

namespace velmora::editor::test {

inline std::u32string U(const std::string& s) {
    return platform::DecodeUtf8(s);
}
inline std::string S(const std::u32string& s) {
    return platform::EncodeUtf8(s);
}

// An editor as the names pane uses it, loaded with text.
inline void Load(CustomTextEditor& ed, const std::string& text) {
    ed.Lines().SetTextStr(text);
}

inline void Type(CustomTextEditor& ed, const std::u32string& s) {
    for (char32_t c : s)
        ed.TypeChar(c);
}

class MemoryClipboard : public Clipboard {
public:
    std::u32string GetText() override { return text; }
    void SetText(const std::u32string& t) override {
        text = t;
        ++writes;
    }
    std::u32string text;
    int writes = 0;
};

} // namespace velmora::editor::test
