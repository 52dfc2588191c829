// Command-line parsing.
#include "core/workspace/CommandLine.h"

#include "core/fs/PathUtils.h"

#include <array>
#include <utility>

namespace velmora::workspace {

bool IsSwitch(const std::string& arg, char letter) {
    if (arg.size() != 2 || (arg[0] != '-' && arg[0] != '/')) return false;
    char c = arg[1];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter + 32);
    return c == letter;
}

int ToolkitOptionValues(std::string_view arg) {
    // The application object strips these from the arguments itself; they are written with one
    // dash or two, and the valued ones also as "-style=fusion".
    static constexpr std::array<std::pair<std::string_view, int>, 20> kOptions{{
        {"platform", 1},
        {"platformpluginpath", 1},
        {"platformtheme", 1},
        {"plugin", 1},
        {"qwindowgeometry", 1},
        {"qwindowicon", 1},
        {"qwindowtitle", 1},
        {"session", 1},
        {"style", 1},
        {"stylesheet", 1},
        {"display", 1},
        {"geometry", 1},
        {"name", 1},
        {"title", 1},
        {"reverse", 0},
        {"widgetcount", 0},
        {"nograb", 0},
        {"dograb", 0},
        {"sync", 0},
        {"qmljsdebugger", -2},
    }};
    if (arg.size() < 2 || arg[0] != '-') return -1;
    arg.remove_prefix(arg.size() > 2 && arg[1] == '-' ? 2 : 1);
    const std::size_t eq = arg.find('=');
    const std::string_view name = arg.substr(0, eq);
    for (const auto& [option, values] : kOptions) {
        if (name != option) continue;
        if (eq != std::string_view::npos) return values != 0 ? 0 : -1;
        return values == -2 ? -1 : values; // the debugger takes its value after "=" only
    }
    return -1;
}

CommandLine CommandLine::Parse(const std::vector<std::string>& args,
                               const std::string& currentDirectory,
                               bool (*directoryExists)(const std::string&),
                               bool (*isSymbolicLink)(const std::string&)) {
    CommandLine cl;
    std::size_t pathIndex = args.size();
    bool pathIsName = false; // the path stands after "--": never the switch
    bool names = false;      // past "--"
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (names) {
            if (pathIndex == args.size()) pathIndex = i, pathIsName = true;
            continue;
        }
        if (a == "--") {
            names = true;
            continue;
        }
        const int toolkitValues = ToolkitOptionValues(a);
        if (toolkitValues >= 0) {
            i += static_cast<std::size_t>(toolkitValues);
            continue;
        }
        const bool option = a.size() >= 2 && a[0] == '-';
        // The path comes first, even when it is the switch itself.
        if (pathIndex == args.size() && (!option || IsSwitch(a, 'x'))) pathIndex = i;
        if (IsSwitch(a, 'x')) {
            cl.excludeExt = true;
            continue;
        }
        if (!option || cl.action != Action::Open) continue;
        if (a == "-h" || a == "--help") {
            cl.action = Action::Help;
        } else if (a == "--version") {
            cl.action = Action::Version;
        } else {
            cl.action = Action::UnknownOption;
            cl.unknownOption = a;
        }
    }
    if (pathIndex == args.size()) return cl;
    cl.present = true;
    std::string first = args[pathIndex];
    // The switch standing first keeps no directory part, "/x" included: it names no folder.
    if (!pathIsName && IsSwitch(first, 'x')) {
        cl.pattern = first;
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
    return cl;
}

std::string CommandLine::Usage() {
    return "Usage: velmora [OPTION]... [FOLDER | FOLDER/PATTERN | FILE]\n"
           "Rename many files at once: the names of FOLDER's files (all of them, those matching\n"
           "PATTERN such as '*.mp3', or just FILE) open in an editor, one per line; edit them and\n"
           "apply.\n"
           "\n"
           "  -x, /x      show and edit the names without their extensions\n"
           "  -h, --help  print this help and exit\n"
           "  --version   print the version and exit\n"
           "  --          end of options: the next argument is a path even if it begins with -\n"
           "\n"
           "Only the first argument is taken as the path; quote a pattern so that the shell\n"
           "does not expand it. The toolkit's own options (-style NAME, -platform NAME, ...)\n"
           "are accepted too.\n"
           "\n"
           "Examples:\n"
           "  velmora ~/Music/Album -x\n"
           "  velmora ~/Music/Album/'*.mp3'\n"
           "  velmora -- -x.mp3\n";
}

} // namespace velmora::workspace
