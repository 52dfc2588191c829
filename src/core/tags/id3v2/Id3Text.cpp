// Resetting the text-frame values.
#include "core/tags/id3v2/Id3Text.h"

namespace velmora::tags {

void Id3Text::Reset() {
    *this = Id3Text();
}

} // namespace velmora::tags
