// Application lookup over real applications folders and mimeapps.list files.
#include "core/shell/AppAssociations.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace velmora::shell;
using velmora::test::TempDir;
using Names = std::vector<std::string>;

namespace {

class AppAssociationsTest : public ::testing::Test {
protected:
    TempDir root;
    std::string config = root / "config", sysConfig = root / "xdg", data = root / "data",
                sysData = root / "share", apps = sysData + "/applications";

    void SetUp() override {
        for (const std::string& d :
             {config, sysConfig, data + "/applications", apps + "/kde", root / "bin"})
            std::filesystem::create_directories(d);
    }
    void App(const std::string& dir, const std::string& file, const std::string& mime,
             const std::string& extra = "") {
        root.Write(dir.substr(root.Path().size() + 1) + "/" + file,
                   "[Desktop Entry]\nType=Application\nName=" + file +
                       "\nExec=run %f\nMimeType=" + mime + "\n" + extra);
    }
    void List(const std::string& dir, const std::string& text) {
        root.Write(dir.substr(root.Path().size() + 1) + "/mimeapps.list", text);
    }
    Names Ids(const Names& types, Names desktops = {"gnome"}) {
        AppAssociations a(
            {{config, sysConfig}, {data, sysData}, std::move(desktops), "", root / "bin"});
        Names ids;
        for (const DesktopApp* app : a.AppsFor(types))
            ids.push_back(app->id);
        return ids;
    }
};

} // namespace

TEST_F(AppAssociationsTest, EntriesFiltersAndIds) {
    App(apps, "b.desktop", "audio/mpeg;");
    App(apps, "a.desktop", "audio/mpeg;audio/flac;");
    App(apps + "/kde", "c.desktop", "audio/mpeg;");
    App(apps, "hidden.desktop", "audio/mpeg;", "Hidden=true\n");
    App(apps, "nodisplay.desktop", "audio/mpeg;", "NoDisplay=true\n");
    App(apps, "kdeonly.desktop", "audio/mpeg;", "OnlyShowIn=KDE;\n");
    App(apps, "notgnome.desktop", "audio/mpeg;", "NotShowIn=GNOME;\n");
    App(apps, "tryexec.desktop", "audio/mpeg;", "TryExec=missing-tool\n");
    root.Write("bin/present-tool", "");
    std::filesystem::permissions(root / "bin/present-tool", std::filesystem::perms::owner_all);
    App(apps, "tryok.desktop", "audio/mpeg;", "TryExec=present-tool\n");
    // The user's folder hides the system's entry of the same ID.
    App(data + "/applications", "b.desktop", "audio/mpeg;", "Hidden=true\n");
    EXPECT_EQ(Ids({"audio/mpeg"}), (Names{"a.desktop", "kde-c.desktop", "tryok.desktop"}));
    EXPECT_EQ(Ids({"audio/mpeg"}, {"kde"}), (Names{"a.desktop", "kde-c.desktop", "kdeonly.desktop",
                                                   "notgnome.desktop", "tryok.desktop"}));
    // Ancestors follow the type itself, each application once.
    App(apps, "text.desktop", "application/octet-stream;");
    EXPECT_EQ(Ids({"audio/flac", "application/octet-stream", "audio/mpeg"}),
              (Names{"a.desktop", "text.desktop", "kde-c.desktop", "tryok.desktop"}));
}

TEST_F(AppAssociationsTest, MimeappsListPrecedence) {
    for (const char* f : {"a.desktop", "b.desktop", "c.desktop", "d.desktop"})
        App(apps, f, "audio/mpeg;");
    App(apps, "e.desktop", "audio/flac;", "NoDisplay=true\n");
    // Lowest: the system data folder's list.
    List(apps, "[Default Applications]\naudio/mpeg=d.desktop\n"
               "[Removed Associations]\naudio/mpeg=c.desktop;\n");
    // The system config folder re-adds c (more important than its removal) and removes a.
    List(sysConfig, "[Added Associations]\naudio/mpeg=c.desktop;e.desktop;\n"
                    "[Removed Associations]\naudio/mpeg=a.desktop;\n");
    // The user's desktop-specific list names a missing default first, then b.
    root.Write("config/gnome-mimeapps.list",
               "[Default Applications]\naudio/mpeg=missing.desktop;b.desktop;\n");
    EXPECT_EQ(Ids({"audio/mpeg"}), (Names{"b.desktop", "c.desktop", "e.desktop", "d.desktop"}));
    // Without the desktop-specific list the system data default applies.
    EXPECT_EQ(Ids({"audio/mpeg"}, {"kde"}),
              (Names{"d.desktop", "c.desktop", "e.desktop", "b.desktop"}));
    // A user-level removal hides also what lower lists add.
    List(config, "[Removed Associations]\naudio/mpeg=c.desktop;d.desktop;\n");
    // ... and a default it removes is no default any more.
    EXPECT_EQ(Ids({"audio/mpeg"}, {"kde"}), (Names{"e.desktop", "b.desktop"}));
}
