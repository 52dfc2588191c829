// The text clipboard as the editor model sees it; the widget layer supplies the real one.
#pragma once

#include <string>

namespace velmora::editor {

// Text crosses this interface with LF line breaks, as the desktop clipboard expects.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::u32string GetText() = 0;
    virtual void SetText(const std::u32string& text) = 0;
};

} // namespace velmora::editor
