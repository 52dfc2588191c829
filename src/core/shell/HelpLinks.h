// Where the Etc menu's homepage and contact items lead: addresses set when the program is built,
// or, without a homepage, the user guide installed with the program.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora::shell {

struct HelpLinks {
    std::string homepage; // a web address; empty when the build set none
    std::string contact;  // a mail address; empty when the build set none
    std::string guide;    // the installed user guide's path; empty when none was found

    // What the homepage item opens: the homepage, else the guide as a file URL, else nothing
    // (the item is then hidden).
    std::string HomepageTarget() const;
    // A new mail message to the contact address about Velmora; empty without an address.
    std::string ContactTarget() const;

    // The first of candidates that exists.
    static std::string FindGuide(const std::vector<std::string>& candidates,
                                 const std::function<bool(const std::string&)>& exists);
};

} // namespace velmora::shell
