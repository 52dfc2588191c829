// The numbers behind one of the editor's scroll bars; the widget mirrors them on screen.
#pragma once

#include <cstdint>
#include <functional>

namespace velmora::editor {

enum class ScrollBarKind : std::uint8_t { sbHorizontal = 0, sbVertical = 1 };

// The actions a scroll bar reports: arrows, page areas, the thumb, the ends.
enum class ScrollCode : std::uint8_t {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scThumbPosition,
    scThumbTrack,
    scTop,
    scBottom,
    scEndScroll,
};

class TextEditorScrollBar {
public:
    explicit TextEditorScrollBar(ScrollBarKind kind) : kind_(kind) {}

    ScrollBarKind Kind() const { return kind_; }
    int Position() const { return position_; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int SmallChange() const { return 1; }
    int LargeChange() const { return largeChange_; }
    int Page() const { return page_; }

    // Max below Min is refused; the position is kept within Min..max(0, Max - LargeChange).
    void SetParams(int min, int max, int largeChange, int page);
    void SetPosition(int position);
    // The position an action leads to, clamped like SetPosition. Thumb actions take the thumb
    // where the bar on screen shows it (trackPosition), not a position carried by a message.
    int Target(ScrollCode code, int trackPosition) const;

    // Fired after any value changed, so the widget can show it.
    std::function<void()> OnChange;

private:
    int Clamp(int position) const;

    ScrollBarKind kind_;
    int position_ = 0;
    int min_ = 0;
    int max_ = 0;
    int largeChange_ = 1;
    int page_ = 1;
};

} // namespace velmora::editor
