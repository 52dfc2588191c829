// Desktop entry reading and the Exec field codes.
#include "core/shell/DesktopEntry.h"

#include "core/shell/DesktopExec.h"

#include <gtest/gtest.h>

using namespace velmora::shell;
using Args = std::vector<std::string>;

TEST(DesktopEntry, GroupsKeysEscapesAndLists) {
    DesktopEntry e = DesktopEntry::Parse("# comment\n"
                                         "[Desktop Entry]\r\n"
                                         "Name = Player \n"
                                         "Name[de]=Spieler\n"
                                         "Name[de_AT]=Abspieler\n"
                                         "Name=ignored duplicate\n"
                                         "Comment=two\\nlines\\sand\\ttab \\\\ end\n"
                                         "MimeType=audio/mpeg;audio/x\\;odd;;\n"
                                         "Hidden=true\n"
                                         "no equals sign\n"
                                         "[Desktop Action play]\n"
                                         "Name=Play\n"
                                         "[Desktop Entry]\n"
                                         "Exec=ignored repeated group\n");
    EXPECT_TRUE(e.HasGroup("Desktop Entry"));
    EXPECT_TRUE(e.HasGroup("Desktop Action play"));
    EXPECT_EQ(e.String("Desktop Entry", "Name"), "Player");
    EXPECT_EQ(e.String("Desktop Entry", "Comment"), "two\nlines and\ttab \\ end");
    EXPECT_EQ(e.List("Desktop Entry", "MimeType"), (Args{"audio/mpeg", "audio/x;odd", ""}));
    EXPECT_TRUE(e.Bool("Desktop Entry", "Hidden"));
    EXPECT_FALSE(e.Bool("Desktop Entry", "NoDisplay"));
    EXPECT_EQ(e.Raw("Desktop Entry", "Exec"), nullptr);
    EXPECT_EQ(e.String("Desktop Action play", "Name"), "Play");
    EXPECT_EQ(e.Keys("Desktop Action play"), Args{"Name"});

    const struct {
        const char *locale, *name;
    } locales[] = {{"de_AT.UTF-8", "Abspieler"},
                   {"de_CH.UTF-8@euro", "Spieler"},
                   {"de", "Spieler"},
                   {"fr_FR.UTF-8", "Player"},
                   {"C", "Player"},
                   {"", "Player"}};
    for (const auto& l : locales)
        EXPECT_EQ(e.LocaleString("Desktop Entry", "Name", l.locale), l.name) << l.locale;
}

TEST(DesktopEntry, EscapedValuesComeBackUnchanged) {
    for (std::string text : {" leading blank", "trailing blank ", "back\\slash", "tab\tand\nline",
                             "\xC3\xA9t\xC3\xA9 \\s"}) {
        DesktopEntry e = DesktopEntry::Parse("[G]\nK=" + EscapeDesktopValue(text) + "\n");
        EXPECT_EQ(e.String("G", "K"), text);
    }
}

TEST(DesktopExec, FieldCodes) {
    ExecContext ctx;
    ctx.files = {"/m/a b.mp3", "/m/\"q\".mp3"};
    ctx.icon = "player";
    ctx.name = "My Player";
    ctx.entryPath = "/usr/share/applications/player.desktop";
    const struct {
        const char* exec;
        std::vector<Args> expected;
    } cases[] = {
        {"player %F", {{"player", "/m/a b.mp3", "/m/\"q\".mp3"}}},
        {"player %U", {{"player", "file:///m/a%20b.mp3", "file:///m/%22q%22.mp3"}}},
        // A single-file code with two files: one process per file.
        {"player --open %f",
         {{"player", "--open", "/m/a b.mp3"}, {"player", "--open", "/m/\"q\".mp3"}}},
        {"player %u", {{"player", "file:///m/a%20b.mp3"}, {"player", "file:///m/%22q%22.mp3"}}},
        {"player %i %c %k", {{"player", "--icon", "player", "My Player", ctx.entryPath}}},
        {"player --file=%f", {{"player", "--file=/m/a b.mp3"}, {"player", "--file=/m/\"q\".mp3"}}},
        {"player 100%% %d %D %n %N %v %m %F", {{"player", "100%", "/m/a b.mp3", "/m/\"q\".mp3"}}},
        {"\"/opt/my app/run\" \"a \\\"quoted\\\" \\$x \\`y\\` \\\\ z\" '' %F",
         {{"/opt/my app/run", "a \"quoted\" $x `y` \\ z", "", "/m/a b.mp3", "/m/\"q\".mp3"}}},
        {"sh -c 'echo $1' x\\ y", {{"sh", "-c", "echo $1", "x y"}}},
        {"  player\t%F  ", {{"player", "/m/a b.mp3", "/m/\"q\".mp3"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandExec(c.exec, ctx), c.expected) << c.exec;

    ExecContext none;
    EXPECT_EQ(ExpandExec("player %f %F %u %U %i", none), (std::vector<Args>{{"player"}}));
}

TEST(DesktopExec, InvalidCommandsAreRefused) {
    for (const char* exec :
         {"", "   ", "player %x", "player %", "\"player", "player 'x", "%f", "\"\" %F"})
        EXPECT_THROW(ExpandExec(exec, {{"/f"}, {}, {}, {}}), EDesktopExecError) << exec;
}

TEST(DesktopExec, QuotedProgramPathsSurviveTheRoundTrip) {
    for (std::string path :
         {"/usr/bin/velmora", "/home/me/my apps/velmora",
          "/opt/M\xC3\xBCsik \"beta\"/$HOME/`x`/back\\slash/100%/velmora", "/tmp/it's/velmora"}) {
        std::string value = EscapeDesktopValue(QuoteExecArgument(path) + " %f -x");
        DesktopEntry e = DesktopEntry::Parse("[Desktop Entry]\nExec=" + value + "\n");
        auto commands =
            ExpandExec(e.String("Desktop Entry", "Exec"), {{"/m/Album One"}, {}, {}, {}});
        EXPECT_EQ(commands, (std::vector<Args>{{path, "/m/Album One", "-x"}})) << value;
    }
    EXPECT_EQ(QuoteExecArgument("/usr/bin/velmora"), "/usr/bin/velmora");
}

TEST(DesktopExec, FileUriEncodesEverythingButUnreservedBytes) {
    EXPECT_EQ(FileUri("/a/B-c_d.e~f"), "file:///a/B-c_d.e~f");
    EXPECT_EQ(FileUri("/M\xC3\xBCsik/#1 ?%.mp3"), "file:///M%C3%BCsik/%231%20%3F%25.mp3");
}
