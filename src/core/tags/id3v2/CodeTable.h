// The table behind an enumeration of frame codes: code, enumerator name, viewer text.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace velmora::tags {

struct CodeRow {
    std::string_view code;        // as the frame stores it
    std::string_view name;        // the enumerator's name
    std::string_view description; // what the viewer shows
};

// Rows indexed by enumerator value; row 0 is the unknown value, which no code maps to and which
// stands for every value beyond the table.
template <class Enum, std::size_t N> class CodeTable {
public:
    constexpr explicit CodeTable(const std::array<CodeRow, N>& rows) : rows_(rows) {}

    // Exact, case-sensitive comparison of the whole text with the codes.
    Enum FromCode(std::string_view code) const {
        for (std::size_t i = 1; i < N; ++i)
            if (rows_[i].code == code) return static_cast<Enum>(i);
        return static_cast<Enum>(0);
    }
    const CodeRow& Row(Enum value) const {
        const auto i = static_cast<std::size_t>(value);
        return i < N ? rows_[i] : rows_[0];
    }

private:
    std::array<CodeRow, N> rows_;
};

} // namespace velmora::tags
