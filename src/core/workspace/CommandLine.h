// The start-up arguments: a path plus pattern, the exclude-extensions switch, and the options a
// terminal user expects (--help, --version, "--" before names that look like options).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::workspace {

struct CommandLine {
    // What the program is to do: open the window, or print something and exit.
    enum class Action { Open, Help, Version, UnknownOption };

    Action action = Action::Open;
    std::string unknownOption; // the first option that is none of ours (UnknownOption)
    bool present = false;      // a path argument was given
    std::string directory;     // absolute, up to the last "/" (inclusive); empty for the switch
    std::string pattern;       // the rest
    bool excludeExt = false;   // "-x" or "/x" in either case anywhere before "--"

    // args excludes the program name. The first argument is the path (after a leading "--", the
    // one after it), even when it is the switch itself; later ones count only as options.
    // Options are read up to "--" in order, the first of help, version or an unknown option
    // deciding the action; the toolkit's own options (-style fusion, -platform xcb, ...) are
    // left to it. A relative path is taken from currentDirectory and made absolute without
    // resolving links (isSymbolicLink tells where ".." cannot be dropped). directoryExists
    // decides whether a path that names a folder stands for that folder with "*.*" (desktop
    // entries cannot append it).
    static CommandLine Parse(const std::vector<std::string>& args,
                             const std::string& currentDirectory,
                             bool (*directoryExists)(const std::string&),
                             bool (*isSymbolicLink)(const std::string&));

    // The text --help prints.
    static std::string Usage();
};

bool IsSwitch(const std::string& arg, char letter);

// How many values follow an option the toolkit takes itself (0 for a flag, 1 for "-style
// fusion"); -1 when arg is none of them.
int ToolkitOptionValues(std::string_view arg);

} // namespace velmora::workspace
