// A name format such as "%track:2% - %artist% - %title%": fields of a track's tags between
// percent signs, optionally with a width for numbers, and literal text around them.
#pragma once

#include "core/tagnames/TrackTags.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::tagnames {

class NameFormat {
public:
    enum class Field {
        Artist,
        AlbumArtist,
        Album,
        Title,
        Track,
        TrackTotal,
        Disc,
        DiscTotal,
        Year,
        Genre,
        Composer,
        Comment,
        FileName,
    };
    // What a name gets when one of its fields is empty in a file's tags.
    enum class Missing { KeepOldName, LeaveEmpty };

    static constexpr int kMaxWidth = 9;

    // Parses text; never raises. "%%" is a percent sign. A field name is matched ignoring case;
    // a width is 1 to kMaxWidth digits after a colon. On a mistake Error() says what and where.
    static NameFormat Parse(std::string_view text);

    const std::string& Error() const { return error_; }
    bool Valid() const { return error_.empty(); }

    // The name for a file whose old name without extension is oldStem. Numbers (all digits) are
    // padded with zeros to the field's width. Empty when the format is invalid; nothing when a
    // field is empty and missing says to keep the old name.
    std::optional<std::string> Expand(const TrackTags& tags, std::string_view oldStem,
                                      Missing missing) const;

    // The field names in the order the dialog lists them, without percent signs.
    static const std::vector<std::string_view>& FieldNames();

private:
    struct Piece {
        std::string literal; // used when !isField
        bool isField = false;
        Field field = Field::Artist;
        int width = 0;
    };
    std::vector<Piece> pieces_;
    std::string error_;
};

} // namespace velmora::tagnames
