// An installed application as its desktop entry describes it.
#pragma once

#include <string>
#include <vector>

namespace velmora::shell {

struct DesktopApp {
    std::string id;   // desktop file ID: the path below applications/ with "/" as "-"
    std::string path; // the desktop file
    std::string name; // translated Name
    std::string icon;
    std::string exec; // Exec with the string escapes resolved
    bool terminal = false;
    bool noDisplay = false;
    std::vector<std::string> mimeTypes;
};

} // namespace velmora::shell
