// JSON output with escaping and UTF-8 repair.
#include "core/tags/id3v2/JsonWriter.h"

#include "core/platform/Utf8.h"

namespace velmora::tags {

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasItems_.empty()) {
        if (hasItems_.back()) out_ += ',';
        hasItems_.back() = true;
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    out_ += '{';
    hasItems_.push_back(false);
}

void JsonWriter::EndObject() {
    out_ += '}';
    if (!hasItems_.empty()) hasItems_.pop_back();
}

void JsonWriter::BeginArray() {
    BeforeValue();
    out_ += '[';
    hasItems_.push_back(false);
}

void JsonWriter::EndArray() {
    out_ += ']';
    if (!hasItems_.empty()) hasItems_.pop_back();
}

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    WriteQuoted(name);
    out_ += ':';
    afterKey_ = true;
}

void JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    WriteQuoted(utf8);
}

void JsonWriter::Int(std::int64_t v) {
    BeforeValue();
    out_ += std::to_string(v);
}

void JsonWriter::UInt(std::uint64_t v) {
    BeforeValue();
    out_ += std::to_string(v);
}

void JsonWriter::Bool(bool v) {
    BeforeValue();
    out_ += v ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
}

void JsonWriter::WriteQuoted(std::string_view utf8) {
    static const char kHex[] = "0123456789abcdef";
    out_ += '"';
    std::u32string chars = platform::DecodeUtf8(utf8);
    for (char32_t c : chars) {
        switch (c) {
        case '"':
            out_ += "\\\"";
            continue;
        case '\\':
            out_ += "\\\\";
            continue;
        case '\n':
            out_ += "\\n";
            continue;
        case '\r':
            out_ += "\\r";
            continue;
        case '\t':
            out_ += "\\t";
            continue;
        default:
            break;
        }
        if (c < 0x20) {
            out_ += "\\u00";
            out_ += kHex[c >> 4];
            out_ += kHex[c & 0xF];
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            // The lossless decoder's marks for invalid bytes (and stray surrogates).
            out_ += "\xEF\xBF\xBD";
        } else {
            platform::AppendUtf8(out_, c);
        }
    }
    out_ += '"';
}

} // namespace velmora::tags
