// Fuzzes the name order and the one-line form of names with any bytes: the order must be total
// and agree with the pairwise comparison, and a name must come back whole from its line.
#include "core/fs/NameCollator.h"
#include "core/fs/NaturalOrder.h"
#include "core/workspace/NameLine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using velmora::fs::NaturalOrder;
    using velmora::workspace::NameLine;
    static const velmora::fs::NameCollator root("C"), swedish("sv_SE");
    // Names are separated by "/", which no name holds.
    std::vector<std::string> names(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '/')
            names.emplace_back();
        else
            names.back() += static_cast<char>(data[i]);
    }
    for (const auto* collator : {&root, &swedish}) {
        std::vector<std::string> sorted = names;
        NaturalOrder::Sort(sorted, *collator);
        for (std::size_t i = 1; i < sorted.size(); ++i)
            if (NaturalOrder::Less(sorted[i], sorted[i - 1], *collator)) std::abort();
        std::vector<std::string> again = sorted;
        std::reverse(again.begin(), again.end());
        NaturalOrder::Sort(again, *collator);
        if (again != sorted) std::abort();
    }
    for (const std::string& n : names) {
        // A name that holds a picture itself is kept by leaving its line untouched instead.
        if (n.find("\xE2\x90") != std::string::npos) continue;
        if (NameLine::FileName(NameLine::OneLine(n)) != n) std::abort();
        if (NameLine::OneLine(n).find_first_of("\t\r\n") != std::string::npos) std::abort();
    }
    return 0;
}
