// The numbers behind one of the editor's scroll bars; the widget mirrors them on screen.
#pragma once

#include <cstdint>
#include <functional>

namespace velmora::editor {

enum class ScrollBarKind : std::uint8_t { sbHorizontal = 0, sbVertical = 1 };

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
