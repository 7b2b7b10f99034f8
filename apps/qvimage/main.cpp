// qvimage: tells what GIF, PCX, TIFF, CorelDRAW preview (and BMP, icon, metafile) files
// hold, and converts them to BMP or PNG, through TAnymap.
//
//   qvimage FILE...                    one line per file: format, size, bit count
//   qvimage --to png FILE... -o DIR    converts each file into DIR
//
// A file that does not load gets the reader's message; the exit code is then 1.
#include "commandline.h"
#include "pictureconverter.h"
#include "pictureloader.h"
#include "progressline.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <optional>

namespace {

const char* const Notes =
    "The reader is chosen by the file's first bytes when they are those of a GIF, TIFF,\n"
    "PCX, BMP or CorelDRAW file, and by the extension otherwise (.tif or .tiff). A file\n"
    "that does not load gets the reader's message, and the exit code is then 1.\n";

int BitCount(vcl::TPixelFormat Format)
{
    switch (Format) {
    case vcl::pf1bit: return 1;
    case vcl::pf4bit: return 4;
    case vcl::pf8bit: return 8;
    case vcl::pf15bit: return 15;
    case vcl::pf16bit: return 16;
    case vcl::pf24bit: return 24;
    default: return 32;
    }
}

QJsonObject Describe(const QString& FileName, const qvimage::TLoadedPicture& Picture)
{
    const Allmap::TAnymap& bitmap = *Picture.Bitmap;
    return {{"file", FileName},
            {"format", Picture.Type.Name},
            {"width", bitmap.Width()},
            {"height", bitmap.Height()},
            {"bitCount", BitCount(bitmap.PixelFormat())},
            {"paletteSize", static_cast<qint64>(bitmap.PaletteColors().size())}};
}

// "scan.tif: TIFF, 640 x 480, 24 bit, palette 0 -> out/scan.png"
QString TextLine(const QJsonObject& Result)
{
    QString line = QStringLiteral("%1: %2, %3 x %4, %5 bit, palette %6")
                       .arg(Result["file"].toString(), Result["format"].toString())
                       .arg(Result["width"].toInt())
                       .arg(Result["height"].toInt())
                       .arg(Result["bitCount"].toInt())
                       .arg(Result["paletteSize"].toInt());
    if (Result.contains("output"))
        line += QStringLiteral(" -> ") + Result["output"].toString();
    return line;
}

void WriteLine(std::FILE* Stream, const QString& Text)
{
    std::fprintf(Stream, "%s\n", Text.toLocal8Bit().constData());
    std::fflush(Stream);
}

// Qt's notes about the session (such as an unset XDG_RUNTIME_DIR) would mix with the
// results on standard error; only its errors are worth a user's reading here.
void ReportQtErrorsOnly(QtMsgType Type, const QMessageLogContext&, const QString& Message)
{
    if (Type == QtCriticalMsg || Type == QtFatalMsg)
        WriteLine(stderr, QStringLiteral("qvimage: ") + Message);
}

class TRun {
public:
    TRun(bool Json, std::optional<qvimage::TPictureConverter> Converter)
        : FJson(Json),
          FConverter(std::move(Converter))
    {
    }

    // Loads (and converts) every file, printing each result as it comes, or all of them
    // as one JSON array at the end.
    int Files(const QStringList& FileNames)
    {
        qvimage::TProgressLine progress(FileNames.size());
        for (qsizetype i = 0; i < FileNames.size(); ++i) {
            progress.Show(i, FileNames[i]);
            const QJsonObject result = File(FileNames[i]);
            progress.Clear();
            Report(result);
        }
        if (FJson)
            std::fputs(QJsonDocument(FResults).toJson().constData(), stdout);
        return FFailed ? cli::ExitFailed : cli::ExitOk;
    }

private:
    QJsonObject File(const QString& FileName)
    {
        const qvimage::TLoadedPicture picture = qvimage::LoadPicture(FileName);
        if (!picture.Bitmap)
            return {{"file", FileName}, {"error", picture.Error}};
        QJsonObject result = Describe(FileName, picture);
        if (FConverter) {
            if (const QString error = FConverter->Convert(FileName, *picture.Bitmap); !error.isEmpty())
                return {{"file", FileName}, {"error", error}};
            result["output"] = FConverter->Output(FileName);
        }
        return result;
    }

    void Report(const QJsonObject& Result)
    {
        const bool failed = Result.contains("error");
        FFailed = FFailed || failed;
        if (FJson)
            FResults.append(Result);
        else if (failed)
            WriteLine(stderr, QStringLiteral("qvimage: %1: %2").arg(Result["file"].toString(), Result["error"].toString()));
        else
            WriteLine(stdout, TextLine(Result));
    }

    bool FJson;
    std::optional<qvimage::TPictureConverter> FConverter;
    QJsonArray FResults;
    bool FFailed = false;
};

} // namespace

int main(int argc, char** argv)
{
    cli::TCommandLine commandLine(QStringLiteral("qvimage"), QStringLiteral("[--json] [--to bmp|png [-o DIR]] FILE..."),
                                  QStringLiteral("Tells what picture files hold, and converts them."),
                                  QString::fromLatin1(Notes));
    const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("Convert each file to FORMAT (bmp or png)."),
                                QStringLiteral("FORMAT"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the converted files into DIR (default: the current folder)."),
                                    QStringLiteral("DIR"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print the results as one JSON array."));
    for (const QCommandLineOption& option : {to, output, json})
        commandLine.AddOption(option);
    if (const auto done = commandLine.Parse(cli::Arguments(argc, argv)))
        return *done;

    const QStringList files = commandLine.Positional();
    if (files.isEmpty())
        return commandLine.UsageError(QStringLiteral("no FILE given"));
    std::optional<qvimage::TPictureConverter> converter;
    if (commandLine.IsSet(to)) {
        const QString kind = commandLine.Value(to).toLower();
        const QString folder = commandLine.IsSet(output) ? commandLine.Value(output) : QDir::currentPath();
        if (!qvimage::TPictureConverter::KnownKind(kind))
            return commandLine.UsageError(QStringLiteral("--to takes bmp or png, not \"%1\"").arg(commandLine.Value(to)));
        if (!QFileInfo(folder).isDir())
            return commandLine.UsageError(QStringLiteral("the output folder %1 does not exist").arg(folder));
        converter.emplace(kind, folder);
    } else if (commandLine.IsSet(output)) {
        return commandLine.UsageError(QStringLiteral("-o needs --to"));
    }

    // A command-line tool: it draws into memory and needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(ReportQtErrorsOnly);
    QGuiApplication app(argc, argv);
    return TRun(commandLine.IsSet(json), std::move(converter)).Files(files);
}
