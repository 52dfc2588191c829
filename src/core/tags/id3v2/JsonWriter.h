// A small streaming JSON writer for the inspection tools' output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::tags {

// Builds one JSON text without white space. Commas are placed automatically; strings are
// taken as UTF-8 and bytes that are not valid UTF-8 are written as U+FFFD, so the output is
// always valid UTF-8 JSON.
class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The member name of the next value inside an object.
    void Key(std::string_view name);

    void String(std::string_view utf8);
    void Int(std::int64_t v);
    void UInt(std::uint64_t v);
    void Bool(bool v);
    void Null();

    const std::string& Text() const { return out_; }

private:
    void BeforeValue();
    void WriteQuoted(std::string_view utf8);

    std::string out_;
    std::vector<bool> hasItems_; // one entry per open object or array
    bool afterKey_ = false;
};

} // namespace velmora::tags
