// The line the names pane shows for a file. A Linux file name may hold line breaks, which would
// split it over two lines and pair every later line with the wrong file, and tabs, which the pane
// turns into blanks, renaming a file whose line was never touched. They are shown as the Unicode
// control pictures instead ("␉" for a tab, "␊" for a line feed, "␍" for a carriage return), so
// that line i stays the name of file i. The pictures are characters nobody types by accident,
// and each stands for exactly one character, so an edited line turns back into the name it
// shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::workspace {

class NameLine {
public:
    // The name as one line, without its extension when excludeExt is set.
    static std::string Of(std::string_view fileName, bool excludeExt);
    // The name with line breaks and tabs replaced by their pictures; other names come back as
    // they are.
    static std::string OneLine(std::string fileName);
    // The name Apply gives the file named oldName for the pane's line: the line, followed by
    // the old name's extension when the list was loaded without extensions. Nothing when the
    // line leaves the file as it is: the line as it was listed, or the old name itself.
    static std::optional<std::string> NewName(std::string_view oldName, std::string_view line,
                                              bool excludeExt);
    // The name a line stands for: every picture turned back into its character.
    static std::string FileName(std::string line);
    // The picture that stands for a tab in a line.
    static constexpr char32_t kTabPicture = U'\u2409';
};

} // namespace velmora::workspace
