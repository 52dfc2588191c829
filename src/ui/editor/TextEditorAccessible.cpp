// Text, caret and selection of the names editor for screen readers and UI automation.
#include "ui/editor/TextEditorAccessible.h"

#include "ui/editor/TextEditor.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace velmora::ui {

namespace {

// The UTF-16 index of code point `offset` of s, clamped to s.
int Utf16Index(const QString& s, int offset) {
    int i = 0;
    for (int cp = 0; cp < offset && i < s.size(); ++cp)
        i += s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate() ? 2 : 1;
    return i;
}

// The code point offset of UTF-16 index `index` of s.
int CodePointOffset(const QString& s, int index) {
    int cp = 0;
    for (int i = 0; i < index && i < s.size(); ++cp)
        i += s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate() ? 2 : 1;
    return cp;
}

// Qt's boundary search (characters, words, sentences, lines) runs in UTF-16 units; this gives it
// the text in those units so the results only need converting back.
class Utf16Text : public QAccessibleTextInterface {
public:
    explicit Utf16Text(QString s) : s_(std::move(s)) {}
    const QString& String() const { return s_; }
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        return s_.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(s_.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        return {};
    }

private:
    QString s_;
};

// Runs one of Qt's boundary searches with code point offsets in and out.
template <typename Search>
QString InCodePoints(const QString& all, int offset, int* startOffset, int* endOffset,
                     Search search) {
    const Utf16Text text(all);
    int start = -1;
    int end = -1;
    // -1 stands for the end of the text, as in Qt's own search.
    QString found = search(text, offset < 0 ? offset : Utf16Index(all, offset), &start, &end);
    *startOffset = start < 0 ? start : CodePointOffset(all, start);
    *endOffset = end < 0 ? end : CodePointOffset(all, end);
    return found;
}

} // namespace

TextEditorAccessible::TextEditorAccessible(TextEditor* editor)
    : QAccessibleWidget(editor, QAccessible::EditableText) {}

TextEditor* TextEditorAccessible::Editor() const {
    return static_cast<TextEditor*>(widget());
}

QAccessible::State TextEditorAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.multiLine = true;
    s.readOnly = Editor()->ReadOnly();
    s.editable = !Editor()->ReadOnly();
    s.selectableText = true;
    return s;
}

QString TextEditorAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return Editor()->AccessibleText();
    return QAccessibleWidget::text(t);
}

void* TextEditorAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

void TextEditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const TextEditor* ed = Editor();
    if (selectionIndex != 0 || !ed->Selected()) return;
    *startOffset = ed->AccessibleOffset(ed->SelBeg().X, ed->SelBeg().Y);
    *endOffset = ed->AccessibleOffset(ed->SelEnd().X, ed->SelEnd().Y);
}

int TextEditorAccessible::selectionCount() const {
    int start = 0;
    int end = 0;
    selection(0, &start, &end);
    return start != end ? 1 : 0;
}

void TextEditorAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void TextEditorAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) Editor()->Deselect();
}

void TextEditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0) return;
    TextEditor* ed = Editor();
    const editor::TextPos a = ed->AccessiblePos(std::min(startOffset, endOffset));
    const editor::TextPos b = ed->AccessiblePos(std::max(startOffset, endOffset));
    ed->Deselect();
    ed->SetCaret(a.X, a.Y);
    ed->ExtendSelection(a.X, a.Y);
    ed->ExtendSelection(b.X, b.Y);
    ed->SetCaret(b.X, b.Y);
}

int TextEditorAccessible::cursorPosition() const {
    return Editor()->AccessibleOffset(Editor()->CaretX(), Editor()->CaretY());
}

void TextEditorAccessible::setCursorPosition(int position) {
    const editor::TextPos p = Editor()->AccessiblePos(position);
    Editor()->Deselect();
    Editor()->SetCaret(p.X, p.Y);
}

