// The editor's mouse: caret placement, drag selection with automatic scrolling, double-click.
#pragma once

#include "core/editor/TextPos.h"

namespace velmora::editor {

class CustomTextEditor;

enum class MouseButton : unsigned char { mbLeft, mbRight, mbMiddle };

// What the mouse needs of the window the editor sits in.
class MouseHost {
public:
    virtual ~MouseHost() = default;
    virtual void SetMouseCapture(bool captured) = 0;
    // The 100 ms timer that scrolls while a drag holds the pointer outside the window.
    virtual void SetScrollTimer(bool running) = 0;
    virtual void TakeFocus() = 0;
    // The I-beam over the text, the arrow over the gutter.
    virtual void SetTextCursor(bool iBeam) = 0;
};

// Pointer positions are client pixels of the editor; they may lie outside the window while a
// drag holds the capture.
class TextEditorMouse {
public:
    TextEditorMouse(CustomTextEditor& editor, MouseHost& host) : ed_(editor), host_(host) {}

    // The caret position nearest to a pixel: columns round to the nearer cell edge.
    TextPos MouseToCaret(int x, int y) const;

    void ButtonDown(int x, int y, MouseButton button, bool shift);
    void PointerMove(int x, int y, bool leftHeld);
    void ButtonUp();
    // A left double-click, reported before the second button-down (which it swallows).
    void DoubleClick();
    void ScrollTimerTick();

    bool Dragging() const { return dragging_; }
    bool Dragged() const { return dragged_; }
    bool DoubleClicked() const { return doubleClicked_; }
    int MouseX() const { return mouseX_; }
    int MouseY() const { return mouseY_; }
    int MouseCol() const { return mouseCol_; }
    int MouseRow() const { return mouseRow_; }

private:
    bool Outside(int x, int y) const;

    CustomTextEditor& ed_;
    MouseHost& host_;
    bool dragging_ = false;
    bool dragged_ = false;
    bool doubleClicked_ = false;
    int mouseX_ = 0;
    int mouseY_ = 0;
    int mouseCol_ = 0;
    int mouseRow_ = 0;
};

} // namespace velmora::editor
