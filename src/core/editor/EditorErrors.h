// Error classes of the names editor.
#pragma once

#include "core/platform/Error.h"

namespace velmora::editor {

// The editor's own error; raised by operations the editor refuses.
class ETextEditorError : public platform::Exception {
public:
    using Exception::Exception;
};

class EInvalidRightMarginValue : public platform::Exception {
public:
    EInvalidRightMarginValue() : Exception("Invalid right margin value") {}
};

// Ends a command early; the command executor catches it, so it never reaches a caller.
class EComplete : public platform::EAbort {};

} // namespace velmora::editor
