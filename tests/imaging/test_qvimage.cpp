// The qvimage tool: what it prints for a file, conversion to BMP and PNG, and the reader's
// message with a non-zero exit code for a file that does not load.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TRun {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

TRun RunQvimage(const QStringList& Arguments)
{
    QProcess p;
    p.start(QString::fromLocal8Bit(qgetenv("QVIMAGE")), Arguments);
    TRun run;
    if (!p.waitForFinished(60000))
        return run;
    run.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.Out = QString::fromUtf8(p.readAllStandardOutput());
    run.Err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

void Magick(const QStringList& Arguments)
{
    ASSERT_EQ(QProcess::execute("convert", Arguments), 0);
}

} // namespace

class Qvimage : public testing::Test {
protected:
    void SetUp() override
    {
        QImage image(13, 7, QImage::Format_RGB888);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x)
                image.setPixel(x, y, qRgb(x * 19, y * 36, (x * y) % 4 * 80));
        Source = Dir.filePath("source.png");
        ASSERT_TRUE(image.save(Source));
        Reference = image;
    }
    QTemporaryDir Dir;
    QString Source;
    QImage Reference;
};

TEST_F(Qvimage, PrintsWhatTheFileHolds)
{
    Magick({Source, "-colors", "16", Dir.filePath("a.gif")});
    TRun run = RunQvimage({Dir.filePath("a.gif")});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out.toStdString(), "format: GIF\nsize: 13 x 7\nbit count: 8\npalette size: 256\n");

    Magick({Source, "-compress", "LZW", Dir.filePath("b.tif")});
    run = RunQvimage({Dir.filePath("b.tif")});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out.toStdString(), "format: TIFF\nsize: 13 x 7\nbit count: 24\npalette size: 0\n");
}

TEST_F(Qvimage, ConvertsToBmpAndPng)
{
    Magick({Source, "-compress", "RLE", Dir.filePath("c.tif")});
    for (const char* output : {"out.bmp", "out.png"}) {
        const TRun run = RunQvimage({Dir.filePath("c.tif"), Dir.filePath(output)});
        EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
        const QImage written(Dir.filePath(output));
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB888), Reference) << output;
    }
}

TEST_F(Qvimage, FilesThatDoNotLoad)
{
    QFile bad(Dir.filePath("bad.pcx"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\x0B not a pcx file, but long enough to hold a whole header" + QByteArray(100, ' '));
    bad.close();
    TRun run = RunQvimage({bad.fileName()});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.contains("Not a PCX file")) << run.Err.toStdString();

    QFile badTiff(Dir.filePath("bad.tif"));
    ASSERT_TRUE(badTiff.open(QIODevice::WriteOnly));
    badTiff.write("II*\0\x08\0\0\0\0\0", 10);
    badTiff.close();
    run = RunQvimage({badTiff.fileName()});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.contains("Bad data")) << run.Err.toStdString();

    run = RunQvimage({Dir.filePath("missing.gif")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_FALSE(run.Err.isEmpty());

    run = RunQvimage({Dir.filePath("photo.jpg")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(RunQvimage({}).ExitCode, 2);
}
