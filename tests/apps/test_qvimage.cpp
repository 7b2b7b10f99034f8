// The qvimage program: one line per file over a folder of good and bad files, JSON for
// scripts, conversion into a folder, and the files it must never replace. Pictures are
// made with ImageMagick's convert, an independent writer.
#include "programs.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using qvtest::TProgramRun;

namespace {

TProgramRun RunQvimage(const QStringList& Arguments)
{
    return qvtest::RunProgram(qvprograms::Qvimage, Arguments);
}

QStringList Lines(const QString& Text)
{
    return Text.split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class Qvimage : public testing::Test {
protected:
    void SetUp() override
    {
        Reference = QImage(13, 7, QImage::Format_RGB888);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x)
                Reference.setPixel(x, y, qRgb(x * 19, y * 36, (x * y) % 4 * 80));
        ASSERT_TRUE(Reference.save(Source.filePath("source.png")));
    }

    // Writes the source picture as Name in the picture folder through convert.
    QString Magick(const QString& Name, const QStringList& Options = {})
    {
        const QString file = Path(Name);
        EXPECT_EQ(QProcess::execute("convert", QStringList{Source.filePath("source.png")} + Options + QStringList{file}), 0);
        return file;
    }

    QString Write(const QString& Name, const QByteArray& Bytes)
    {
        QFile file(Path(Name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Bytes);
        return file.fileName();
    }

    QString Path(const QString& Name) const { return Pictures.filePath(Name); }

    QTemporaryDir Source;
    QTemporaryDir Pictures;
    QImage Reference;
};

TEST_F(Qvimage, OneLinePerFileOverAFolderOfGoodAndBadFiles)
{
    Magick("a.gif", {"-colors", "16"});
    Magick("b.tiff", {"-compress", "LZW"});
    // Content decides over a wrong or unknown extension.
    QFile::copy(Path("a.gif"), Path("c.pcx"));
    QFile::copy(Path("b.tiff"), Path("d.scan"));
    Write("e.pcx", "\x0B not a pcx file, but long enough to hold a whole header" + QByteArray(100, ' '));
    Write("f.tif", QByteArray("II*\0\x08\0\0\0\0\0", 10));
    Write("g.txt", "plain text");
    Write("h.gif", "");
    QStringList files;
    for (const QString& name : QDir(Pictures.path()).entryList(QDir::Files, QDir::Name))
        files << Path(name);
    ASSERT_EQ(files.size(), 8);

    const TProgramRun run = RunQvimage(files + QStringList{Path("missing.gif")});
    EXPECT_EQ(run.ExitCode, 1);
    const QString gif = QStringLiteral(": GIF, 13 x 7, 8 bit, palette 256");
    const QString tiff = QStringLiteral(": TIFF, 13 x 7, 24 bit, palette 0");
    EXPECT_EQ(Lines(run.Out), (QStringList{files[0] + gif, files[1] + tiff, files[2] + gif, files[3] + tiff}));
    const QStringList errors = Lines(run.Err);
    ASSERT_EQ(errors.size(), 5) << run.Err.toStdString();
    const QStringList expected{"e.pcx: Not a PCX file", "f.tif: Bad data", "g.txt: not a picture file QvKit reads",
                               "h.gif: ", "missing.gif: No such file"};
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(errors[i].startsWith("qvimage: " + Path(expected[i]))) << errors[i].toStdString();
}

TEST_F(Qvimage, JsonForScripts)
{
    const QString gif = Magick("a.gif", {"-colors", "16"});
    const QString bad = Write("bad.pcx", QByteArray(200, '\x0B'));
    const TProgramRun run = RunQvimage({"--json", gif, bad});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, QString());
    const QJsonArray results = QJsonDocument::fromJson(run.Out.toUtf8()).array();
    ASSERT_EQ(results.size(), 2) << run.Out.toStdString();
    EXPECT_EQ(results[0].toObject(), (QJsonObject{{"file", gif}, {"format", "GIF"}, {"width", 13}, {"height", 7},
                                                  {"bitCount", 8}, {"paletteSize", 256}}));
    EXPECT_EQ(results[1].toObject()["file"].toString(), bad);
    EXPECT_TRUE(results[1].toObject()["error"].toString().contains("Not a PCX file"));
}

TEST_F(Qvimage, ConvertsEachFileIntoTheFolder)
{
    const QString tiff = Magick("c.tif", {"-compress", "RLE"});
    // Qt's BMP writer stands in for another program here.
    const QString bmp = Path("d.bmp");
    ASSERT_TRUE(Reference.save(bmp));
    QTemporaryDir out;
    for (const char* kind : {"png", "bmp"}) {
        const TProgramRun run = RunQvimage({"--to", kind, tiff, bmp, "-o", out.path()});
        EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
        EXPECT_TRUE(Lines(run.Out).value(0).endsWith(QStringLiteral(" -> %1/c.%2").arg(out.path(), kind)));
        for (const char* name : {"c", "d"}) {
            const QImage written(QStringLiteral("%1/%2.%3").arg(out.path(), name, kind));
            EXPECT_EQ(written.convertToFormat(QImage::Format_RGB888), Reference) << name << "." << kind;
        }
    }
}

TEST_F(Qvimage, NeverReplacesAnInputOrAnEarlierOutput)
{
    const QString gif = Magick("a.gif", {"-colors", "16"});
    const QString tiff = Magick("a.tif", {"-compress", "LZW"});
    const QString bmp = Path("b.bmp");
    ASSERT_TRUE(Reference.save(bmp));
    QFile input(bmp);
    ASSERT_TRUE(input.open(QIODevice::ReadOnly));
    const QByteArray before = input.readAll();

    QTemporaryDir out;
    const TProgramRun run = RunQvimage({"--to", "png", "-o", out.path(), gif, tiff});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, QStringLiteral("qvimage: %1: %2/a.png was written for %3 already; not replaced\n")
                           .arg(tiff, out.path(), gif));
    QTemporaryDir gifOnly;
    ASSERT_EQ(RunQvimage({"--to", "png", "-o", gifOnly.path(), gif}).ExitCode, 0);
    EXPECT_EQ(QImage(out.filePath("a.png")), QImage(gifOnly.filePath("a.png")));

    const TProgramRun same = RunQvimage({"--to", "bmp", "-o", Pictures.path(), bmp});
    EXPECT_EQ(same.ExitCode, 1);
    EXPECT_TRUE(same.Err.contains("is the input itself")) << same.Err.toStdString();
    input.seek(0);
    EXPECT_EQ(input.readAll(), before);
}

TEST_F(Qvimage, UsageErrorsExit2)
{
    const QString gif = Magick("a.gif");
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{}, "qvimage: no FILE given\n"},
        {{"--to", "jpg", gif}, "qvimage: --to takes bmp or png, not \"jpg\"\n"},
        {{"-o", Pictures.path(), gif}, "qvimage: -o needs --to\n"},
        {{"--to", "png", "-o", Path("none"), gif}, QStringLiteral("qvimage: the output folder %1 does not exist\n").arg(Path("none"))},
    };
    for (const auto& [arguments, message] : cases) {
        const TProgramRun run = RunQvimage(arguments);
        EXPECT_EQ(run.ExitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.Err.startsWith(message + "Usage: qvimage")) << run.Err.toStdString();
    }
}
