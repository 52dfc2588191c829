// Application lookup by MIME type.
#include "core/shell/AppAssociations.h"

#include "core/shell/DesktopEntry.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::shell {

namespace {

constexpr std::string_view kEntry = "Desktop Entry";

std::vector<std::string> SplitColon(const char* value, const char* fallback) {
    std::string s = value && *value ? value : fallback;
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find(':', start);
        if (end == std::string::npos) end = s.size();
        if (end > start) out.push_back(s.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    std::string path;
    path.reserve(dir.size() + 1 + name.size());
    path.append(dir).append("/").append(name);
    return path;
}

bool IsExecutable(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

bool FoundInPath(const std::string& program, const std::string& path) {
    if (program.find('/') != std::string::npos) return IsExecutable(program);
    for (const std::string& dir : SplitColon(path.c_str(), ""))
        if (IsExecutable(JoinPath(dir, program))) return true;
    return false;
}

std::vector<std::string> SortedNames(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

void Append(std::vector<std::string>& ids, const std::vector<std::string>& more) {
    for (const std::string& id : more)
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
}

} // namespace

AppAssociations::Dirs AppAssociations::FromEnvironment() {
    Dirs d;
    const char* home = std::getenv("HOME");
    std::string homeDir = home ? home : "";
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    d.config.push_back(configHome && *configHome ? configHome : homeDir + "/.config");
    Append(d.config, SplitColon(std::getenv("XDG_CONFIG_DIRS"), "/etc/xdg"));
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    d.data.push_back(dataHome && *dataHome ? dataHome : homeDir + "/.local/share");
    Append(d.data, SplitColon(std::getenv("XDG_DATA_DIRS"), "/usr/local/share:/usr/share"));
    for (const std::string& desktop : SplitColon(std::getenv("XDG_CURRENT_DESKTOP"), ""))
        d.desktops.push_back(Lower(desktop));
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) {
            d.locale = v;
            break;
        }
    }
    const char* path = std::getenv("PATH");
    d.path = path ? path : "/usr/local/bin:/usr/bin:/bin";
    return d;
}

AppAssociations::AppAssociations(Dirs dirs) : dirs_(std::move(dirs)) {
    for (const std::string& data : dirs_.data)
        ScanApplications(data + "/applications", "", 0);

    // mimeapps.list files, most important first: per desktop before the plain one, the config
    // folders before the data folders.
    std::vector<std::string> files;
    auto add = [&](const std::string& dir) {
        for (const std::string& desktop : dirs_.desktops)
            files.push_back(JoinPath(dir, desktop + "-mimeapps.list"));
        files.push_back(JoinPath(dir, "mimeapps.list"));
    };
    for (const std::string& c : dirs_.config)
        add(c);
    for (const std::string& d : dirs_.data)
        add(d + "/applications");
    for (const std::string& file : files) {
        std::optional<DesktopEntry> entry = DesktopEntry::Load(file);
        if (!entry) continue;
        ListFile list;
        for (auto [group, into] : {std::pair{"Default Applications", &list.defaults},
                                   std::pair{"Added Associations", &list.added},
                                   std::pair{"Removed Associations", &list.removed}})
            for (const std::string& key : entry->Keys(group))
                (*into)[key] = entry->List(group, key);
        lists_.push_back(std::move(list));
    }
}

void AppAssociations::ScanApplications(const std::string& dir, const std::string& prefix,
                                       int depth) {
    if (depth > 8) return;
    for (const std::string& name : SortedNames(dir)) {
        std::string path = JoinPath(dir, name);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            ScanApplications(path, prefix + name + "-", depth + 1);
            continue;
        }
        if (name.size() <= 8 || name.compare(name.size() - 8, 8, ".desktop") != 0) continue;
        std::string id = prefix + name;
        if (!seen_.insert(id).second) continue; // a more important folder has this ID
        std::optional<DesktopEntry> entry = DesktopEntry::Load(path);
        if (!entry || !entry->HasGroup(kEntry)) continue;
        if (entry->String(kEntry, "Type") != "Application") continue;
        if (entry->Bool(kEntry, "Hidden")) continue;
        std::string exec = entry->String(kEntry, "Exec");
        if (exec.empty()) continue;
        std::string tryExec = entry->String(kEntry, "TryExec");
        if (!tryExec.empty() && !FoundInPath(tryExec, dirs_.path)) continue;
        auto onDesktop = [&](const std::vector<std::string>& list) {
            for (const std::string& d : list)
                if (std::find(dirs_.desktops.begin(), dirs_.desktops.end(), Lower(d)) !=
                    dirs_.desktops.end())
                    return true;
            return false;
        };
        std::vector<std::string> only = entry->List(kEntry, "OnlyShowIn");
        if (!only.empty() && !onDesktop(only)) continue;
        if (onDesktop(entry->List(kEntry, "NotShowIn"))) continue;
        DesktopApp app;
        app.id = id;
        app.path = path;
        app.name = entry->LocaleString(kEntry, "Name", dirs_.locale);
        if (app.name.empty()) app.name = id;
        app.icon = entry->String(kEntry, "Icon");
        app.exec = exec;
        app.terminal = entry->Bool(kEntry, "Terminal");
        app.noDisplay = entry->Bool(kEntry, "NoDisplay");
        app.mimeTypes = entry->List(kEntry, "MimeType");
        order_.push_back(id);
        apps_.emplace(id, std::move(app));
    }
}

