// The TFLT file-type code table.
#include "core/tags/id3v2/Id3FileType.h"

#include "core/tags/id3v2/CodeTable.h"

namespace velmora::tags {

namespace {
constexpr CodeTable<ID3FileType, 9> kTable{{{
    {"", "ftUNKNOWN", "Unknown"},
    {"MPG", "ftMPG", "MPEG Audio"},
    {"MPG/1", "ftMPG1", "MPEG 1/2 layer I"},
    {"MPG/2", "ftMPG2", "MPEG 1/2 layer II"},
    {"MPG/3", "ftMPG3", "MPEG 1/2 layer III"},
    {"MPG/2.5", "ftMPG2_5", "MPEG 2.5"},
    {"MPG/AAC", "ftMPG_AAC", "Advanced audio compression"},
    {"VQF", "ftVQF", "VQF"},
    {"PCM", "ftPCM", "Pulse Code Modulated audio"},
}}};
} // namespace

ID3FileType FileTypeFromCode(std::string_view code) {
    return kTable.FromCode(code);
}

std::string_view FileTypeName(ID3FileType type) {
    return kTable.Row(type).name;
}

std::string_view FileTypeDescription(ID3FileType type) {
    return kTable.Row(type).description;
}

} // namespace velmora::tags
