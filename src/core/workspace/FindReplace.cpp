// Find Next, Replace and Replace All.
#include "core/workspace/FindReplace.h"

#include "core/editor/CustomTextEditor.h"
#include "core/platform/CaseMap.h"
#include "core/platform/Error.h"
#include "core/platform/Utf8.h"
#include "core/workspace/RegexReplacement.h"
#include "core/workspace/RegexSearch.h"
#include "core/workspace/SearchStrings.h"
#include "core/workspace/WholeTextEdit.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

namespace velmora::workspace {

namespace {

// One line of the editor's whole text: where it starts and how long it is, without its break.
struct TextLine {
    int start;
    int length;
};

// The lines between the breaks (CR LF, or a lone CR or LF); the text after the last break is a
// line only when it is not empty, as the line store keeps it.
std::vector<TextLine> SplitLines(std::u32string_view text) {
    std::vector<TextLine> lines;
    const int n = static_cast<int>(text.size());
    int at = 0;
    for (int i = 0; i < n; ++i) {
        if (text[i] != U'\r' && text[i] != U'\n') continue;
        lines.push_back({at, i - at});
        if (text[i] == U'\r' && i + 1 < n && text[i + 1] == U'\n') ++i;
        at = i + 1;
    }
    if (at < n) lines.push_back({at, n - at});
    return lines;
}

// The line that holds the whole-text offset (the last one starting at or before it); -1 before
// the first line.
int LineOf(const std::vector<TextLine>& lines, int offset) {
    auto it = std::upper_bound(lines.begin(), lines.end(), offset,
                               [](int o, const TextLine& l) { return o < l.start; });
    return static_cast<int>(it - lines.begin()) - 1;
}

std::u32string_view View(std::u32string_view text, const TextLine& l) {
    return text.substr(static_cast<std::size_t>(l.start), static_cast<std::size_t>(l.length));
}

} // namespace

FindReplace::FindReplace(editor::CustomTextEditor& editor, platform::Questions& questions)
    : editor_(editor), questions_(questions) {}

void FindReplace::NotFound(const char* pattern) {
    questions_.Ask(platform::MsgIcon::Information,
                   platform::Format(pattern, {platform::EncodeUtf8(Options.FindText)}),
                   platform::mbOK);
    platform::Abort();
}

std::u32string FindReplace::WholeLineBreaks(const std::u32string& text) {
    if (text.find_first_of(U"\r\n") == std::u32string::npos) return text;
    std::u32string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c != U'\r' && c != U'\n') {
            out += c;
            continue;
        }
        out += U"\r\n";
        if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
    }
    return out;
}

void FindReplace::FindDialog1Find() {
    if (Options.RegularExpression) return RegexFind();
    const std::u32string text = editor_.Text32();
    const std::u32string f = WholeLineBreaks(Options.FindText);
    const int length = static_cast<int>(text.size());
    const int s = editor_.SelStart();
    const int k = editor_.SelLength();
    // At the very start of the text with nothing selected, an occurrence right there counts;
    // anywhere else the search leaves out the character at (or just before) the caret.
    const int adjust = (s == 1 && k <= 0) ? 0 : 1;

    // Prepared once: a search may pass over many occurrences that fail the options.
    const ForwardSearch forward(f, false);
    SearchResult r;
    if (Options.Down)
        forward.Find(text, s - 1 + adjust, length, r);
    else
        SearchBackward(text, f, length - s + 1 + adjust, r, false, length);
    if (r.Pos < 0) NotFound("Could not find search text \"%s\"");

    // Occurrences are judged in search order until one passes both options.
    bool anyWholeWord = false;
    while (r.Pos >= 0) {
        const bool wholeWordOk = !Options.WholeWord || r.WholeWord;
        anyWholeWord = anyWholeWord || wholeWordOk;
        if (wholeWordOk && (!Options.MatchCase || r.MatchCase)) break;
        if (Options.Down)
            forward.Find(text, r.Pos + 1, length, r);
        else
            SearchBackward(text, f, length - r.Pos - r.Len + 1, r, false, length);
    }
    if (r.Pos < 0) {
        if (!anyWholeWord) NotFound("Could not find whole word \"%s\"");
        NotFound("Could not find matching case search text \"%s\"");
    }
    if (FocusEditor) FocusEditor();
    editor_.SetSelStart(r.Pos + 1);
    editor_.SetSelLength(r.Len);
}

