// The involved-people list (IPLS, and the TIPL and TMCL credits of version 2.4 tags).
#pragma once

#include "core/tags/id3v2/Id3PairList.h"

namespace velmora::tags {

class IdIpl : public Id3PairList {
public:
    const std::string& Job() const { return First(); }
    const std::string& Person() const { return Second(); }
    const platform::StringList& Jobs() const { return Firsts(); }
    const platform::StringList& Persons() const { return Seconds(); }
};

} // namespace velmora::tags
