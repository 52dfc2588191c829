// Starting programs with byte-exact arguments, and the reasons when they cannot start.
#include "core/shell/DetachedProcess.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace velmora::shell;
using velmora::test::TempDir;

namespace {

// Waits until the recorder has written its arguments (it moves them into place at the end).
std::string WaitForFile(const TempDir& d, const std::string& name) {
    for (int i = 0; i < 1000 && !d.Exists(name); ++i)
        usleep(5000);
    return d.Read(name);
}

} // namespace

TEST(DetachedProcess, ArgumentsArriveAsTheirExactBytes) {
    TempDir d;
    const std::string out = d / "args";
    d.Write("recorder", "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > '" + out +
                            ".tmp'\nmv '" + out + ".tmp' '" + out + "'\n");
    std::filesystem::permissions(d / "recorder", std::filesystem::perms::owner_all);
    const std::string latin1 = d / "caf\xe9.mp3";
    DetachedProcess::Start({d / "recorder", latin1, "caf\xef\xbf\xbd.mp3", "a b", ""});
    EXPECT_EQ(WaitForFile(d, "args"), "[" + latin1 + "][caf\xef\xbf\xbd.mp3][a b][]");
}

TEST(DetachedProcess, ProgramsAreFoundInPathOrNamedWithTheReason) {
    TempDir d;
    d.Write("tool", "#!/bin/sh\n: > \"$1\"\n");
    std::filesystem::permissions(d / "tool", std::filesystem::perms::owner_all);
    d.Write("plain", "not a program");
    std::filesystem::create_directory(d / "folder");
    const std::string oldPath = getenv("PATH");
    setenv("PATH", (d / "folder:" + d.Path()).c_str(), 1);
    EXPECT_EQ(DetachedProcess::FindProgram("tool"), d / "tool");
    EXPECT_EQ(DetachedProcess::FindProgram("plain"), "");
    EXPECT_EQ(DetachedProcess::FindProgram("folder"), "");
    DetachedProcess::Start({"tool", d / "touched"});
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(WaitForFile(d, "touched"), "");
    EXPECT_TRUE(d.Exists("touched"));

    const struct {
        std::string program, reason;
    } failures[] = {
        {d / "missing", "No such file or directory"},
        {"velmora-no-such-program", "No such file or directory"},
        {d / "folder", "No such file or directory"},
    };
    for (const auto& f : failures) {
        try {
            DetachedProcess::Start({f.program});
            ADD_FAILURE() << f.program;
        } catch (const EProcessStartError& e) {
            EXPECT_EQ(e.Message(), f.reason) << f.program;
        }
    }
    // A file with the execute bit that the system cannot run: the exec's own reason.
    d.Write("broken", "\x7f"
                      "ELF garbage");
    std::filesystem::permissions(d / "broken", std::filesystem::perms::owner_all);
    try {
        DetachedProcess::Start({d / "broken"});
        ADD_FAILURE() << "broken";
    } catch (const EProcessStartError& e) {
        EXPECT_EQ(e.Message(), "Exec format error");
    }
}
