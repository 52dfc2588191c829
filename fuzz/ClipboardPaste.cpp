// Fuzzes pasting text from other programs into the names editor: any bytes, any line breaks
// and tabs, at any caret, with a selection or without. The paste must land whole up to a NUL and
// undo must give back the text as it was.
#include "core/editor/CustomTextEditor.h"
#include "core/platform/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
class FixedClipboard : public velmora::editor::Clipboard {
public:
    std::u32string text;
    std::u32string GetText() override { return text; }
    void SetText(const std::u32string& t) override { text = t; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    using velmora::editor::CustomTextEditor;
    CustomTextEditor ed;
    // The names pane's options.
    ed.SetWordWrap(false);
    ed.CursorBeyondEOF = true;
    ed.CursorBeyondEOL = false;
    ed.KeepTrailingBlanks = true;
    FixedClipboard clipboard;
    ed.SetClipboard(&clipboard);
    ed.Lines().SetTextStr("first name.mp3\nsecond\n\nlast one.mp3");
    const std::string before = ed.Text();

    // First bytes: caret row and column, and a selection length; the rest is the pasted text.
    ed.SetCaret(data[0] % 8, data[1] % 6);
    if (data[2] % 4 == 0) {
        ed.SetSelStart(1 + data[2] % 20);
        ed.SetSelLength(data[2] % 7);
    }
    clipboard.text = velmora::platform::DecodeUtf8(
        std::string(reinterpret_cast<const char*>(data) + 3, size - 3));
    ed.ClipboardPaste();

    // Every pasted character up to a NUL is in the text, with its breaks as CR LF.
    const std::u32string pasted = clipboard.text.substr(0, clipboard.text.find(U'\0'));
    std::size_t pastedChars = 0;
    for (std::size_t i = 0; i < pasted.size(); ++i) {
        const char32_t c = pasted[i];
        if (c == U'\r' && i + 1 < pasted.size() && pasted[i + 1] == U'\n') continue;
        if (c != U'\t') ++pastedChars;
    }
    if (ed.Text32().size() < pastedChars) std::abort();

    for (int i = 0; i < 64 && ed.UndoList().Count() > 0; ++i)
        ed.Undo();
    if (ed.Text() != before) std::abort();
    return 0;
}
