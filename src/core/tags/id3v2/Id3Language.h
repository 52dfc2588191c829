// Language names for the three-letter codes of TLAN frames.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace velmora::tags {

struct LanguageRow {
    std::string_view Code;
    std::string_view Name;
};

// Every code with its English name, in code order (424 rows: bibliographic and terminology
// codes both, where they differ).
std::span<const LanguageRow> LanguageTable();

// The English name of a code, looked up case-insensitively; empty for an unknown code.
std::string LanguageName(std::string_view code);

} // namespace velmora::tags
