// User-defined text items (TXXX frames).
#pragma once

#include "core/tags/id3v2/Id3PairList.h"

namespace velmora::tags {

class ID3UDText : public Id3PairList {
public:
    const std::string& Description() const { return First(); }
    const std::string& Value() const { return Second(); }
    const platform::StringList& Descriptions() const { return Firsts(); }
    const platform::StringList& Values() const { return Seconds(); }
};

} // namespace velmora::tags
