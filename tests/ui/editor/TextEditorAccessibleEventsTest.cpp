// What the names editor tells assistive technology while the user edits: the change alone, and
// the text change before the caret move it caused.
#include "TextEditorTestSupport.h"
#include "ui/editor/TextEditorAccessible.h"

#include <QAccessible>
#include <vector>

using namespace velmora;
using test::EditorFixture;

namespace {

struct Reported {
    QAccessible::Event type;
    int position;
    QString removed;
    QString inserted;
};

std::vector<Reported>* g_reported = nullptr;
bool g_listening = false;

void Record(QAccessibleEvent* e) {
    if (!g_reported) return;
    if (e->type() == QAccessible::TextUpdated) {
        auto* u = static_cast<QAccessibleTextUpdateEvent*>(e);
        g_reported->push_back(
            {e->type(), u->changePosition(), u->textRemoved(), u->textInserted()});
    } else if (e->type() == QAccessible::TextCaretMoved) {
        auto* c = static_cast<QAccessibleTextCursorEvent*>(e);
        g_reported->push_back({e->type(), c->cursorPosition(), {}, {}});
    }
}

// Listens as assistive technology does, from the moment it starts until the test ends.
struct Listening {
    std::vector<Reported> reported;
    ui::AccessibleChannel previous = ui::EditorAccessibleChannel();
    Listening() {
        g_reported = &reported;
        g_listening = true;
        ui::EditorAccessibleChannel() = {[] { return g_listening; }, &Record};
        QAccessible::setActive(true); // tells the observers, as the platform's bridge does
    }
    ~Listening() {
        g_listening = false;
        QAccessible::setActive(false);
        ui::EditorAccessibleChannel() = previous;
        g_reported = nullptr;
    }
};

using AccessibleEvents = EditorFixture;

} // namespace

TEST_F(AccessibleEvents, TheFirstEditAfterALoadReportsTheChangeBeforeTheCaretMove) {
    // Loaded before anyone listens, as a list given on the command line is.
    std::string names;
    for (int i = 0; i < 2000; ++i)
        names += "track " + std::to_string(i) + ".mp3\n";
    Load(names);
    QApplication::processEvents();

    Listening at;
    QTest::keyClick(&ed, Qt::Key_End);
    at.reported.clear();
    QTest::keyClicks(&ed, "x");
    QApplication::processEvents();
    ASSERT_EQ(at.reported.size(), 2u);
    EXPECT_EQ(at.reported[0].type, QAccessible::TextUpdated);
    EXPECT_EQ(at.reported[0].position, 11); // the end of "track 0.mp3"
    EXPECT_EQ(at.reported[0].inserted, "x");
    EXPECT_EQ(at.reported[0].removed, "");
    EXPECT_EQ(at.reported[1].type, QAccessible::TextCaretMoved);
    EXPECT_EQ(at.reported[1].position, 12);
}
