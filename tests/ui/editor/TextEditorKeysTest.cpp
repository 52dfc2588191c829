// Keys reach the names editor as the key map expects them: translation, typing, input methods,
// two-key bindings and macros, all through real key events.
#include "TextEditorTestSupport.h"
#include "ui/editor/VirtualKeyMap.h"

#include <QImage>
#include <QInputMethodEvent>

using namespace velmora;
using editor::TextPos;
using test::EditorFixture;

namespace {

struct KeysTest : EditorFixture {
    // A key event that carries only text, as a composed character or an input method sends it.
    void TypeText(const QString& text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(&ed, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
        QApplication::sendEvent(&ed, &release);
    }
};

} // namespace

TEST(VirtualKeyMapTest, QtKeysBecomeTheKeyMapsCodesAndShiftStates) {
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers mods;
        quint32 scanCode;
        std::uint16_t key;
        bool hasText;
        editor::ShiftState shift;
    };
    using namespace editor;
    const Case cases[] = {
        {Qt::Key_Return, Qt::NoModifier, 0, vkEnter, true, ssNone},
        {Qt::Key_Enter, Qt::KeypadModifier, 0, vkEnter, true, ssNone},
        {Qt::Key_Backtab, Qt::ShiftModifier, 0, vkTab, false, ssShift},
        {Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier, 0, vkHome, false, ssCtrl | ssShift},
        {Qt::Key_Backspace, Qt::AltModifier, 0, vkBackspace, false, ssAlt},
        {Qt::Key_K, Qt::ControlModifier, 0, LetterKey('K'), true, ssCtrl},
        {Qt::Key_5, Qt::NoModifier, 0, DigitKey(5), true, ssNone},
        {Qt::Key_5, Qt::KeypadModifier | Qt::ControlModifier, 0, 0x65, true, ssCtrl},
        // Shift turns the digit key into a symbol; the stroke is still the digit key.
        {Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 0, DigitKey(1), true,
         ssCtrl | ssShift},
        {Qt::Key_ParenRight, Qt::ShiftModifier, 0, DigitKey(0), true, ssShift},
        // The X key code names the digit row whatever the layout puts on it.
        {Qt::Key_Eacute, Qt::ControlModifier | Qt::ShiftModifier, 11, DigitKey(2), true,
         ssCtrl | ssShift},
        {Qt::Key_Agrave, Qt::NoModifier, 19, DigitKey(0), true, ssNone},
        {Qt::Key_Control, Qt::ControlModifier, 0, vkControl, false, ssCtrl},
        {Qt::Key_F3, Qt::NoModifier, 0, 0x72, false, ssNone},
        {Qt::Key_Period, Qt::NoModifier, 0, 0xBE, true, ssNone},
        {Qt::Key_Eacute, Qt::NoModifier, 0, ui::vkPacket, true, ssNone},
        {Qt::Key_unknown, Qt::NoModifier, 0, 0, false, ssNone},
    };
    for (const Case& c : cases) {
        const ui::KeyStroke s = ui::TranslateKey(c.qtKey, c.mods, c.scanCode, c.hasText);
        EXPECT_EQ(std::make_pair(s.Key, s.Shift), std::make_pair(c.key, c.shift))
            << std::hex << c.qtKey;
    }
}

TEST(VirtualKeyMapTest, TypedCharactersFollowTheDesktopsCharacterMessages) {
    EXPECT_EQ(ui::TypedCharacters(QStringLiteral("é"), Qt::Key_Eacute, Qt::NoModifier), U"é");
    EXPECT_EQ(ui::TypedCharacters(QStringLiteral("\U0001D11E"), 0, Qt::NoModifier), U"\U0001D11E");
    // Alt+letter is a menu key; Ctrl+letter types its control character; AltGr (Ctrl+Alt) types.
    EXPECT_EQ(ui::TypedCharacters(QStringLiteral("x"), Qt::Key_X, Qt::AltModifier), U"");
    EXPECT_EQ(ui::TypedCharacters(QStringLiteral("e"), Qt::Key_E, Qt::ControlModifier), U"\x05");
    EXPECT_EQ(ui::TypedCharacters(QStringLiteral("1"), Qt::Key_1, Qt::ControlModifier), U"");
    EXPECT_EQ(
        ui::TypedCharacters(QStringLiteral("€"), Qt::Key_E, Qt::ControlModifier | Qt::AltModifier),
        U"€");
}

