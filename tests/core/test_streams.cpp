#include "vcl/core/streams.h"

#include "support/testsupport.h"
#include "vcl/core/sysutils.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vcl;
using qvtest::WriteFile;

namespace {

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(MemoryStream, ReadWriteSeekAndGapsReadAsZeros)
{
    TMemoryStream s;
    s.WriteBuffer("hello", 5);
    EXPECT_EQ(s.Position(), 5);
    EXPECT_EQ(s.Size(), 5);
    EXPECT_EQ(s.Seek(-3, soEnd), 2);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 3);
    EXPECT_EQ(QByteArray(buf, 3), QByteArray("llo"));
    EXPECT_EQ(s.Read(buf, 8), 0);
    EXPECT_EQ(s.Seek(-100, soCurrent), 0);
    s.SetPosition(1);
    s.WriteBuffer("EL", 2);
    EXPECT_EQ(s.Bytes(), QByteArray("hELlo"));
    s.SetSize(2);
    EXPECT_EQ(s.Position(), 2);
    EXPECT_EQ(s.Bytes(), QByteArray("hE"));

    // Gaps and growth read as zeros.
    TMemoryStream gaps;
    gaps.SetPosition(4);
    gaps.WriteBuffer("x", 1);
    EXPECT_EQ(gaps.Bytes(), QByteArray("\0\0\0\0x", 5));
    gaps.SetSize(8);
    EXPECT_EQ(gaps.Bytes(), QByteArray("\0\0\0\0x\0\0\0", 8));
}

TEST(Stream, ReadBufferRaisesOnAShortRead)
{
    TMemoryStream s(QByteArray("abc"));
    char buf[4] = {};
    s.ReadBuffer(buf, 2);
    try {
        s.ReadBuffer(buf, 2);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Stream read error"));
    }
    s.ReadBuffer(buf, 0);
    // A huge count is not trusted with an allocation.
    s.SetPosition(0);
    EXPECT_EQ(s.ReadBytes(int64_t(1) << 50), QByteArray("abc"));
    EXPECT_EQ(s.ReadBytes(-1), QByteArray());
}

TEST(Stream, CopyFrom)
{
    TMemoryStream source(QByteArray("0123456789"));
    TMemoryStream target;
    source.SetPosition(7);
    // Count 0 copies the whole source from its start.
    EXPECT_EQ(target.CopyFrom(source, 0), 10);
    EXPECT_EQ(target.Bytes(), QByteArray("0123456789"));
    source.SetPosition(2);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(part.Bytes(), QByteArray("234"));
    EXPECT_THROW(part.CopyFrom(source, 100), EReadError);

    // Larger than one copy chunk.
    QByteArray big(200000, 'q');
    big[199999] = 'z';
    TMemoryStream bigSource(big);
    TMemoryStream bigTarget;
    EXPECT_EQ(bigTarget.CopyFrom(bigSource, 0), 200000);
    EXPECT_EQ(bigTarget.Bytes(), big);
}

TEST(FileStream, CreateOpenAndModesAndMemoryStreamsThroughFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("data.bin");
    {
        TFileStream out(path, fmCreate);
        out.WriteBuffer("abcdef", 6);
        out.SetSize(4);
        EXPECT_EQ(out.Position(), 4);
        EXPECT_EQ(out.Size(), 4);
    }
    EXPECT_EQ(FileBytes(path), QByteArray("abcd"));
    {
        TFileStream in(path, fmOpenRead);
        char buf[8] = {};
        EXPECT_THROW(in.ReadBuffer(buf, 5), EReadError);
        // Writing through a read-only stream fails.
        in.SetPosition(0);
        EXPECT_THROW(in.WriteBuffer("x", 1), EWriteError);
    }
    {
        TFileStream rw(path, fmOpenReadWrite);
        rw.Seek(0, soEnd);
        rw.WriteBuffer("Z", 1);
        rw.SetPosition(0);
        EXPECT_EQ(rw.ReadBytes(10), QByteArray("abcdZ"));
    }
    {
        TFileStream w(path, fmOpenWrite);
        w.WriteBuffer("AB", 2);
        char c = 0;
        EXPECT_EQ(w.Read(&c, 1), 0);
    }
    EXPECT_EQ(FileBytes(path), QByteArray("ABcdZ"));
    // fmCreate empties an existing file.
    { TFileStream again(path, fmCreate); }
    EXPECT_EQ(FileBytes(path), QByteArray());

    // Memory streams round-trip through files.
    const QString memoryPath = dir.filePath("m.bin");
    TMemoryStream out(QByteArray("\x00\x01\xff", 3));
    out.SaveToFile(memoryPath);
    TMemoryStream in;
    in.LoadFromFile(memoryPath);
    EXPECT_EQ(in.Bytes(), QByteArray("\x00\x01\xff", 3));
    EXPECT_EQ(in.Position(), 0);
    EXPECT_THROW(in.LoadFromFile(dir.filePath("none")), EFOpenError);
}

TEST(FileStream, OpenErrorsNameTheFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.bin");
    try {
        TFileStream s(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_TRUE(e.Message().startsWith("Cannot open file \"" + missing + "\"")) << e.what();
    }
    try {
        TFileStream s(dir.filePath("no/such/dir.bin"), fmCreate);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_TRUE(e.Message().startsWith("Cannot create file")) << e.what();
    }
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(FileStream, SharingModes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shared.txt");
    WriteFile(path, "keep me");
    {
        TFileStream exclusive(path, fmOpenReadWrite | fmShareExclusive);
        EXPECT_THROW(TFileStream(path, fmOpenRead | fmShareDenyWrite), EFOpenError);
        EXPECT_THROW(TFileStream(path, fmOpenRead | fmShareExclusive), EFOpenError);
        // Creating over a file held exclusively is refused and empties nothing.
        EXPECT_THROW(TFileStream(path, fmCreate), EFOpenError);
    }
    EXPECT_EQ(FileBytes(path), QByteArray("keep me"));
    {
        TFileStream reader1(path, fmOpenRead | fmShareDenyWrite);
        TFileStream reader2(path, fmOpenRead | fmShareDenyWrite);
        EXPECT_THROW(TFileStream(path, fmOpenWrite | fmShareDenyWrite), EFOpenError);
        EXPECT_THROW(TFileStream(path, fmOpenReadWrite | fmShareExclusive), EFOpenError);
        // Streams that deny nothing take no lock.
        TFileStream free(path, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(free.ReadBytes(4), QByteArray("keep"));
    }
    TFileStream afterwards(path, fmOpenReadWrite | fmShareExclusive);
    EXPECT_EQ(afterwards.Size(), 7);
}
