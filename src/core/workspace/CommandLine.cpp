// Command-line parsing.
#include "core/workspace/CommandLine.h"

#include "core/fs/PathUtils.h"

namespace velmora::workspace {

bool IsSwitch(const std::string& arg, char letter) {
    if (arg.size() != 2 || (arg[0] != '-' && arg[0] != '/')) return false;
    char c = arg[1];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter + 32);
    return c == letter;
}

CommandLine CommandLine::Parse(const std::vector<std::string>& args,
                               const std::string& currentDirectory,
                               bool (*directoryExists)(const std::string&),
                               bool (*isSymbolicLink)(const std::string&)) {
    CommandLine cl;
    if (args.empty()) return cl;
    cl.present = true;
    // The first argument is always the path, even when it is the switch itself.
    std::string first = args[0];
    // The switch standing first keeps no directory part, "/x" included: it names no folder.
    if (IsSwitch(first, 'x')) {
        cl.pattern = first;
        cl.excludeExt = true;
        return cl;
    }
    // A relative folder would leave the chooser nowhere to go up to, and messages unclear.
    first = fs::AbsolutePath(first, currentDirectory, isSymbolicLink);
    if (directoryExists && directoryExists(first)) {
        if (first.back() != '/') first += '/';
        first += "*.*";
    }
    auto slash = first.find_last_of('/');
    if (slash == std::string::npos) {
        cl.pattern = first;
    } else {
        cl.directory = first.substr(0, slash + 1);
        cl.pattern = first.substr(slash + 1);
    }
    for (const auto& a : args)
        if (IsSwitch(a, 'x')) cl.excludeExt = true;
    return cl;
}

} // namespace velmora::workspace
