// Calendar checks for purchase dates.
#include "core/tags/id3v2/Id3Owner.h"

namespace velmora::tags {

bool Id3Date::Valid() const {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1) return false;
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
    int days = kDays[Month - 1] + (Month == 2 && leap ? 1 : 0);
    return Day <= days;
}

} // namespace velmora::tags
