// User-defined URL items (WXXX frames).
#pragma once

#include "core/tags/id3v2/Id3PairList.h"

namespace velmora::tags {

class ID3UDUrl : public Id3PairList {
public:
    const std::string& Description() const { return First(); }
    const std::string& URL() const { return Second(); }
    const platform::StringList& Descriptions() const { return Firsts(); }
    const platform::StringList& URLs() const { return Seconds(); }
};

} // namespace velmora::tags
