// Fuzzes the number-lines dialog's conversions and the numbering: start, step, digits and
// separator are the input split at NUL bytes.
#include "core/workspace/LineNumbering.h"

#include "core/editor/CustomTextEditor.h"
#include "core/platform/Error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> fields(4);
    std::size_t field = 0;
    for (std::size_t i = 0; i < size && field < fields.size(); ++i) {
        if (data[i] == 0)
            ++field;
        else
            fields[field] += static_cast<char>(data[i]);
    }
    try {
        const velmora::workspace::LineNumbering numbering(fields[0], fields[1], fields[2],
                                                          fields[3]);
        // A converted text is an optional run of blanks, a sign and digits only.
        const std::string& start = fields[0];
        const std::size_t first = start.find_first_not_of(" \t");
        if (first == std::string::npos ||
            start.find_first_not_of("0123456789",
                                    first + (start[first] == '+' || start[first] == '-')) !=
                std::string::npos)
            std::abort();
        // The number is written whole, after its sign, and never wider than asked plus the sign.
        const std::string text = numbering.Format(numbering.Start());
        if (std::stoll(text) != numbering.Start()) std::abort();
        if (text.size() > 256) std::abort();

        velmora::editor::CustomTextEditor ed;
        ed.SetWordWrap(false);
        ed.Lines().SetTextStr("a\r\nb\r\n");
        numbering.Apply(ed);
        if (ed.Lines().Count() < 2 || !ed.Modified()) std::abort();
        ed.Undo();
        if (ed.Lines().GetTextStr() != "a\r\nb\r\n") std::abort();
    } catch (const velmora::platform::EConvertError&) {
    }
    return 0;
}
