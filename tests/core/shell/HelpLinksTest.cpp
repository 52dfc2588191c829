// The Etc menu's homepage and contact targets.
#include "core/shell/HelpLinks.h"

#include <gtest/gtest.h>
#include <set>

using velmora::shell::HelpLinks;

TEST(HelpLinks, TheHomepageElseTheGuideElseNothing) {
    HelpLinks l{"https://example.org/velmora", "", "/usr/share/doc/velmora/velmora-guide.html"};
    EXPECT_EQ(l.HomepageTarget(), "https://example.org/velmora");
    l.homepage.clear();
    EXPECT_EQ(l.HomepageTarget(), "file:///usr/share/doc/velmora/velmora-guide.html");
    l.guide = "/opt/my apps/doc/velmora-guide.html"; // an address, so the space is encoded
    EXPECT_EQ(l.HomepageTarget(), "file:///opt/my%20apps/doc/velmora-guide.html");
    l.guide.clear();
    EXPECT_EQ(l.HomepageTarget(), "");
}

TEST(HelpLinks, ContactOnlyWithAnAddress) {
    EXPECT_EQ(HelpLinks{}.ContactTarget(), "");
    EXPECT_EQ((HelpLinks{"", "ann@example.org", ""}.ContactTarget()),
              "mailto:ann@example.org?subject=Velmora");
}

TEST(HelpLinks, TheGuideIsTheFirstCandidateThatExists) {
    const std::set<std::string> present{"/b", "/c"};
    auto exists = [&](const std::string& p) { return present.count(p) > 0; };
    EXPECT_EQ(HelpLinks::FindGuide({"/a", "", "/c", "/b"}, exists), "/c");
    EXPECT_EQ(HelpLinks::FindGuide({"/a", ""}, exists), "");
}
