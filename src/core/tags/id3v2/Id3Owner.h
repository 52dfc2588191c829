// Ownership values (OWNE frame).
#pragma once

#include <string>

namespace velmora::tags {

// A calendar date.
struct Id3Date {
    int Year = 1900;
    int Month = 1;
    int Day = 1;
    bool operator==(const Id3Date&) const = default;
    // True for a real day of the proleptic Gregorian calendar, years 1 to 9999.
    bool Valid() const;
};

class Id3Owner {
public:
    std::string Seller;
    std::string Price;
    Id3Date DatePurchased;

    void Reset() { *this = Id3Owner(); }
};

} // namespace velmora::tags