TEST_F(KeysTest, EnterGivesOneLineAndMenuKeysTypeNothing) {
    Load("ab");
    Key(Qt::Key_End);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "ab\r\n\r\n");
    EXPECT_EQ(Caret(), (TextPos{0, 1}));
    Type("cd");
    EXPECT_EQ(Text(), "ab\r\ncd\r\n");
    ed.SetModified(false);
    Key(Qt::Key_Q, Qt::AltModifier);
    Key(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(Text(), "ab\r\ncd\r\n");
    EXPECT_FALSE(ed.Modified());
}

TEST_F(KeysTest, BookmarkSetWithCtrlKAndReachedWithCtrlQ) {
    Load(test::NumberedLines(60));
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right})
        Key(k);
    Key(Qt::Key_K, Qt::ControlModifier);
    Key(Qt::Key_1);
    Key(Qt::Key_PageDown, Qt::ControlModifier); // to the end of the text
    ASSERT_GT(ed.CaretY(), 50);
    ASSERT_GT(ed.TopRow(), 40);
    Key(Qt::Key_Q, Qt::ControlModifier);
    Key(Qt::Key_1);
    EXPECT_EQ(Caret(), (TextPos{2, 3}));
    EXPECT_LE(ed.TopRow(), 3);
    EXPECT_EQ(Text().substr(0, 16), "line 0\r\nline 1\r\n");
    EXPECT_FALSE(ed.Modified()); // neither digit was typed
}

TEST_F(KeysTest, CharactersBeyondLatin1AreTypedAndUndoneAsOneRun) {
    Load("x");
    Key(Qt::Key_End);
    for (const char* typed : {"é", "漢", "\U0001D11E"})
        TypeText(QString::fromUtf8(typed));
    EXPECT_EQ(Text(), "xé漢\U0001D11E\r\n");
    EXPECT_EQ(Caret(), (TextPos{4, 0}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "x\r\n");
    EXPECT_EQ(Caret(), (TextPos{1, 0}));
}

TEST_F(KeysTest, InputMethodTextTakesTheTypingPath) {
    Load("ab");
    Key(Qt::Key_End);
    ed.clearFocus(); // no blinking caret in the pictures
    const QImage plain = ed.viewport()->grab().toImage();
    QInputMethodEvent preedit(QStringLiteral("にほ"), {});
    QApplication::sendEvent(&ed, &preedit);
    EXPECT_EQ(Text(), "ab\r\n"); // text being composed is not yet typed
    EXPECT_EQ(ed.Preedit(), "にほ");
    EXPECT_NE(ed.viewport()->grab().toImage(), plain); // but shown at the caret
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("日本"));
    QApplication::sendEvent(&ed, &commit);
    EXPECT_EQ(Text(), "ab日本\r\n");
    EXPECT_TRUE(ed.Modified());
    EXPECT_TRUE(ed.Preedit().isEmpty());
    QInputMethodQueryEvent query(Qt::ImCursorRectangle);
    QApplication::sendEvent(&ed, &query);
    EXPECT_EQ(query.value(Qt::ImCursorRectangle).toRect().height(), ed.LineHeight() - 2);
    // Read-only editors take no text from an input method either.
    ed.SetReadOnly(true);
    QApplication::sendEvent(&ed, &commit);
    EXPECT_EQ(Text(), "ab日本\r\n");
}

TEST_F(KeysTest, MacroRecordedAndReplayedThroughKeys) {
    Load("one\ntwo\nthree");
    Key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(ed.Recording());
    Type("#");
    TypeText(QStringLiteral("ü"));
    Key(Qt::Key_Down);
    Key(Qt::Key_Home);
    Key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_FALSE(ed.Recording());
    Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Text(), "#üone\r\n#ütwo\r\n#üthree\r\n");
}

TEST_F(KeysTest, TabIsTheEditorsUnlessItDoesNotWantTabs) {
    Load("ab");
    Key(Qt::Key_Tab);
    const std::string tabbed = Text();
    EXPECT_GT(tabbed.find("ab"), 0u);
    EXPECT_EQ(tabbed.find_first_not_of(' '), tabbed.find("ab"));
    EXPECT_TRUE(ed.hasFocus());
    // Without tabs (or read-only) Tab leaves the editor and types nothing.
    ed.WantTabs = false;
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(), tabbed);
}
