// The TFLT file-type code table.
#include "core/tags/id3v2/Id3FileType.h"

#include <array>

namespace velmora::tags {

namespace {
struct Row {
    std::string_view code;
    std::string_view name;
    std::string_view description; // what the viewer shows
};
// Indexed by enumerator value.
constexpr std::array<Row, 9> kRows{{
    {"", "ftUNKNOWN", "Unknown"},
    {"MPG", "ftMPG", "MPEG Audio"},
    {"MPG/1", "ftMPG1", "MPEG 1/2 layer I"},
    {"MPG/2", "ftMPG2", "MPEG 1/2 layer II"},
    {"MPG/3", "ftMPG3", "MPEG 1/2 layer III"},
    {"MPG/2.5", "ftMPG2_5", "MPEG 2.5"},
    {"MPG/AAC", "ftMPG_AAC", "Advanced audio compression"},
    {"VQF", "ftVQF", "VQF"},
    {"PCM", "ftPCM", "Pulse Code Modulated audio"},
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
    return type < kRows.size() ? kRows[type].description : kRows[0].description;
}

} // namespace velmora::tags
