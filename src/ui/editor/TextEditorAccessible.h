// The names editor as assistive technology sees it: an editable multi-line text with a caret
// and a selection.
#pragma once

#include <QAccessibleWidget>

namespace velmora::ui {

class TextEditor;

// Where the editors' reports to assistive technology go: the platform's accessibility bridge,
// unless a test listens in its place.
struct AccessibleChannel {
    bool (*Active)() = &QAccessible::isActive;
    void (*Send)(QAccessibleEvent* event) = &QAccessible::updateAccessibility;
};
AccessibleChannel& EditorAccessibleChannel();

class TextEditorAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextEditorAccessible(TextEditor* editor);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // Text interface; offsets count code points (a character beyond U+FFFF is one, as assistive
    // technology counts), one per line break.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    TextEditor* Editor() const;
};

// What changed between two versions of the accessible text: the code point offset where they
// part, the text removed there and the text inserted. Surrogate pairs stay whole.
struct AccessibleTextChange {
    int Position = 0;
    QString Removed;
    QString Inserted;
    bool operator==(const AccessibleTextChange&) const = default;
};
AccessibleTextChange DiffAccessibleText(const QString& before, const QString& after);

// Makes Qt's accessibility use TextEditorAccessible for every TextEditor; safe to call often.
void InstallTextEditorAccessibility();

} // namespace velmora::ui
