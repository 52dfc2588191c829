// A file opened by name with an access and sharing mode, read and written by position.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::platform {

enum FileMode : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

// Linux has no mandatory sharing modes; exclusive modes take an advisory lock instead so that
// two writers inside Velmora do not interleave.
class FileStream {
public:
    FileStream(const std::string& fileName, unsigned mode);
    ~FileStream();
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    std::int64_t Position() const { return position_; }
    void SetPosition(std::int64_t pos) { position_ = pos; }
    std::int64_t Seek(std::int64_t offset, int whence); // SEEK_SET, SEEK_CUR, SEEK_END
    std::int64_t Size() const;
    void SetSize(std::int64_t size);

    // Reads up to count bytes; returns how many were read (0 at the end).
    std::int64_t Read(void* buffer, std::int64_t count);
    // Reads exactly count bytes or raises EReadError.
    void ReadBuffer(void* buffer, std::int64_t count);
    std::int64_t Write(const void* buffer, std::int64_t count);
    // Writes exactly count bytes or raises EWriteError.
    void WriteBuffer(const void* buffer, std::int64_t count);

    const std::string& FileName() const { return fileName_; }
    int Handle() const { return fd_; }

private:
    std::string fileName_;
    int fd_ = -1;
    std::int64_t position_ = 0;
};

// The system's text for an errno value.
std::string SysErrorMessage(int error);

} // namespace velmora::platform