const DesktopApp* AppAssociations::Find(const std::string& id) const {
    auto it = apps_.find(id);
    return it == apps_.end() ? nullptr : &it->second;
}

std::vector<const DesktopApp*> AppAssociations::AllApps() const {
    std::vector<const DesktopApp*> all;
    for (const auto& [id, app] : apps_)
        if (!app.noDisplay) all.push_back(&app);
    std::stable_sort(all.begin(), all.end(),
                     [](const DesktopApp* a, const DesktopApp* b) { return a->name < b->name; });
    return all;
}

std::vector<const DesktopApp*>
AppAssociations::AppsFor(const std::vector<std::string>& mimeTypes) const {
    std::vector<const DesktopApp*> result;
    auto push = [&](const DesktopApp* app) {
        if (app && std::find(result.begin(), result.end(), app) == result.end())
            result.push_back(app);
    };
    push(DefaultFor(mimeTypes));
    for (const std::string& type : mimeTypes) {
        // A removal hides what less important files and the entries themselves declare, but
        // not what a more important file adds back.
        std::set<std::string> removed;
        for (const ListFile& list : lists_) {
            if (auto it = list.added.find(type); it != list.added.end())
                for (const std::string& id : it->second)
                    if (!removed.count(id)) push(Find(id));
            if (auto it = list.removed.find(type); it != list.removed.end())
                removed.insert(it->second.begin(), it->second.end());
        }
        for (const std::string& id : order_) {
            const DesktopApp& app = apps_.at(id);
            if (app.noDisplay || removed.count(id)) continue;
            if (std::find(app.mimeTypes.begin(), app.mimeTypes.end(), type) != app.mimeTypes.end())
                push(&app);
        }
    }
    return result;
}

const DesktopApp* AppAssociations::DefaultFor(const std::vector<std::string>& mimeTypes) const {
    for (const std::string& type : mimeTypes) {
        // A default does not count when its own or a more important file removes it.
        std::set<std::string> removed;
        for (const ListFile& list : lists_) {
            if (auto it = list.removed.find(type); it != list.removed.end())
                removed.insert(it->second.begin(), it->second.end());
            auto it = list.defaults.find(type);
            if (it == list.defaults.end()) continue;
            for (const std::string& id : it->second)
                if (const DesktopApp* app = Find(id); app && !removed.count(id)) return app;
        }
    }
    return nullptr;
}

} // namespace velmora::shell
