// The start-up arguments: a path plus pattern, and the exclude-extensions switch.
#pragma once

#include <string>
#include <vector>

namespace velmora::workspace {

struct CommandLine {
    bool present = false;    // at least one argument was given
    std::string directory;   // absolute, up to the last "/" (inclusive); empty for the switch
    std::string pattern;     // the rest
    bool excludeExt = false; // "-x" or "/x" in either case anywhere

    // args excludes the program name. A relative first argument is taken from
    // currentDirectory and made absolute without resolving links (isSymbolicLink tells where
    // ".." cannot be dropped). directoryExists decides whether a first argument that names a
    // folder stands for that folder with "*.*" (desktop entries cannot append it).
    static CommandLine Parse(const std::vector<std::string>& args,
                             const std::string& currentDirectory,
                             bool (*directoryExists)(const std::string&),
                             bool (*isSymbolicLink)(const std::string&));
};

bool IsSwitch(const std::string& arg, char letter);

} // namespace velmora::workspace
