// Text, caret and selection of the names editor for screen readers and UI automation.
#include "ui/editor/TextEditorAccessible.h"

#include "ui/editor/TextEditor.h"

#include <algorithm>
#include <mutex>

namespace velmora::ui {

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
    startOffset = std::clamp(startOffset, 0, static_cast<int>(all.size()));
    endOffset = std::clamp(endOffset, startOffset, static_cast<int>(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int TextEditorAccessible::characterCount() const {
    return static_cast<int>(Editor()->AccessibleText().size());
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

namespace {
QAccessibleInterface* TextEditorFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TextEditor::staticMetaObject.className()) && object != nullptr &&
        object->isWidgetType())
        return new TextEditorAccessible(static_cast<TextEditor*>(object));
    return nullptr;
}
} // namespace

void InstallTextEditorAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(TextEditorFactory); });
}

} // namespace velmora::ui
