// Which installed applications open which MIME types: desktop entries and mimeapps.list.
#pragma once

#include "core/shell/DesktopApp.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora::shell {

class AppAssociations {
public:
    struct Dirs {
        std::vector<std::string> config;   // XDG_CONFIG_HOME first, then XDG_CONFIG_DIRS
        std::vector<std::string> data;     // XDG_DATA_HOME first, then XDG_DATA_DIRS
        std::vector<std::string> desktops; // XDG_CURRENT_DESKTOP, lower case
        std::string locale;                // for translated names
        std::string path;                  // PATH, for TryExec
    };
    static Dirs FromEnvironment();

    // Reads every applications/ folder and every mimeapps.list of dirs.
    explicit AppAssociations(Dirs dirs);

    // The applications for a file whose MIME types are given most specific first (its type,
    // aliases, then ancestors): the default application first, then the added associations and
    // the entries declaring the type, each once; removed associations and entries that are
    // hidden, not for this desktop or whose TryExec is missing are left out. NoDisplay entries
    // appear only when mimeapps.list names them.
    std::vector<const DesktopApp*> AppsFor(const std::vector<std::string>& mimeTypes) const;
    const DesktopApp* DefaultFor(const std::vector<std::string>& mimeTypes) const;
    const DesktopApp* Find(const std::string& id) const;
    // Every usable entry shown in menus (not NoDisplay), by name.
    std::vector<const DesktopApp*> AllApps() const;

private:
    struct ListFile {
        std::map<std::string, std::vector<std::string>> defaults, added, removed;
    };
    void ScanApplications(const std::string& dir, const std::string& prefix, int depth);

    Dirs dirs_;
    std::map<std::string, DesktopApp> apps_; // by ID; the first folder holding an ID wins
    std::set<std::string> seen_;             // IDs taken, also by unusable entries
    std::vector<std::string> order_;         // IDs in scan order
    std::vector<ListFile> lists_;            // most important first
};

} // namespace velmora::shell
