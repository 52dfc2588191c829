// Message formatting and the silent abort.
#include "core/platform/Error.h"

namespace velmora::platform {

std::string Format(std::string_view pattern, const std::vector<FormatArg>& args) {
    std::string out;
    out.reserve(pattern.size() + 32);
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c != '%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        char spec = pattern[i + 1];
        if (spec == '%') {
            out += '%';
            ++i;
        } else if ((spec == 's' || spec == 'd') && next < args.size()) {
            const FormatArg& a = args[next++];
            if (const auto* s = std::get_if<std::string>(&a))
                out += *s;
            else
                out += std::to_string(std::get<std::int64_t>(a));
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

void Abort() {
    throw EAbort();
}

} // namespace velmora::platform
