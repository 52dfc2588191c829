// The TFLT file-type code table.
#include "core/tags/Id3FileType.h"

#include <array>

namespace velmora::tags {

namespace {
struct Row {
    std::string_view code;
    std::string_view name;
};
// Indexed by enumerator value.
constexpr std::array<Row, 9> kRows{{
    {"", "ftUNKNOWN"},
    {"MPG", "ftMPG"},
    {"MPG/1", "ftMPG1"},
    {"MPG/2", "ftMPG2"},
    {"MPG/3", "ftMPG3"},
    {"MPG/2.5", "ftMPG2_5"},
    {"MPG/AAC", "ftMPG_AAC"},
    {"VQF", "ftVQF"},
    {"PCM", "ftPCM"},
}};
// The viewer's names, by value.
constexpr std::array<std::string_view, 9> kDescriptions{{
    "Unknown",
    "MPEG Audio",
    "MPEG 1/2 layer I",
    "MPEG 1/2 layer II",
    "MPEG 1/2 layer III",
    "MPEG 2.5",
    "Advanced audio compression",
    "VQF",
    "Pulse Code Modulated audio",
}};
} // namespace

ID3FileType FileTypeFromCode(std::string_view code) {
    for (std::size_t i = 1; i < kRows.size(); ++i)
        if (kRows[i].code == code) return static_cast<ID3FileType>(i);
    return ftUNKNOWN;
}

std::string_view FileTypeName(ID3FileType type) {
    return type < kRows.size() ? kRows[type].name : kRows[0].name;
}

std::string_view FileTypeDescription(ID3FileType type) {
    return type < kDescriptions.size() ? kDescriptions[type] : kDescriptions[0];
}

} // namespace velmora::tags
