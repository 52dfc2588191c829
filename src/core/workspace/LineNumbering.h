// Number Lines: the values of the number-lines dialog, checked, and the numbering of every line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::editor {
class CustomTextEditor;
}

namespace velmora::workspace {

class LineNumbering {
public:
    // Converts the dialog's texts (decimal integers; leading blanks and a sign are allowed).
    // Raises EConvertError for a text that is not one, and for a digits text that converts but
    // cannot stand in the number format (a blank or a sign in it, or wider than a file name).
    LineNumbering(std::string_view startText, std::string_view stepText,
                  std::string_view digitsText, std::string separator);

    std::int64_t Start() const { return start_; }
    std::int64_t Step() const { return step_; }
    // The number in the dialog's format: plain below two digits, otherwise padded with zeros
    // after the sign to the digits asked for; wider numbers are written whole.
    std::string Format(std::int64_t n) const;

    // Puts "number separator" in front of every line, counting from Start by Step, as one undo
    // step that sets Modified. An empty text stays as it is; line breaks in the separator make
    // new lines.
    void Apply(editor::CustomTextEditor& editor) const;

private:
    std::int64_t start_ = 1;
    std::int64_t step_ = 1;
    int precision_ = 0; // 0: plain
    std::string separator_;
};

// The platform's integer conversion: optional blanks, an optional sign, decimal digits, and a
// value that fits 32 bits; anything else raises EConvertError "'text' is not a valid integer
// value".
std::int32_t StrToInt(std::string_view text);

} // namespace velmora::workspace
