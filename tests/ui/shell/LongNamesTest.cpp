// Dialogs naming a file of a few hundred characters show the whole name, wrapped, and stay on
// the screen.
#include "core/shell/AppAssociations.h"
#include "support/TempDir.h"
#include "ui/platform/LongText.h"
#include "ui/shell/FilePropertiesDialog.h"
#include "ui/shell/OpenWithDialog.h"
#include "ui/shell/SHFileOperation.h"
#include "ui/support/ModalAnswerer.h"

#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

const QChar kZeroWidthSpace(0x200B);

// A name as long as file systems allow, with a space near its end, as real long titles have.
std::string LongName() {
    return std::string(236, 'x') + " end.mp3";
}

int ScreenWidth() {
    return QGuiApplication::primaryScreen()->availableGeometry().width();
}

// Whether a label shows all of its text at its width: nothing of it needs more room than it has.
bool ShowsWhole(const QLabel* label) {
    return label->wordWrap() && label->minimumSizeHint().width() <= label->width();
}

} // namespace

TEST(LongText, LongRunsBreakAnywhereBetweenWholeCharacters) {
    EXPECT_EQ(ui::Breakable("Move \"short.mp3\" to the Trash?"),
              "Move \"short.mp3\" to the Trash?");
    const QString run = QString(40, QLatin1Char('a')) + QStringLiteral("e\u0301z");
    const QString broken = ui::Breakable("Move " + run + " now");
    EXPECT_TRUE(broken.startsWith("Move a\u200Ba"));
    EXPECT_TRUE(broken.endsWith(" now"));
    EXPECT_TRUE(broken.contains(QStringLiteral("e\u0301\u200Bz"))); // the accent stays on its e
    EXPECT_EQ(QString(broken).remove(kZeroWidthSpace), "Move " + run + " now");
}

TEST(LongNames, ConfirmationsWrapTheWholeName) {
    test::TempDir d;
    const std::string name = LongName();
    d.Write(name);
    QWidget owner;
    test::ModalAnswerer answers;
    bool whole = false;
    int width = 0;
    answers.Then(
        QMessageBox::No,
        [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            width = box->width();
            whole = ShowsWhole(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")));
        },
        0);
    ui::SHFileOperation op(&owner);
    op.Options = 0; // permanently
    op.SourceFiles = {d / name};
    EXPECT_FALSE(op.Execute());
    ASSERT_EQ(answers.texts.size(), 1u);
    EXPECT_EQ(answers.texts[0], "Are you sure you want to permanently delete \"" + name + "\"?");
    EXPECT_TRUE(whole);
    EXPECT_LE(width, ScreenWidth());
    EXPECT_TRUE(d.Exists(name));
}

TEST(LongNames, PropertiesAndTheChooserStayOnTheScreen) {
    test::TempDir d;
    const std::string name = LongName();
    d.Write(name);
    ui::FilePropertiesDialog props(d / name);
    props.show();
    EXPECT_LE(props.width(), ScreenWidth());
    EXPECT_EQ(props.Field(QStringLiteral("Name")).toStdString(), name);
    for (const QLabel* label : props.findChildren<QLabel*>())
        if (label->wordWrap()) {
            EXPECT_TRUE(ShowsWhole(label)) << label->accessibleName().toStdString();
        }

    const shell::AppAssociations none(shell::AppAssociations::Dirs{});
    ui::AppChooserDialog chooser(d / name, none, {"audio/mpeg"});
    chooser.show();
    EXPECT_LE(chooser.width(), ScreenWidth());
    for (const QLabel* label : chooser.findChildren<QLabel*>())
        if (label->text().contains(kZeroWidthSpace)) {
            EXPECT_TRUE(ShowsWhole(label));
        }
}
