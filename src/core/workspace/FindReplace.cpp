// Find Next, Replace and Replace All.
#include "core/workspace/FindReplace.h"

#include "core/editor/CustomTextEditor.h"
#include "core/platform/CaseMap.h"
#include "core/platform/Error.h"
#include "core/platform/Utf8.h"
#include "core/workspace/SearchStrings.h"
#include "core/workspace/WholeTextEdit.h"

namespace velmora::workspace {

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
    if (editor_.SelLength() < 1) FindDialog1Find();
    if (editor_.SelLength() < 1) return;
    if (replaceAll)
        ReplaceAll();
    else
        ReplaceOne();
}

bool FindReplace::ReplaceOne() {
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

} // namespace velmora::workspace
