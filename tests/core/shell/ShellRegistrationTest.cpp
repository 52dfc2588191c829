// Shell registration on a real home folder: content, idempotence, moves, foreign files.
#include "core/shell/ShellRegistration.h"

#include "core/platform/Error.h"
#include "core/shell/DesktopEntry.h"
#include "core/shell/DesktopExec.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace velmora::shell;
using velmora::test::TempDir;

namespace {

class ShellRegistrationTest : public ::testing::Test {
protected:
    TempDir home;
    std::string data = home / "data", config = home / "config";
    // A program path with a blank, quotes, a dollar and a non-ASCII letter.
    std::string program = home / "Pr\xC3\xB6gram \"X\" $1/velmora";
    ShellRegistration Reg(const std::string& prog) const { return {prog, data, config}; }

    static unsigned Mode(const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    // The command each desktop-format file runs for target, with the field codes expanded.
    static std::vector<std::vector<std::string>>
    Command(const std::string& file, const std::string& group, const std::string& target) {
        auto e = DesktopEntry::Load(file);
        EXPECT_TRUE(e.has_value()) << file;
        std::string exec = e ? e->String(group, "Exec") : "";
        // Nemo's %F is the selection list; here one path.
        return ExpandExec(exec, {{target}, {}, {}, {}});
    }
};

} // namespace

TEST_F(ShellRegistrationTest, EveryFormatRunsTheProgramWithTheRightArguments) {
    auto outcome = Reg(program).Register();
    EXPECT_EQ(outcome.written.size(), Reg(program).Files().size());
    EXPECT_TRUE(outcome.foreign.empty());
    const std::string folder = "/m/My Album", file = "/m/My Album/01 \xC3\xA9t\xC3\xA9.mp3";
    using Cmd = std::vector<std::vector<std::string>>;
    const Cmd asFolder{{program, folder, "-x"}}, asFile{{program, file}};
    const struct {
        std::string path, group, target;
        Cmd expected;
    } cases[] = {
        {data + "/applications/velmora.desktop", "Desktop Entry", file, asFile},
        {data + "/applications/velmora-folder.desktop", "Desktop Entry", folder, asFolder},
        {data + "/kio/servicemenus/velmora-folder.desktop", "Desktop Action velmora", folder,
         asFolder},
        {data + "/kio/servicemenus/velmora-file.desktop", "Desktop Action velmora", file, asFile},
        {data + "/nemo/actions/velmora-folder.nemo_action", "Nemo Action", folder, asFolder},
        {data + "/nemo/actions/velmora-file.nemo_action", "Nemo Action", file, asFile},
        {data + "/file-manager/actions/velmora.desktop", "X-Action-Profile folder", folder,
         asFolder},
        {data + "/file-manager/actions/velmora.desktop", "X-Action-Profile file", file, asFile},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Command(c.path, c.group, c.target), c.expected) << c.path;
    EXPECT_EQ(Mode(data + "/kio/servicemenus/velmora-file.desktop"), 0755u);
    // The application entries pass the desktop's validator where it is installed.
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0) {
        for (const char* entry : {"velmora.desktop", "velmora-folder.desktop"}) {
            const std::string cmd =
                "desktop-file-validate " + ShellQuote(data + "/applications/" + entry);
            EXPECT_EQ(std::system(cmd.c_str()), 0) << entry;
        }
    }
    EXPECT_EQ(Mode(data + "/applications/velmora.desktop"), 0644u);

    // The scripts: run them for real with a stand-in program that prints its arguments.
    std::filesystem::create_directories(std::filesystem::path(program).parent_path());
    home.Write(program.substr(home.Path().size() + 1),
               "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$OUT\"\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    std::filesystem::create_directories(home / "m/My Album");
    home.Write("m/song 'a'.mp3");
    for (const std::string& script :
         {data + "/nautilus/scripts/Velmora", config + "/caja/scripts/Velmora"}) {
        EXPECT_EQ(Mode(script), 0755u);
        const struct {
            std::string cwd, arg, printed;
        } runs[] = {{home.Path(), home / "m/My Album", "[" + (home / "m/My Album") + "][-x]"},
                    {home / "m", "song 'a'.mp3", "[" + (home / "m/song 'a'.mp3") + "]"}};
        for (const auto& r : runs) {
            std::string cmd = "cd " + ShellQuote(r.cwd) + " && OUT=" + ShellQuote(home / "out") +
                              " " + ShellQuote(script) + " " + ShellQuote(r.arg);
            ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
            EXPECT_EQ(home.Read("out"), r.printed);
        }
    }
}

TEST_F(ShellRegistrationTest, IdempotentUpdatedAfterAMoveAndUnregisteredExactly) {
    Reg(program).Register();
    EXPECT_TRUE(Reg(program).Register().written.empty()) << "same content is not rewritten";
    // A mode changed by hand is put back.
    ::chmod((data + "/kio/servicemenus/velmora-folder.desktop").c_str(), 0644);
    EXPECT_EQ(Reg(program).Register().written,
              std::vector<std::string>{data + "/kio/servicemenus/velmora-folder.desktop"});

    const std::string moved = "/opt/velmora/bin/velmora";
    auto outcome = Reg(moved).Register();
    EXPECT_EQ(outcome.written.size(), Reg(moved).Files().size());
    for (const RegistrationFile& f : Reg(moved).Files()) {
        EXPECT_EQ(home.Read(f.path.substr(home.Path().size() + 1)), f.content);
        EXPECT_EQ(f.content.find(program), std::string::npos);
    }

    // Other programs' files beside ours, and a foreign file at one of our names.
    home.Write("data/kio/servicemenus/other.desktop", "[Desktop Entry]\nType=Service\n");
    home.Write("data/applications/other.desktop", "[Desktop Entry]\nType=Application\n");
    home.Write("data/nautilus/scripts/Velmora", "#!/bin/sh\necho mine\n");
    std::vector<std::string> removed = Reg(program).Unregister();
    EXPECT_EQ(removed.size(), Reg(program).Files().size() - 1);
    for (const RegistrationFile& f : Reg(program).Files())
        EXPECT_EQ(std::filesystem::exists(f.path), f.path == data + "/nautilus/scripts/Velmora")
            << f.path;
    EXPECT_TRUE(home.Exists("data/kio/servicemenus/other.desktop"));
    EXPECT_TRUE(home.Exists("data/applications/other.desktop"));
    EXPECT_EQ(home.Read("data/nautilus/scripts/Velmora"), "#!/bin/sh\necho mine\n");
    // Registering again keeps the foreign file and says so.
    auto again = Reg(program).Register();
    EXPECT_EQ(again.foreign, std::vector<std::string>{data + "/nautilus/scripts/Velmora"});
    EXPECT_EQ(home.Read("data/nautilus/scripts/Velmora"), "#!/bin/sh\necho mine\n");
    EXPECT_EQ(Reg(program).Unregister().size(), Reg(program).Files().size() - 1);
}

TEST_F(ShellRegistrationTest, AFolderThatCannotBeWrittenNamesTheFile) {
    std::filesystem::create_directories(data);
    home.Write("data/applications", "a file where a folder belongs");
    try {
        Reg(program).Register();
        FAIL() << "no error";
    } catch (const velmora::platform::Exception& e) {
        EXPECT_EQ(e.Message(),
                  "Failed to open " + data + "/applications/velmora.desktop for writing.");
    }
}
