// Scroll bar range and position rules.
#include "core/editor/TextEditorScrollBar.h"

#include "core/platform/Error.h"

#include <algorithm>

namespace velmora::editor {

int TextEditorScrollBar::Clamp(int position) const {
    return std::max(std::min(position, std::max(0, max_ - largeChange_)), min_);
}

void TextEditorScrollBar::SetParams(int min, int max, int largeChange, int page) {
    if (max < min) throw platform::Exception("Scroll bar property out of range");
    min_ = min;
    max_ = max;
    largeChange_ = largeChange;
    page_ = page;
    position_ = Clamp(position_);
    if (OnChange) OnChange();
}

void TextEditorScrollBar::SetPosition(int position) {
    position_ = Clamp(position);
    if (OnChange) OnChange();
}

int TextEditorScrollBar::Target(ScrollCode code, int trackPosition) const {
    switch (code) {
    case ScrollCode::scLineUp:
        return Clamp(position_ - SmallChange());
    case ScrollCode::scLineDown:
        return Clamp(position_ + SmallChange());
    case ScrollCode::scPageUp:
        return Clamp(position_ - largeChange_);
    case ScrollCode::scPageDown:
        return Clamp(position_ + largeChange_);
    case ScrollCode::scThumbPosition:
    case ScrollCode::scThumbTrack:
        return Clamp(trackPosition);
    case ScrollCode::scTop:
        return Clamp(min_);
    case ScrollCode::scBottom:
        return Clamp(max_);
    case ScrollCode::scEndScroll:
        break;
    }
    return position_;
}

} // namespace velmora::editor
