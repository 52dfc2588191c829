// Fuzzes the start-up argument parser: arguments are the input split at NUL bytes.
#include "core/workspace/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
// Deterministic stand-in for the directory test: names ending in "dir" are folders.
bool FakeDirectoryExists(const std::string& path) {
    return path.size() >= 3 && path.compare(path.size() - 3, 3, "dir") == 0;
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
    auto cl = velmora::workspace::CommandLine::Parse(args, &FakeDirectoryExists);
    if (cl.present != !args.empty()) std::abort();
    if (!args.empty()) {
        // Directory and pattern always give back the first argument (plus "/*.*" for a folder).
        std::string joined = cl.directory + cl.pattern;
        const std::string& first = args[0];
        if (joined != first && joined != first + "*.*" && joined != first + "/*.*") std::abort();
        // Only the switch standing first keeps its "/" in the pattern.
        const bool switchFirst = velmora::workspace::IsSwitch(first, 'x');
        if (cl.pattern.find('/') != std::string::npos && !switchFirst) std::abort();
        if (switchFirst && (!cl.directory.empty() || !cl.excludeExt)) std::abort();
    }
    return 0;
}
