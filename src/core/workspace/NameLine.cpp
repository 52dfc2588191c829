// Names as single lines.
#include "core/workspace/NameLine.h"

#include "core/fs/PathUtils.h"

#include <algorithm>

namespace velmora::workspace {

namespace {
// Symbols the usual fixed-pitch fonts carry.
constexpr std::string_view kLineBreakSymbol = "\xE2\x86\xB5"; // U+21B5
constexpr std::string_view kTabSymbol = "\xE2\x86\x92";       // U+2192
} // namespace

// Runs for every listed file and every painted row: a name without a break or a tab, nearly
// every name, comes back as it is instead of being copied character by character.
std::string NameLine::OneLine(std::string fileName) {
    if (fileName.find_first_of("\r\n\t") == std::string::npos) return fileName;
    std::string line;
    line.reserve(fileName.size() + 4);
    for (const char c : fileName) {
        if (c == '\r' || c == '\n')
            line += kLineBreakSymbol;
        else if (c == '\t')
            line += kTabSymbol;
        else
            line += c;
    }
    return line;
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
    std::string name;
    name.reserve(line.size() + ext.size());
    name.append(line).append(ext);
    if (name == oldName) return std::nullopt;
    return name;
}

} // namespace velmora::workspace
