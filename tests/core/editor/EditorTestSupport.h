// Shared helpers for the editor model tests.
#pragma once

#include "core/editor/Clipboard.h"
#include "core/editor/CustomTextEditor.h"
#include "core/editor/EditorCommands.h"
#include "core/platform/Utf8.h"
#include "support/ThrownMessage.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

namespace velmora::editor {
inline void PrintTo(const TextPos& p, std::ostream* os) {
    *os << "{" << p.X << ", " << p.Y << "}";
}
} // namespace velmora::editor

namespace velmora::editor::test {

inline std::string S(const std::u32string& s) {
    return platform::EncodeUtf8(s);
}

inline void Load(CustomTextEditor& ed, const std::string& text) {
    ed.Lines().SetTextStr(text);
}

inline void Type(CustomTextEditor& ed, const std::u32string& s) {
    for (char32_t c : s)
        ed.TypeChar(c);
}

using velmora::test::ThrownMessage;

// n rows of the same text, each ended by a break.
inline std::string Rows(int n, const std::string& row = "line") {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += row + "\r\n";
    return text;
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

// A selection from its beginning to its end.
using Span = std::pair<TextPos, TextPos>;

// An unwrapped editor with a clipboard of its own, and short ways to drive it.
template <class Editor = CustomTextEditor> struct EditorFixture : ::testing::Test {
    Editor ed;
    MemoryClipboard clip;
    void SetUp() override {
        ed.SetWordWrap(false);
        ed.SetClipboard(&clip);
    }
    TextPos Caret() const { return {ed.CaretX(), ed.CaretY()}; }
    void LoadAt(const std::string& text, int x, int y) {
        Load(ed, text);
        ed.SetCaret(x, y);
    }
    void Run(std::uint16_t code) { ed.ExecuteCommand(code); }
    void Run(std::initializer_list<std::uint16_t> codes) {
        for (auto c : codes)
            ed.ExecuteCommand(c);
    }
    Span Sel() const { return {ed.SelBeg(), ed.SelEnd()}; }
    void Extend(int ax, int ay, int bx, int by) {
        ed.ExtendSelection(ax, ay);
        ed.ExtendSelection(bx, by);
    }
    void Select(int bx, int by, int ex, int ey) {
        ed.SetCaret(bx, by);
        ed.ExtendSelection(bx, by);
        ed.ExtendSelection(ex, ey);
        ed.MoveCaret(ex, ey);
    }
    // Runs each command in turn and checks the caret after it.
    void Moves(std::initializer_list<std::pair<std::uint16_t, TextPos>> steps) {
        for (const auto& [code, pos] : steps) {
            SCOPED_TRACE(testing::Message() << "command " << code);
            Run(code);
            EXPECT_EQ(Caret(), pos);
        }
    }
    struct Edit {
        Edit(std::uint16_t c, std::string t, std::optional<TextPos> p = {})
            : code(c), text(std::move(t)), caret(p) {}
        std::uint16_t code;
        std::string text;
        std::optional<TextPos> caret;
    };
    // Runs each command in turn and checks the whole text, and the caret where given, after it.
    void Edits(std::initializer_list<Edit> steps) {
        for (const Edit& s : steps) {
            SCOPED_TRACE(testing::Message() << "command " << s.code);
            Run(s.code);
            EXPECT_EQ(ed.Text(), s.text);
            if (s.caret) {
                EXPECT_EQ(Caret(), *s.caret);
            }
        }
    }
};

} // namespace velmora::editor::test