void FindReplace::ReplaceDialog1Replace(bool replaceAll) {
    // A pattern's Replace All covers the whole text wherever the caret stands.
    if (replaceAll && Options.RegularExpression) {
        if (RegexReplaceAll() == 0) NotFound("Could not find search text \"%s\"");
        return;
    }
    if (editor_.SelLength() < 1) FindDialog1Find();
    // A pattern may match nothing at all (a line start, say): then the empty match found is
    // what is replaced.
    if (editor_.SelLength() < 1 && !Options.RegularExpression) return;
    if (replaceAll)
        ReplaceAll();
    else
        ReplaceOne();
}

bool FindReplace::ReplaceOne() {
    if (Options.RegularExpression) return RegexReplaceOne();
    const std::u32string selected = editor_.SelText();
    const std::u32string f = WholeLineBreaks(Options.FindText);
    const bool same =
        Options.MatchCase ? selected == f : platform::ToUpper(selected) == platform::ToUpper(f);
    if (!same) return false;
    editor_.ReplaceSelection(WholeLineBreaks(Options.ReplaceText));
    if (FocusEditor) FocusEditor();
    return true;
}

int FindReplace::ReplaceAll() {
    if (Options.RegularExpression) return RegexReplaceAll();
    std::u32string text = editor_.Text32();
    const std::u32string f = WholeLineBreaks(Options.FindText);
    const std::u32string r = WholeLineBreaks(Options.ReplaceText);
    std::u32string out;
    std::size_t copied = 0; // text[0, copied) is in out, replacements made
    int count = 0;
    const ForwardSearch search(f, true);
    SearchResult hit;
    search.Find(text, 0, static_cast<int>(text.size()), hit);
    while (hit.Pos >= 0) {
        const auto p = static_cast<std::size_t>(hit.Pos);
        bool wholeWord = hit.WholeWord;
        // Right after a replacement, the character before an occurrence is the last one of the
        // text as replaced so far.
        if (Options.WholeWord && count > 0 && p == copied) {
            const std::size_t end = p + f.size();
            wholeWord = (out.empty() || !IsWordChar(out.back())) &&
                        (end >= text.size() || !IsWordChar(text[end]));
        }
        std::size_t next = p + 1;
        if ((!Options.WholeWord || wholeWord) && (!Options.MatchCase || hit.MatchCase)) {
            if (out.empty()) out.reserve(text.size() + text.size() / 4);
            out.append(text, copied, p - copied);
            out += r;
            copied = p + f.size();
            next = copied;
            ++count;
        }
        search.Find(text, static_cast<int>(next), static_cast<int>(text.size() - next), hit);
    }
    if (count == 0) return 0;
    out.append(text, copied, std::u32string::npos);
    ReplaceWholeText(editor_, std::move(text), std::move(out));
    return count;
}

