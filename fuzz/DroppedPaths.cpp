// Fuzzes a drop: the text/uri-list parser and the drop rules over the paths it yields.
#include "core/platform/Error.h"
#include "core/shell/UriList.h"
#include "core/workspace/DropSelection.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    auto paths = velmora::shell::UriList::LocalPaths(text);
    for (const std::string& p : paths)
        if (p.empty() || p.front() != '/' || p.find('\0') != std::string::npos) std::abort();
    // Deterministic stand-in for the disk: names ending in "dir" are folders.
    auto isDirectory = [](const std::string& p) {
        return p.size() >= 3 && p.compare(p.size() - 3, 3, "dir") == 0;
    };
    try {
        auto s = velmora::workspace::DropSelection::FromPaths(paths, isDirectory);
        if (s.pattern.empty() || s.pattern.front() != '*') std::abort();
        if (!paths.empty() && (s.directory.empty() || s.directory.front() != '/')) std::abort();
        if (s.directory.size() > 1 && s.directory.back() == '/') std::abort();
    } catch (const velmora::platform::Exception&) {
    }
    return 0;
}
