// The names pane rewritten through the whole-text edit, so that undo and Modified behave as for
// every other command.
#include "core/tagnames/PaneLines.h"

#include "core/editor/CustomTextEditor.h"
#include "core/platform/Utf8.h"
#include "core/tagnames/TagNames.h"
#include "core/workspace/WholeTextEdit.h"

namespace velmora::tagnames {

namespace {

std::u32string TextOf(const std::vector<std::string>& lines) {
    std::u32string text;
    for (const std::string& line : lines) {
        text += platform::DecodeUtf8(line);
        text += U"\r\n";
    }
    return text;
}

} // namespace

void PaneLines::Write(editor::CustomTextEditor& pane, const std::vector<std::string>& lines) {
    workspace::ReplaceWholeText(pane, pane.Text32(), TextOf(lines));
}

void PaneLines::MakeSafe(editor::CustomTextEditor& pane, const std::vector<std::string>& fileNames,
                         bool excludeExt, const SafeNameRules& rules) {
    const int count = pane.Lines().Count();
    int first = 0, last = count - 1;
    if (pane.Selected()) {
        first = pane.SelBeg().Y;
        last = pane.SelEnd().Y;
        // A selection ending at the start of a line does not touch that line.
        if (last > first && pane.SelEnd().X == 0) --last;
    }
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string line = platform::EncodeUtf8(pane.Lines().Get32(i));
        if (i >= first && i <= last) {
            const bool listed = static_cast<std::size_t>(i) < fileNames.size();
            line = TagNames::SafeLine(line, listed ? fileNames[static_cast<std::size_t>(i)] : line,
                                      excludeExt && listed, rules);
        }
        lines.push_back(std::move(line));
    }
    Write(pane, lines);
}

} // namespace velmora::tagnames
