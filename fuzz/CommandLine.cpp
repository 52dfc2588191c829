// Fuzzes the start-up argument parser: arguments are the input split at NUL bytes.
#include "core/workspace/CommandLine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
// Deterministic stand-ins for the file system: names ending in "dir" are folders, names ending
// in "link" are symbolic links.
bool FakeDirectoryExists(const std::string& path) {
    return EndsWith(path, "dir");
}
bool FakeSymbolicLink(const std::string& path) {
    return EndsWith(path, "link");
}
// A path without empty, "." or ".." components, which making it absolute leaves alone.
bool Plain(const std::string& path) {
    const std::string wrapped = "/" + path + "/";
    for (const char* odd : {"//", "/./", "/../"})
        if (wrapped.find(odd) != std::string::npos) return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    if (size) args.push_back(current);
    const std::string cwd = "/home/user/music";
    auto cl =
        velmora::workspace::CommandLine::Parse(args, cwd, &FakeDirectoryExists, &FakeSymbolicLink);
    using velmora::workspace::CommandLine;
    using velmora::workspace::IsSwitch;
    if (args.empty() && (cl.present || cl.action != CommandLine::Action::Open)) std::abort();
    // An unknown option is one of the arguments before "--", none of ours nor the toolkit's.
    const auto dashes = std::find(args.begin(), args.end(), std::string("--"));
    if (cl.action == CommandLine::Action::UnknownOption) {
        const std::string& u = cl.unknownOption;
        if (std::find(args.begin(), dashes, u) == dashes || u.size() < 2 || u[0] != '-' ||
            IsSwitch(u, 'x') || u == "--help" || u == "-h" || u == "--version" ||
            velmora::workspace::ToolkitOptionValues(u) >= 0)
            std::abort();
    } else if (!cl.unknownOption.empty()) {
        std::abort();
    }
    // Leading "--": everything after it is a name, the first of them the path.
    const bool afterDashes = args.size() >= 2 && args[0] == "--";
    if (!args.empty() && args[0] == "--" && cl.action != CommandLine::Action::Open) std::abort();
    const bool firstIsPath =
        !args.empty() && (args[0].size() < 2 || args[0][0] != '-' || IsSwitch(args[0], 'x'));
    if (firstIsPath || afterDashes) {
        if (!cl.present) std::abort();
        const std::string& first = afterDashes ? args[1] : args[0];
        // Only the switch standing first keeps its "/" in the pattern.
        const bool switchFirst = !afterDashes && IsSwitch(first, 'x');
        if (cl.pattern.find('/') != std::string::npos && !switchFirst) std::abort();
        if (switchFirst && (!cl.directory.empty() || !cl.excludeExt)) std::abort();
        if (switchFirst || first.empty()) return 0;
        // Every other path ends up absolute, without "." or empty components.
        if (cl.directory.empty() || cl.directory.front() != '/') std::abort();
        if (cl.directory.find("//") != std::string::npos ||
            cl.directory.find("/./") != std::string::npos)
            std::abort();
        // A plain path comes back whole (plus "/*.*" for a folder), relative ones after cwd.
        if (Plain(first.substr(first.front() == '/' ? 1 : 0))) {
            const std::string full = first.front() == '/' ? first : cwd + "/" + first;
            const std::string joined = cl.directory + cl.pattern;
            if (joined != full && joined != full + "*.*" && joined != full + "/*.*") std::abort();
        }
    }
    return 0;
}
