// Number Lines.
#include "core/workspace/LineNumbering.h"

#include "core/editor/CustomTextEditor.h"
#include "core/platform/Error.h"
#include "core/platform/Utf8.h"
#include "core/workspace/LinesUndo.h"
#include "core/workspace/WholeTextEdit.h"

#include <charconv>
#include <limits>
#include <vector>

namespace velmora::workspace {

namespace {

// No file name is longer than 255 bytes, so no wider number can be part of a name; the cap
// also keeps a mistyped width from building lines of gigabytes.
constexpr int kMaxDigits = 255;

[[noreturn]] void NotAnInteger(std::string_view text) {
    throw platform::EConvertError(
        platform::Format("'%s' is not a valid integer value", {std::string(text)}));
}

} // namespace

std::int32_t StrToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) NotAnInteger(text);
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') NotAnInteger(text);
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) NotAnInteger(text);
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) NotAnInteger(text);
    return static_cast<std::int32_t>(value);
}

LineNumbering::LineNumbering(std::string_view startText, std::string_view stepText,
                             std::string_view digitsText, std::string separator)
    : start_(StrToInt(startText)), step_(StrToInt(stepText)), separator_(std::move(separator)) {
    const int digits = StrToInt(digitsText);
    if (digits < 2) return;
    // The width goes into the format "%.<digits as typed>d", which takes nothing but digits.
    const bool plainDigits = digitsText.find_first_not_of("0123456789") == std::string_view::npos;
    if (!plainDigits || digits > kMaxDigits)
        throw platform::EConvertError(
            platform::Format("Format '%s' invalid or incompatible with argument",
                             {"%." + std::string(digitsText) + "d"}));
    precision_ = digits;
}

std::string LineNumbering::Format(std::int64_t n) const {
    char buf[24];
    const std::uint64_t magnitude =
        n < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    const auto end = std::to_chars(buf, buf + sizeof buf, magnitude).ptr;
    const auto len = static_cast<int>(end - buf);
    std::string out;
    out.reserve(static_cast<std::size_t>(std::max(len, precision_)) + 1);
    if (n < 0) out += '-';
    if (precision_ > len) out.append(static_cast<std::size_t>(precision_ - len), '0');
    out.append(buf, end);
    return out;
}

void LineNumbering::Apply(editor::CustomTextEditor& ed) const {
    editor::TextEditorStrings& lines = ed.Lines();
    const int count = lines.Count();
    if (count == 0) return;
    const std::u32string separator = platform::DecodeUtf8(separator_);
    const auto appendNumbered = [&](std::u32string& out, std::int64_t n,
                                    const std::u32string& line) {
        for (char c : Format(n))
            out += static_cast<char32_t>(c);
        out += separator;
        out += line;
    };
    if (separator.find_first_of(U"\r\n") != std::u32string::npos) {
        // Breaks in the separator make new paragraphs; the whole text is split again.
        std::u32string newText;
        std::int64_t n = start_;
        for (int i = 0; i < count; ++i, n += step_) {
            appendNumbered(newText, n, lines.Get32(i));
            newText += U"\r\n";
        }
        ReplaceWholeText(ed, lines.GetText32(), std::move(newText));
        return;
    }
    const CompoundEdit edit(ed);
    ed.SetSelected(false);
    const int caretX = ed.CaretX(), caretY = ed.CaretY();
    std::vector<std::u32string> oldLines;
    oldLines.reserve(static_cast<std::size_t>(count));
    std::u32string line;
    std::int64_t n = start_;
    for (int i = 0; i < count; ++i, n += step_) {
        oldLines.push_back(lines.Get32(i));
        line.clear();
        appendNumbered(line, n, oldLines.back());
        lines.LockedPut(i, line);
    }
    // A compound of its own, so that numbering twice stays two undo steps.
    ed.RecordUndo<LinesUndo>(caretX, caretY, std::move(oldLines));
    ed.UpdateEditorSize(false, false);
    ed.MoveCaret(ed.CursorBeyondEOL ? caretX : ed.ClampToRow(caretX, caretY), caretY);
    ed.TextChanged();
}

} // namespace velmora::workspace