void FindReplace::RegexFind() {
    const RegexSearch re(Options.FindText, Options.MatchCase, Options.WholeWord);
    const std::u32string text = editor_.Text32();
    const std::vector<TextLine> lines = SplitLines(text);
    const int n = static_cast<int>(lines.size());
    const int a = editor_.SelStart() - 1;
    const int b = a + std::max(editor_.SelLength(), 0);
    RegexMatch m;
    int found = -1;
    if (Options.Down) {
        // On from the selection's end (a word just found is not found again in part), from the
        // caret itself when nothing is selected; an empty match at the caret would never move
        // on, so it does not count there.
        int i = std::max(LineOf(lines, b), 0);
        int column = i < n ? b - lines[static_cast<std::size_t>(i)].start : 0;
        if (i < n && column > lines[static_cast<std::size_t>(i)].length) ++i, column = 0;
        for (bool first = true; i < n && found < 0; ++i, column = 0, first = false)
            if (re.Find(View(text, lines[static_cast<std::size_t>(i)]), column, first && b == a, m))
                found = i;
    } else {
        // The last match, as a left-to-right walk of its line finds them, that lies before the
        // selection start.
        for (int i = std::min(LineOf(lines, a), n - 1); i >= 0 && found < 0; --i) {
            const TextLine& l = lines[static_cast<std::size_t>(i)];
            const int limit =
                a - l.start <= l.length ? a - l.start : std::numeric_limits<int>::max();
            re.ForEach(View(text, l), [&](const RegexMatch& each) {
                if (each.Start() < limit && each.End() <= limit) {
                    m = each;
                    found = i;
                }
            });
        }
    }
    if (found < 0) NotFound("Could not find search text \"%s\"");
    if (FocusEditor) FocusEditor();
    editor_.SetSelStart(lines[static_cast<std::size_t>(found)].start + m.Start() + 1);
    editor_.SetSelLength(m.End() - m.Start());
}

bool FindReplace::RegexReplaceOne() {
    const RegexSearch re(Options.FindText, Options.MatchCase, Options.WholeWord);
    const std::u32string text = editor_.Text32();
    const std::vector<TextLine> lines = SplitLines(text);
    const int a = editor_.SelStart() - 1;
    const int length = std::max(editor_.SelLength(), 0);
    const int i = LineOf(lines, a);
    if (i < 0) return false;
    const TextLine& l = lines[static_cast<std::size_t>(i)];
    // The selection is an occurrence when the pattern, tried right at its start within its line,
    // matches exactly the selected text.
    const int column = a - l.start;
    if (column + length > l.length) return false;
    const std::u32string_view line = View(text, l);
    RegexMatch m;
    if (!re.MatchAt(line, column, m) || m.End() != column + length) return false;
    std::u32string replacement;
    RegexReplacement(Options.ReplaceText).Expand(line, m, replacement);
    editor_.ReplaceSelection(replacement);
    if (FocusEditor) FocusEditor();
    return true;
}

int FindReplace::RegexReplaceAll() {
    using Clock = std::chrono::steady_clock;
    const RegexSearch re(Options.FindText, Options.MatchCase, Options.WholeWord);
    const RegexReplacement replacement(Options.ReplaceText);
    std::u32string text = editor_.Text32();
    const std::vector<TextLine> lines = SplitLines(text);
    std::u32string out;
    std::size_t copied = 0; // text[0, copied) is in out, replacements made
    int count = 0;
    const auto started = Clock::now();
    bool progressShown = false;
    const std::size_t n = lines.size();
    for (std::size_t i = 0; i < n; ++i) {
        const TextLine& l = lines[i];
        const std::u32string_view line = View(text, l);
        re.ForEach(line, [&](const RegexMatch& m) {
            if (out.empty()) out.reserve(text.size() + text.size() / 4);
            const std::size_t at = static_cast<std::size_t>(l.start + m.Start());
            out.append(text, copied, at - copied);
            replacement.Expand(line, m, out);
            copied = static_cast<std::size_t>(l.start + m.End());
            ++count;
        });
        // A slow pattern over a large folder says how far it has come.
        if (Status && (i & 1023) == 1023 && Clock::now() - started >= ProgressAfter) {
            progressShown = true;
            Status->SetStatusText(platform::Format(
                "Replace All: %d%% of %d lines",
                {static_cast<std::int64_t>((i + 1) * 100 / n), static_cast<std::int64_t>(n)}));
        }
    }
    if (progressShown)
        Status->SetStatusText(
            platform::Format("Replace All: %d replaced", {static_cast<std::int64_t>(count)}));
    if (count == 0) return 0;
    out.append(text, copied, std::u32string::npos);
    ReplaceWholeText(editor_, std::move(text), std::move(out));
    return count;
}

} // namespace velmora::workspace
