// Fuzz target: any bytes as a whole file, read, rewritten and removed as an ID3v1 trailer.
#include "core/tags/id3v1/Id3v1.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

using velmora::tags::Id3v1;

namespace {

// One in-memory file for the whole run, refilled for every input.
int File() {
    static int fd = memfd_create("id3v1-fuzz", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    return fd;
}

std::int64_t SizeOf(int fd) {
    struct stat st {};
    fstat(fd, &st);
    return st.st_size;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = File();
    Check(ftruncate(fd, 0) == 0);
    Check(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    const auto length = static_cast<std::int64_t>(size);

    Id3v1 tag;
    Check(tag.ReadTag(path));
    const bool present = size >= 128 && std::memcmp(data + size - 128, "TAG", 3) == 0;
    Check(tag.TagPresent(path) == present);

    // Writing back what was read and reading again gives the same values.
    const Id3v1 before = tag;
    Check(tag.WriteTag(path, before.SongName(), before.Artist(), before.Album(), before.Year(),
                       before.Comment(), before.Genre()));
    Check(SizeOf(fd) == (present ? length : length + 128));
    Check(tag.ReadTag(path));
    Check(tag.SongName() == before.SongName() && tag.Artist() == before.Artist() &&
          tag.Album() == before.Album() && tag.Year() == before.Year() &&
          tag.Comment() == before.Comment() && tag.Genre() == before.Genre());

    // Removing takes off exactly that trailer; the bytes before it are untouched.
    tag.RemoveTag(path);
    const std::int64_t rest = present ? length - 128 : length;
    Check(SizeOf(fd) == rest);
    std::string content(static_cast<std::size_t>(rest), '\0');
    Check(pread(fd, content.data(), content.size(), 0) == static_cast<ssize_t>(content.size()));
    Check(std::memcmp(content.data(), data, content.size()) == 0);
    return 0;
}
