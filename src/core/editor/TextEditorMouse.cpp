// Caret placement, drag selection, automatic scrolling and double-click selection.
#include "core/editor/TextEditorMouse.h"

#include "core/editor/CustomTextEditor.h"
#include "core/editor/WordSeparators.h"

#include <algorithm>
#include <cmath>

namespace velmora::editor {

TextPos TextEditorMouse::MouseToCaret(int x, int y) const {
    // Halves go to the even column, as the default rounding mode does.
    const double cells = static_cast<double>(x - ed_.TextAreaLeft()) / ed_.CellWidth();
    int col = std::max(static_cast<int>(std::nearbyint(cells)), 0) + ed_.LeftCol();
    int row = std::max(y / ed_.LineHeight(), 0) + ed_.TopRow();
    col = std::min(col, ed_.LastVisibleCol());
    row = std::max(std::min(row, ed_.Lines().RowCount() - 1), 0);
    return {col, row};
}

bool TextEditorMouse::Outside(int x, int y) const {
    return y < 0 || y > ed_.ClientHeight() || x < 0 || x > ed_.ClientWidth();
}

void TextEditorMouse::ButtonDown(int x, int y, MouseButton button, bool shift) {
    // The second button-down of a double-click has been dealt with by DoubleClick.
    if (doubleClicked_) {
        doubleClicked_ = false;
        return;
    }
    dragging_ = true;
    host_.SetMouseCapture(true);
    dragged_ = false;
    TextPos p = MouseToCaret(x, y);
    if (button == MouseButton::mbLeft && !shift) ed_.Deselect();
    host_.TakeFocus();
    if (!ed_.IsRowValid(p.Y)) return;
    if (!ed_.CursorBeyondEOL) p.X = std::min(p.X, static_cast<int>(ed_.Lines().GetRow(p.Y).size()));
    if (shift && !ed_.Selected()) ed_.ExtendSelection(ed_.CaretX(), ed_.CaretY());
    ed_.SetCaret(p.X, p.Y);
    if (shift) ed_.ExtendSelection(p.X, p.Y);
}

void TextEditorMouse::PointerMove(int x, int y, bool leftHeld) {
    mouseX_ = x;
    mouseY_ = y;
    const TextPos p = MouseToCaret(x, y);
    mouseCol_ = p.X;
    mouseRow_ = p.Y;
    host_.SetTextCursor(x >= ed_.GutterWidth());
    if (!leftHeld || !dragging_) return;
    dragged_ = true;
    host_.SetTextCursor(true);
    if (mouseRow_ <= ed_.LastVisibleRow()) {
        if (!ed_.CursorBeyondEOL)
            mouseCol_ =
                ed_.IsRowValid(mouseRow_)
                    ? std::min(mouseCol_, static_cast<int>(ed_.Lines().GetRow(mouseRow_).size()))
                    : 0;
        // The selection starts where the button went down, however far the first move lands.
        if (!ed_.Selected()) ed_.ExtendSelection(ed_.CaretX(), ed_.CaretY());
        ed_.ExtendSelection(mouseCol_, mouseRow_);
        ed_.SetCaret(mouseCol_, mouseRow_);
    }
    host_.SetScrollTimer(Outside(x, y));
}

void TextEditorMouse::ScrollTimerTick() {
    if (!Outside(mouseX_, mouseY_)) return;
    const int h = ed_.ClientHeight();
    const int w = ed_.ClientWidth();
    if (mouseY_ < -20)
        mouseRow_ -= ed_.VisibleRowCount();
    else if (mouseY_ < 0)
        mouseRow_ -= 1;
    else if (mouseY_ > h + 20)
        mouseRow_ += ed_.VisibleRowCount();
    else if (mouseY_ > h)
        mouseRow_ += 1;
    if (mouseX_ < -20)
        mouseCol_ -= ed_.VisibleColCount() / 2;
    else if (mouseX_ < 0)
        mouseCol_ -= 1;
    else if (mouseX_ > w + 20)
        mouseCol_ += ed_.VisibleColCount() / 2;
    else if (mouseX_ > w)
        mouseCol_ += 1;
    // The selection stays inside the text: a drag held below the last row would otherwise
    // select rows that do not exist, and such a selection has no text to copy.
    const int lastRow = ed_.Lines().RowCount() - 1;
    mouseRow_ = std::max(std::min(mouseRow_, lastRow), 0);
    mouseCol_ = std::max(mouseCol_, 0);
    if (!ed_.CursorBeyondEOL && ed_.IsRowValid(mouseRow_))
        mouseCol_ = std::min(mouseCol_, static_cast<int>(ed_.Lines().GetRow(mouseRow_).size()));
    if (!ed_.Selected()) ed_.ExtendSelection(ed_.CaretX(), ed_.CaretY());
    ed_.ExtendSelection(mouseCol_, mouseRow_);
    ed_.SetCaret(mouseCol_, mouseRow_);
}

void TextEditorMouse::ButtonUp() {
    host_.SetScrollTimer(false);
    dragging_ = false;
    host_.SetMouseCapture(false);
}

void TextEditorMouse::DoubleClick() {
    doubleClicked_ = true;
    const int row = ed_.CaretY();
    if (!ed_.IsRowValid(row)) return;
    const std::u32string text = ed_.Lines().GetRow(row);
    if (ed_.DoubleClickLine) {
        ed_.ExtendSelection(0, row);
        if (row == ed_.Lines().RowCount() - 1) {
            const int len = static_cast<int>(text.size());
            ed_.ExtendSelection(len, row);
            ed_.SetCaret(len, row);
        } else {
            ed_.ExtendSelection(0, row + 1);
            ed_.SetCaret(0, row + 1);
        }
        return;
    }
    const WordSpan w = WordAt(text, ed_.CaretX());
    if (!w.Found) return;
    ed_.ExtendSelection(w.Start - 1, row);
    ed_.ExtendSelection(w.End - 1, row);
    ed_.SetCaret(w.End - 1, row);
}

} // namespace velmora::editor
