// The names editor control on screen: paints the editor model on a fixed character grid and
// feeds it keys, mouse and clipboard.
#pragma once

#include "core/editor/CustomTextEditor.h"
#include "core/editor/TextEditorMouse.h"
#include "ui/editor/QtClipboard.h"
#include "ui/editor/TextEditorPainter.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QColor>
#include <QTimer>
#include <functional>
#include <vector>

namespace velmora::ui {

class TextEditor : public QAbstractScrollArea,
                   public editor::CustomTextEditor,
                   private editor::MouseHost {
    Q_OBJECT
public:
    enum class ScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

    explicit TextEditor(QWidget* parent = nullptr);
    ~TextEditor() override;

    // Display properties.
    QColor Color;        // background
    QColor FontColor;    // text
    QColor SelForeColor; // selected text
    QColor SelBackColor; // selection background
    QColor RightMarginColor{0xC0, 0xC0, 0xC0};
    QColor GutterColor;
    ScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(ScrollStyle style);
    bool BorderSingle() const { return frameStyle() != QFrame::NoFrame; }
    void SetBorderSingle(bool single);

    editor::TextEditorMouse& Mouse() { return mouse_; }
    bool ScrollTimerRunning() const { return scrollTimer_.isActive(); }
    bool CaretShown() const { return caretShown_ && hasFocus(); }
    // The caret in viewport pixels: 2 pixels wide, a row high less 2.
    QRect CaretRect() const;

    // The desktop's cut, copy and paste requests: they run as posted commands, after the
    // request has been answered (cut and paste only when the editor is not read-only).
    void cut();
    void copy();
    void paste();

    // Text an input method is composing; shown underlined at the caret, not yet typed.
    const QString& Preedit() const { return preedit_; }

    // Offsets of the accessible text: paragraphs joined by one line feed.
    QString AccessibleText() const;
    int AccessibleOffset(int x, int y) const;
    editor::TextPos AccessiblePos(int offset) const;

    // What draws the text area; paintEvent adds only the caret.
    TextEditorPainter& Painter() { return painter_; }

    // A mark for a text row, asked for the rows being painted only: a valid colour paints a
    // strip left of the text, in the gutter where there is one.
    std::function<QColor(int row)> RowMark;

signals:
    // The text changed: typed, edited, or written through the line store.
    void LinesChanged();

protected:
    // Widget events.
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

    // Model hooks.
    editor::CellSize MeasureCell() override;
    void RepaintRows(int first, int last) override;
    void RepaintAll() override;
    void RepaintGutter() override;
    void PaintCaret(bool visible) override;
    void ScrollTextArea(int rows) override;
    void Beep() const override;
    bool MoveFocus(bool previous) override;

public:
    // Model notifications, also reported to assistive technology.
    void TextChanged() override;
    void TextAllChanged() override;
    void StatusChanged() override;
    void SelectionChanged() override;

private:
    // Mouse host.
    void SetMouseCapture(bool captured) override;
    void SetScrollTimer(bool running) override;
    void TakeFocus() override;
    void SetTextCursor(bool iBeam) override;

    void SyncBar(bool vertical);
    void BarAction(bool vertical, int action);
    void PaintFrame();
    void BlinkCaret();
    void NotifyTextChanged();
    void ReportTextChange();
    // Sends a text change still waiting for the event loop, so that it comes before what follows.
    void FlushTextChange();

    // Takes the text as assistive technology will first see it once it starts listening: edits
    // are then reported as what they changed, also right after a load made while none listened.
    struct AccessibleActivation : QAccessible::ActivationObserver {
        explicit AccessibleActivation(TextEditor& e) : editor(e) {}
        void accessibilityActiveChanged(bool active) override;
        TextEditor& editor;
    };
    AccessibleActivation accessibleActivation_{*this};

    QtClipboard clipboard_;
    editor::TextEditorMouse mouse_{*this, *this};
    ScrollStyle scrollBars_ = ScrollStyle::ssBoth;
    QTimer scrollTimer_;
    QTimer blinkTimer_;
    QTimer postedTimer_;
    QTimer accessibleTimer_;
    bool caretShown_ = false;
    bool blinkOn_ = true;
    QRect caretRect_;
    int wheelDelta_ = 0;
    QString preedit_;
    bool measuredValid_ = false;
    QFont measuredFont_;
    bool measuredMax_ = false;
    editor::CellSize measured_;
    TextEditorPainter painter_{*this};
    bool accessibleTextKnown_ = false;
    QString accessibleText_;
    editor::TextPos lastCaret_{-1, -1};
};

} // namespace velmora::ui
