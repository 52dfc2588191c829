// Case commands and macro recording.
#include "core/workspace/NameCommands.h"

#include "core/editor/CustomTextEditor.h"
#include "core/editor/EditorCommands.h"
#include "core/platform/CaseMap.h"
#include "core/workspace/NameLine.h"

#include <string_view>

namespace velmora::workspace {

namespace {

void ReplaceSelected(editor::CustomTextEditor& ed, std::u32string (*convert)(std::u32string)) {
    std::u32string text = ed.SelText();
    if (text.empty()) return;
    ed.ReplaceSelection(convert(std::move(text)));
}

} // namespace

void NameCommands::UpperCase(editor::CustomTextEditor& ed) {
    ReplaceSelected(ed, [](std::u32string s) { return platform::ToUpper(std::move(s)); });
}

void NameCommands::LowerCase(editor::CustomTextEditor& ed) {
    ReplaceSelected(ed, [](std::u32string s) { return platform::ToLower(std::move(s)); });
}

void NameCommands::Capitalize(editor::CustomTextEditor& ed) {
    std::u32string text = ed.SelText();
    if (text.empty()) return;
    // A selection starts a word at the start of a line or after a separator, not inside a word.
    const editor::TextPos begin = ed.SelBeg();
    const editor::ParagraphPos at = ed.Lines().RowToParagraph(begin.X, begin.Y);
    bool atWordStart = at.Offset == 0;
    if (!atWordStart) {
        const std::u32string line = ed.Lines().Get32(at.Paragraph);
        atWordStart = at.Offset > static_cast<int>(line.size()) ||
                      IsCapitalizeSeparator(line[static_cast<std::size_t>(at.Offset) - 1]);
    }
    ed.ReplaceSelection(CapitalizeText(std::move(text), atWordStart));
}

bool NameCommands::IsCapitalizeSeparator(char32_t c) {
    static constexpr std::u32string_view kSeparators = U"\t ()+,-./:;[\\]_{}";
    // The picture a name's tab is shown as separates words as the tab does.
    return c == NameLine::kTabPicture || kSeparators.find(c) != std::u32string_view::npos;
}

std::u32string NameCommands::CapitalizeText(std::u32string text, bool atWordStart) {
    bool afterSeparator = atWordStart;
    for (char32_t& c : text) {
        if (c == U'\r' || c == U'\n') {
            afterSeparator = true; // every line is a name of its own
        } else if (!afterSeparator) {
            afterSeparator = IsCapitalizeSeparator(c);
        } else if (!IsCapitalizeSeparator(c)) {
            c = platform::ToUpper(c);
            afterSeparator = false;
        }
    }
    return text;
}

bool NameCommands::Record(editor::CustomTextEditor& ed) {
    const bool wasRecording = ed.Recording();
    ed.ExecuteCommand(editor::cmdRecordMacro);
    return wasRecording && !ed.Recording();
}

} // namespace velmora::workspace
