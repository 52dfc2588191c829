// The Etc menu's homepage and contact items in a build that sets neither address.
#include "ui/support/UrlRecorder.h"
#include "ui/workspace/MainWindow.h"

#include <QAction>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;

TEST(EtcMenu, WithoutAddressesTheHomepageItemOpensTheGuideAndContactIsHidden) {
    if (!ui::MainWindow::CurrentHelpLinks().homepage.empty() ||
        !ui::MainWindow::CurrentHelpLinks().contact.empty())
        GTEST_SKIP() << "this build sets a homepage or contact address";
    ui::MainWindow w;
    auto* home = w.PopupMenuEtc->findChild<QAction*>(QStringLiteral("VelmoraHomepage1"));
    auto* contact = w.PopupMenuEtc->findChild<QAction*>(QStringLiteral("Contact1"));
    ASSERT_TRUE(home && contact);
    EXPECT_FALSE(contact->isVisible());
    ASSERT_TRUE(home->isVisible());
    EXPECT_EQ(home->text(), "&Velmora User Guide");
    test::UrlRecorder files(QStringLiteral("file"));
    test::UrlRecorder mail(QStringLiteral("mailto"));
    home->trigger();
    ASSERT_EQ(files.urls.size(), 1u);
    EXPECT_TRUE(files.urls[0].path().endsWith("/velmora-guide.html"));
    QFile guide(files.urls[0].toLocalFile());
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    EXPECT_TRUE(guide.readAll().contains("<title>Velmora User Guide</title>"));
    EXPECT_TRUE(mail.urls.empty());
}
