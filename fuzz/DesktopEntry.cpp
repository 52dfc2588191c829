// Fuzzes the desktop entry reader and the Exec expansion of what it reads.
#include "core/shell/DesktopEntry.h"

#include "core/shell/DesktopExec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::shell;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    DesktopEntry e = DesktopEntry::Parse(text);
    const std::string group = "Desktop Entry";
    for (const std::string& key : e.Keys(group)) {
        std::string value = e.String(group, key);
        // Whatever a value holds, writing it back escaped gives it back.
        DesktopEntry again = DesktopEntry::Parse("[G]\nK=" + EscapeDesktopValue(value) + "\n");
        if (again.String("G", "K") != value) std::abort();
        (void)e.List(group, key);
        (void)e.LocaleString(group, key, "de_DE.UTF-8@euro");
    }
    try {
        ExecContext ctx{{"/m/a b.mp3", "/m/\"c\".mp3"}, "icon", "Name", "/x.desktop"};
        for (const auto& argv : ExpandExec(e.String(group, "Exec"), ctx))
            if (argv.empty() || argv.front().empty()) std::abort();
    } catch (const EDesktopExecError&) {
    }
    // Any argument quoted for an Exec line comes back as itself.
    std::string arg(text.substr(0, 64));
    if (!arg.empty()) {
        std::string exec = EscapeDesktopValue(QuoteExecArgument(arg) + " %f");
        DesktopEntry q = DesktopEntry::Parse("[G]\nExec=" + exec + "\n");
        auto commands = ExpandExec(q.String("G", "Exec"), {{"/f"}, {}, {}, {}});
        if (arg.find('\n') == std::string::npos && arg.find('\r') == std::string::npos &&
            (commands.size() != 1 || commands[0].size() != 2 || commands[0][0] != arg))
            std::abort();
    }
    return 0;
}
