// The Exec key of a desktop entry: splitting into arguments and expanding the field codes.
#pragma once

#include "core/platform/Error.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora::shell {

// An Exec value that cannot be run: unbalanced quotes, an unknown field code, no program.
class EDesktopExecError : public platform::Exception {
public:
    using platform::Exception::Exception;
};

struct ExecContext {
    std::vector<std::string> files; // local paths, in order
    std::string icon;               // the entry's Icon, for %i
    std::string name;               // the entry's translated Name, for %c
    std::string entryPath;          // the desktop file, for %k
};

// The argument vectors to start, each run directly (never through a shell). Usually one; an
// Exec taking a single file (%f, %u) but no list (%F, %U) gives one command per file. exec is
// the value with the string escapes already resolved (DesktopEntry::String).
std::vector<std::vector<std::string>> ExpandExec(std::string_view exec, const ExecContext& ctx);

// One argument written for an Exec value: plain when it needs no quoting, else in double quotes
// with " ` $ \ escaped. The result still needs EscapeDesktopValue to go into a file.
std::string QuoteExecArgument(std::string_view arg);

// "file://" + the path with every byte outside the unreserved set and "/" percent-encoded.
std::string FileUri(std::string_view path);

} // namespace velmora::shell
