// The case commands and the macro recorder of the names pane's menu.
#pragma once

#include <string>

namespace velmora::editor {
class CustomTextEditor;
}

namespace velmora::workspace {

class NameCommands {
public:
    // Each replaces the selection by its converted text as one undo step and leaves it
    // selected; without a selection nothing changes. Letters change by Unicode simple case
    // mapping, so accented letters change too.
    static void UpperCase(editor::CustomTextEditor& editor);
    static void LowerCase(editor::CustomTextEditor& editor);
    static void Capitalize(editor::CustomTextEditor& editor);

    // Upper-cases the first character of every word: the first character after a run of
    // separators or a line break, and the first character when atWordStart says the text starts
    // a word. Nothing is lower-cased.
    static std::u32string CapitalizeText(std::u32string text, bool atWordStart = true);
    // Tab (and the picture shown for one), space and ( ) + , - . / : ; [ \ ] _ { }
    static bool IsCapitalizeSeparator(char32_t c);

    // Starts or stops recording a macro; true when a recording has just stopped, which makes
    // the macro available for Play.
    static bool Record(editor::CustomTextEditor& editor);
};

} // namespace velmora::workspace