QString TextEditorAccessible::text(int startOffset, int endOffset) const {
    const QString all = Editor()->AccessibleText();
    const int from = Utf16Index(all, std::max(startOffset, 0));
    const int to = Utf16Index(all, std::max(endOffset, startOffset));
    return all.mid(from, to - from);
}

QString TextEditorAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType type,
                                               int* startOffset, int* endOffset) const {
    if (offset == -2) offset = cursorPosition(); // -2 asks about the caret
    return InCodePoints(Editor()->AccessibleText(), offset, startOffset, endOffset,
                        [type](const Utf16Text& t, int o, int* s, int* e) {
                            return t.textBeforeOffset(o, type, s, e);
                        });
}

QString TextEditorAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType type,
                                              int* startOffset, int* endOffset) const {
    if (offset == -2) offset = cursorPosition(); // -2 asks about the caret
    return InCodePoints(Editor()->AccessibleText(), offset, startOffset, endOffset,
                        [type](const Utf16Text& t, int o, int* s, int* e) {
                            return t.textAfterOffset(o, type, s, e);
                        });
}

QString TextEditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType type,
                                           int* startOffset, int* endOffset) const {
    if (offset == -2) offset = cursorPosition(); // -2 asks about the caret
    return InCodePoints(Editor()->AccessibleText(), offset, startOffset, endOffset,
                        [type](const Utf16Text& t, int o, int* s, int* e) {
                            return t.textAtOffset(o, type, s, e);
                        });
}

int TextEditorAccessible::characterCount() const {
    const QString all = Editor()->AccessibleText();
    return CodePointOffset(all, static_cast<int>(all.size()));
}

QRect TextEditorAccessible::characterRect(int offset) const {
    const TextEditor* ed = Editor();
    const editor::TextPos p = ed->AccessiblePos(offset);
    const editor::Rect r = ed->CellRect(p.X - ed->LeftCol(), p.Y - ed->TopRow());
    const QPoint topLeft = ed->viewport()->mapToGlobal(QPoint(r.Left, r.Top));
    return {topLeft, QSize(r.Width, r.Height)};
}

int TextEditorAccessible::offsetAtPoint(const QPoint& point) const {
    TextEditor* ed = Editor();
    const QPoint local = ed->viewport()->mapFromGlobal(point);
    if (!ed->viewport()->rect().contains(local)) return -1;
    const int col =
        ed->LeftCol() + std::max(local.x() - ed->TextAreaLeft() - 1, 0) / ed->CellWidth();
    const int row = ed->TopRow() + local.y() / ed->LineHeight();
    if (!ed->IsRowValid(row)) return -1;
    return ed->AccessibleOffset(col, row);
}

void TextEditorAccessible::scrollToSubstring(int startIndex, int) {
    const editor::TextPos p = Editor()->AccessiblePos(startIndex);
    Editor()->ScrollToCaretCentered(p.X, p.Y);
}

QString TextEditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // Plain text: one run without attributes.
    *startOffset = 0;
    *endOffset = std::max(characterCount(), offset);
    return {};
}

AccessibleTextChange DiffAccessibleText(const QString& before, const QString& after) {
    const qsizetype common = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < common && before.at(prefix) == after.at(prefix))
        ++prefix;
    if (prefix > 0 && after.at(prefix - 1).isHighSurrogate()) --prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix &&
           before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    if (suffix > 0 && after.at(after.size() - suffix).isLowSurrogate()) --suffix;
    return {CodePointOffset(after, static_cast<int>(prefix)),
            before.mid(prefix, before.size() - prefix - suffix),
            after.mid(prefix, after.size() - prefix - suffix)};
}

namespace {
QAccessibleInterface* TextEditorFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TextEditor::staticMetaObject.className()) && object != nullptr &&
        object->isWidgetType())
        return new TextEditorAccessible(static_cast<TextEditor*>(object));
    return nullptr;
}
} // namespace

AccessibleChannel& EditorAccessibleChannel() {
    static AccessibleChannel channel;
    return channel;
}

void InstallTextEditorAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(TextEditorFactory); });
}

} // namespace velmora::ui
