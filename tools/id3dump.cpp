// id3dump: prints the ID3v1 and ID3v2 tags of each file as one JSON object per line.
#include "core/platform/Error.h"
#include "core/platform/FileStream.h"
#include "core/tags/id3v1/Id3v1.h"
#include "core/tags/id3v2/Id3v2.h"
#include "core/tags/id3v2/Id3v2Json.h"
#include "core/tags/id3v2/JsonWriter.h"
#include "core/tags/picture/JpegImage.h"

#include <cstdio>
#include <exception>
#include <string>
#include <sys/stat.h>

using namespace velmora;
using tags::JsonWriter;

namespace {

void WriteV1(JsonWriter& w, const std::string& fileName) {
    tags::Id3v1 v1;
    if (!v1.TagPresent(fileName) || !v1.ReadTag(fileName)) {
        w.Null();
        return;
    }
    w.BeginObject();
    w.Key("title");
    w.String(v1.SongName());
    w.Key("artist");
    w.String(v1.Artist());
    w.Key("album");
    w.String(v1.Album());
    w.Key("year");
    w.String(v1.Year());
    w.Key("comment");
    w.String(v1.Comment());
    w.Key("genre");
    w.UInt(static_cast<std::uint8_t>(v1.Genre()));
    w.EndObject();
}

// One line for one file; false when the file could not be read.
bool Dump(const std::string& fileName) {
    JsonWriter w;
    w.BeginObject();
    w.Key("file");
    w.String(fileName);
    std::string error;
    try {
        struct stat st {};
        // Pipes and devices would block or never end.
        if (::stat(fileName.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            throw platform::EFOpenError(platform::Format(
                "Cannot open file \"%s\". %s", {fileName, std::string("Not a regular file")}));
        platform::FileStream stream(fileName, platform::fmOpenRead | platform::fmShareDenyWrite);
        tags::Id3v2 v2;
        v2.LoadFromStream(stream);
        w.Key("v1");
        WriteV1(w, fileName);
        w.Key("v2");
        tags::Id3v2Json::Write(w, v2);
    } catch (const std::exception& e) {
        error = e.what();
    }
    if (!error.empty()) {
        // Start the line again: nothing of a half-written object may remain.
        w = JsonWriter();
        w.BeginObject();
        w.Key("file");
        w.String(fileName);
        w.Key("v1");
        w.Null();
        w.Key("v2");
        w.Null();
        w.Key("error");
        w.String(error);
    }
    w.EndObject();
    std::string line = w.Text() + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    return error.empty();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: id3dump FILE...\n");
        return 2;
    }
    tags::RegisterJpegImage();
    bool ok = true;
    for (int i = 1; i < argc; ++i)
        ok = Dump(argv[i]) && ok;
    std::fflush(stdout);
    return ok ? 0 : 1;
}
