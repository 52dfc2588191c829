// File streams on real files: open and sharing modes, short reads and writes, positions.
#include "core/platform/FileStream.h"

#include "core/platform/Error.h"
#include "support/TempDir.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>

using namespace velmora::platform;
using velmora::test::TempDir;

namespace {

std::string ReadAll(FileStream& f) {
    std::string s(static_cast<size_t>(f.Size()), '\0');
    f.SetPosition(0);
    f.ReadBuffer(s.data(), static_cast<std::int64_t>(s.size()));
    return s;
}

// Lowers the file-size limit for the test's duration; writes beyond it come back short
// (EFBIG) instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

} // namespace

TEST(FileStream, OpenModesCreateTruncateAndRefuseWhatTheyMust) {
    TempDir dir;
    dir.Write("a", "old content");
    {
        FileStream f(dir / "a", fmCreate); // truncates an existing file
        EXPECT_EQ(f.Size(), 0);
        f.WriteBuffer("new", 3);
    }
    EXPECT_EQ(dir.Read("a"), "new");
    {
        FileStream f(dir / "a", fmOpenRead);
        char c = 0;
        EXPECT_EQ(f.Write(&c, 1), 0); // read-only descriptor writes nothing
        EXPECT_THROW(f.WriteBuffer(&c, 1), EWriteError);
    }
    EXPECT_EQ(dir.Read("a"), "new");
    {
        FileStream f(dir / "a", fmOpenWrite); // open for writing keeps the content
        EXPECT_EQ(f.Size(), 3);
        char c = 0;
        EXPECT_EQ(f.Read(&c, 1), 0);
        f.WriteBuffer("N", 1);
    }
    EXPECT_EQ(dir.Read("a"), "New");

    EXPECT_THROW(FileStream(dir / "missing", fmOpenRead), EFOpenError);
    EXPECT_FALSE(dir.Exists("missing"));
    EXPECT_THROW(FileStream(dir.Path(), fmOpenRead), EFOpenError); // a directory
    EXPECT_THROW(FileStream(dir / "no/such/dir", fmCreate), EFOpenError);
    try {
        FileStream f(dir / "missing", fmOpenReadWrite);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find(dir / "missing"), std::string::npos) << e.what();
    }
}

TEST(FileStream, ExclusiveWritersLockEachOtherOutButNotReaders) {
    TempDir dir;
    dir.Write("tag.mp3", "0123456789");
    {
        FileStream writer(dir / "tag.mp3", fmOpenReadWrite | fmShareExclusive);
        EXPECT_THROW(FileStream(dir / "tag.mp3", fmOpenReadWrite | fmShareExclusive), EFOpenError);
        EXPECT_THROW(FileStream(dir / "tag.mp3", fmOpenWrite | fmShareExclusive), EFOpenError);
        // Readers and writers that share take no lock and still open.
        FileStream reader(dir / "tag.mp3", fmOpenRead | fmShareExclusive);
        FileStream sharing(dir / "tag.mp3", fmOpenReadWrite | fmShareDenyNone);
        EXPECT_EQ(ReadAll(reader), "0123456789");
        sharing.WriteBuffer("ab", 2);
        EXPECT_EQ(ReadAll(reader), "ab23456789");
    }
    // Closing the first writer releases its lock.
    FileStream again(dir / "tag.mp3", fmOpenReadWrite | fmShareExclusive);
    FileStream deny(dir / "tag.mp3", fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(ReadAll(deny), "ab23456789");
}

TEST(FileStream, ShortReadsStopAtTheEndAndReadBufferRaises) {
    TempDir dir;
    dir.Write("f", "abcde");
    FileStream f(dir / "f", fmOpenRead);
    char buf[16] = {};
    f.SetPosition(3);
    EXPECT_EQ(f.Read(buf, sizeof buf), 2);
    EXPECT_EQ(std::string(buf, 2), "de");
    EXPECT_EQ(f.Position(), 5);
    EXPECT_EQ(f.Read(buf, sizeof buf), 0);
    EXPECT_EQ(f.Read(buf, -1), 0);
    EXPECT_EQ(f.Position(), 5);

    f.SetPosition(1);
    EXPECT_THROW(f.ReadBuffer(buf, 10), EReadError);
    f.SetPosition(1);
    EXPECT_NO_THROW(f.ReadBuffer(buf, 4));
    EXPECT_EQ(std::string(buf, 4), "bcde");
    EXPECT_NO_THROW(f.ReadBuffer(buf, 0)); // nothing asked, nothing to fail at the end
}

TEST(FileStream, ShortWritesReportWhatWasWrittenAndWriteBufferRaises) {
    TempDir dir;
    FileStream f(dir / "f", fmCreate);
    const std::string data(100, 'x');
    {
        FileSizeLimit limit(64);
        EXPECT_EQ(f.Write(data.data(), 100), 64);
        EXPECT_EQ(f.Position(), 64);
        EXPECT_EQ(f.Write(data.data(), 1), 0);
        EXPECT_THROW(f.WriteBuffer(data.data(), 1), EWriteError);
    }
    EXPECT_EQ(f.Size(), 64);
    EXPECT_EQ(f.Write(data.data(), 0), 0);
    EXPECT_EQ(f.Write(data.data(), 36), 36);
    EXPECT_EQ(f.Size(), 100);
}

TEST(FileStream, SeeksPastTheEndReadNothingAndWritesLeaveAZeroFilledGap) {
    TempDir dir;
    dir.Write("f", "abc");
    FileStream f(dir / "f", fmOpenReadWrite);
    EXPECT_EQ(f.Seek(2, SEEK_END), 5);
    char c = 0;
    EXPECT_EQ(f.Read(&c, 1), 0);
    EXPECT_EQ(f.Size(), 3); // seeking alone does not grow the file
    f.WriteBuffer("Z", 1);
    EXPECT_EQ(f.Position(), 6);
    EXPECT_EQ(ReadAll(f), std::string("abc\0\0Z", 6));

    EXPECT_EQ(f.Seek(-2, SEEK_CUR), 4);
    EXPECT_EQ(f.Seek(1, SEEK_SET), 1);
    EXPECT_EQ(f.Seek(-10, SEEK_CUR), 0); // clamped at the start
    EXPECT_EQ(f.Seek(-100, SEEK_END), 0);

    f.SetPosition(6);
    f.SetSize(2); // a shrink pulls the position back inside the file
    EXPECT_EQ(f.Position(), 2);
    EXPECT_EQ(f.Size(), 2);
    f.SetSize(4); // and a growth zero-fills without moving it
    EXPECT_EQ(f.Position(), 2);
    EXPECT_EQ(ReadAll(f), std::string("ab\0\0", 4));
}

TEST(FileStream, NamesAreBytes) {
    TempDir dir;
    const std::string name = std::string("caf\xe9 \xff\x01.mp3"); // not UTF-8
    {
        FileStream f(dir / name, fmCreate);
        f.WriteBuffer("x", 1);
        EXPECT_EQ(f.FileName(), dir / name);
    }
    EXPECT_TRUE(dir.Exists(name));
    EXPECT_EQ(dir.Read(name), "x");
}
