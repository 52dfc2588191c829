// File streams on POSIX descriptors.
#include "core/platform/FileStream.h"

#include "core/platform/Error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {

std::string SysErrorMessage(int error) {
    char buf[256];
    // GNU strerror_r may return a static string instead of filling buf.
    const char* s = strerror_r(error, buf, sizeof buf);
    return s;
}

FileStream::FileStream(const std::string& fileName, unsigned mode) : fileName_(fileName) {
    int flags = O_CLOEXEC;
    if (mode == fmCreate) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (mode & 0x3) {
        case fmOpenWrite:
            flags |= O_WRONLY;
            break;
        case fmOpenReadWrite:
            flags |= O_RDWR;
            break;
        default:
            flags |= O_RDONLY;
            break;
        }
    }
    fd_ = ::open(fileName.c_str(), flags, 0666);
    if (fd_ < 0) {
        int err = errno;
        if (mode == fmCreate)
            throw EFOpenError(
                Format("Cannot create file \"%s\". %s", {fileName, SysErrorMessage(err)}));
        throw EFOpenError(Format("Cannot open file \"%s\". %s", {fileName, SysErrorMessage(err)}));
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw EFOpenError(
            Format("Cannot open file \"%s\". %s", {fileName, SysErrorMessage(EISDIR)}));
    }
    if (mode != fmCreate && (mode & fmShareExclusive) && (mode & 0x3) != fmOpenRead) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            int err = errno;
            ::close(fd_);
            fd_ = -1;
            throw EFOpenError(
                Format("Cannot open file \"%s\". %s", {fileName, SysErrorMessage(err)}));
        }
    }
}

FileStream::~FileStream() {
    if (fd_ >= 0) ::close(fd_);
}

std::int64_t FileStream::Size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return 0;
    return st.st_size;
}

std::int64_t FileStream::Seek(std::int64_t offset, int whence) {
    switch (whence) {
    case SEEK_CUR:
        position_ += offset;
        break;
    case SEEK_END:
        position_ = Size() + offset;
        break;
    default:
        position_ = offset;
        break;
    }
    if (position_ < 0) position_ = 0;
    return position_;
}

void FileStream::SetSize(std::int64_t size) {
    if (::ftruncate(fd_, size) != 0)
        throw EWriteError(
            Format("Cannot set the size of \"%s\". %s", {fileName_, SysErrorMessage(errno)}));
    if (position_ > size) position_ = size;
}

std::int64_t FileStream::Read(void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    auto* p = static_cast<char*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        ssize_t n = ::pread(fd_, p + done, static_cast<size_t>(count - done), position_ + done);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (n == 0) break;
        done += n;
    }
    position_ += done;
    return done;
}

void FileStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

std::int64_t FileStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    const auto* p = static_cast<const char*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        ssize_t n = ::pwrite(fd_, p + done, static_cast<size_t>(count - done), position_ + done);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (n == 0) break;
        done += n;
    }
    position_ += done;
    return done;
}

void FileStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

} // namespace velmora::platform
