// text/uri-list parsing.
#include "core/shell/UriList.h"

#include <gtest/gtest.h>

using velmora::shell::UriList;

TEST(UriList, LocalFilesInOrderWithEveryByteKept) {
    const std::string text = "# a comment\r\n"
                             "file:///home/me/a%20b.mp3\r\n"
                             "  FILE://localhost/home/me/My.Music  \n"
                             "file:/tmp/raw%FF%fe.wma\n"
                             "\n"
                             "http://example.invalid/x.mp3\n"
                             "file://otherhost/share/x.mp3\n"
                             "file://localhostx/x.mp3\n"
                             "file:///bad%00nul\n"
                             "file:relative.mp3\n"
                             "file:///q/x.mp3?query#frag\n"
                             "file:///half%2\n"
                             "file:///last";
    EXPECT_EQ(UriList::LocalPaths(text),
              (std::vector<std::string>{"/home/me/a b.mp3", "/home/me/My.Music",
                                        "/tmp/raw\xFF\xFE.wma", "/q/x.mp3", "/half%2", "/last"}));
}
