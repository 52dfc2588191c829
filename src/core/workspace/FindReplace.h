// Find and replace in the names editor: what the find-and-replace dialog's buttons do.
#pragma once

#include "core/platform/Questions.h"

#include <chrono>
#include <functional>
#include <string>

namespace velmora::editor {
class CustomTextEditor;
}

namespace velmora::workspace {

// The dialog's state, kept between uses; every option is off at start.
struct FindOptions {
    std::u32string FindText;
    std::u32string ReplaceText;
    bool Down = false;
    bool WholeWord = false;
    bool MatchCase = false;
    // The find text is a Perl-compatible regular expression matched within each line, and the
    // replace text may refer to its groups (see RegexReplacement).
    bool RegularExpression = false;
};

class FindReplace {
public:
    FindReplace(editor::CustomTextEditor& editor, platform::Questions& questions);

    FindOptions Options;
    // Gives the keyboard focus to the editor (the window knows how).
    std::function<void()> FocusEditor;
    // Where a regular-expression Replace All that has taken longer than ProgressAfter shows its
    // progress; none when null.
    platform::StatusSink* Status = nullptr;
    std::chrono::milliseconds ProgressAfter{500};

    // Find Next: selects the next occurrence, in the chosen direction from the selection start
    // (or the caret), that passes the Whole word and Match case options. When none does, an
    // information box says so ("Could not find ...") and the command ends with the silent abort.
    void FindDialog1Find();
    // Replace and Replace All: without a selection first finds; then replaces the selection
    // (Replace) or every occurrence (Replace All).
    void ReplaceDialog1Replace(bool replaceAll);
    // Replaces the selection by the replace text if it is an occurrence of the find text.
    bool ReplaceOne();
    // Replaces every occurrence in the whole text that passes the options, as one undo step;
    // returns how many were replaced.
    int ReplaceAll();

    // text with every line break (CR LF, a lone CR or a lone LF) written as the pane's CR LF, so
    // that a break typed or pasted into the dialog finds and makes a whole line break.
    static std::u32string WholeLineBreaks(const std::u32string& text);

private:
    [[noreturn]] void NotFound(const char* pattern);
    // The same three commands with the find text as a regular expression.
    void RegexFind();
    bool RegexReplaceOne();
    int RegexReplaceAll();

    editor::CustomTextEditor& editor_;
    platform::Questions& questions_;
};

} // namespace velmora::workspace
