// Names as single lines.
#include "core/workspace/NameLine.h"

#include "core/fs/PathUtils.h"

#include <algorithm>

namespace velmora::workspace {

namespace {
// U+2409, U+240A and U+240D in UTF-8: the same two lead bytes, then one byte each.
constexpr std::string_view kPictureLead = "\xE2\x90";
constexpr char kTabTail = '\x89';
constexpr char kLineFeedTail = '\x8A';
constexpr char kCarriageReturnTail = '\x8D';
} // namespace

// Runs for every listed file and every painted row: a name without a break or a tab, nearly
// every name, comes back as it is instead of being copied character by character.
std::string NameLine::OneLine(std::string fileName) {
    if (fileName.find_first_of("\r\n\t") == std::string::npos) return fileName;
    std::string line;
    line.reserve(fileName.size() + 8);
    for (const char c : fileName) {
        if (c == '\t')
            line.append(kPictureLead).push_back(kTabTail);
        else if (c == '\n')
            line.append(kPictureLead).push_back(kLineFeedTail);
        else if (c == '\r')
            line.append(kPictureLead).push_back(kCarriageReturnTail);
        else
            line += c;
    }
    return line;
}

std::string NameLine::FileName(std::string line) {
    std::size_t at = line.find(kPictureLead);
    if (at == std::string::npos) return line;
    std::string name;
    name.reserve(line.size());
    std::size_t from = 0;
    for (; at != std::string::npos; at = line.find(kPictureLead, at)) {
        const char tail = at + 2 < line.size() ? line[at + 2] : '\0';
        const char c = tail == kTabTail              ? '\t'
                       : tail == kLineFeedTail       ? '\n'
                       : tail == kCarriageReturnTail ? '\r'
                                                     : '\0';
        if (c == '\0') {
            at += 2;
            continue;
        }
        name.append(line, from, at - from).push_back(c);
        from = at += 3;
    }
    name.append(line, from, std::string::npos);
    return name;
}

std::string NameLine::Of(std::string_view fileName, bool excludeExt) {
    return OneLine(excludeExt ? fs::ChangeFileExtEmpty(fileName) : std::string(fileName));
}

std::optional<std::string> NameLine::NewName(std::string_view oldName, std::string_view line,
                                             bool excludeExt) {
    const std::string ext = excludeExt ? fs::ExtractFileExt(oldName) : std::string();
    const std::string_view shown = oldName.substr(0, oldName.size() - ext.size());
    // Compared without building the listed line: nearly every name has no break or tab. A
    // plain loop: find_first_of looks each character up in the set with a call of its own.
    const bool plain = std::none_of(shown.begin(), shown.end(),
                                    [](char c) { return c == '\r' || c == '\n' || c == '\t'; });
    if (plain ? line == shown : line == OneLine(std::string(shown))) return std::nullopt;
    // An edited line: the pictures shown for tabs and line breaks are those characters.
    // Room for the extension up front: appending it would move the name once more.
    std::string name;
    name.reserve(line.size() + ext.size());
    name.append(line);
    name = FileName(std::move(name));
    // An empty name stays empty with the extension left out, and fails as it does with the
    // extension shown: put back, the extension alone would make a hidden file that is never
    // listed again.
    if (!name.empty() && name.back() != '/') name.append(ext);
    if (name == oldName) return std::nullopt;
    return name;
}

} // namespace velmora::workspace
