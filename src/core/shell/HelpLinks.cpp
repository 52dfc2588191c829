// The homepage and contact targets.
#include "core/shell/HelpLinks.h"

#include "core/shell/DesktopExec.h"

namespace velmora::shell {

std::string HelpLinks::HomepageTarget() const {
    if (!homepage.empty()) return homepage;
    return guide.empty() ? std::string() : FileUri(guide);
}

std::string HelpLinks::ContactTarget() const {
    if (contact.empty()) return {};
    return "mailto:" + contact + "?subject=Velmora";
}

std::string HelpLinks::FindGuide(const std::vector<std::string>& candidates,
                                 const std::function<bool(const std::string&)>& exists) {
    for (const std::string& c : candidates)
        if (!c.empty() && exists(c)) return c;
    return {};
}

} // namespace velmora::shell
