// qvimage: shows what a GIF, PCX, TIFF, CorelDRAW preview (or BMP, icon) file holds, and
// converts it to BMP or PNG through TAnymap.
//
//   qvimage FILE             prints format, size, bit count and palette size
//   qvimage FILE OUT.bmp     converts (OUT.png likewise)
//
// A file that does not load prints the reader's message; the exit code is then 1
// (2 for wrong usage or an output that cannot be written).
#include "imaging/allmap.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

enum { ExitOk = 0, ExitNotLoaded = 1, ExitUsage = 2 };

QString FormatName(const QString& Extension)
{
    static const QHash<QString, QString> names = {
        {"bmp", "BMP"}, {"ico", "Icon"}, {"wmf", "Windows metafile"}, {"emf", "Enhanced metafile"},
        {"gif", "GIF"}, {"tif", "TIFF"}, {"cdr", "CorelDRAW preview"}, {"pcx", "PCX"}};
    return names.value(Extension);
}

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

} // namespace

int main(int argc, char** argv)
{
    // A command-line tool: no display needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.size() > 2) {
        err << "usage: qvimage FILE [OUT.bmp|OUT.png]\n";
        return ExitUsage;
    }
    const QString file = args[0];
    if (!Allmap::TAnymap::Supported(file)) {
        err << "qvimage: " << file << ": not a supported picture file (bmp, ico, wmf, emf, gif, tif, cdr, pcx)\n";
        return ExitNotLoaded;
    }

    Allmap::TAnymap bitmap;
    try {
        bitmap.LoadFromFile(file);
    } catch (const vcl::Exception& e) {
        err << "qvimage: " << file << ": " << e.Message() << "\n";
        return ExitNotLoaded;
    }
    if (!bitmap.LastError().isEmpty() || bitmap.Empty()) {
        err << "qvimage: " << file << ": " << (bitmap.LastError().isEmpty() ? QStringLiteral("no image") : bitmap.LastError())
            << "\n";
        return ExitNotLoaded;
    }

    if (args.size() == 1) {
        out << "format: " << FormatName(QFileInfo(file).suffix().toLower()) << "\n"
            << "size: " << bitmap.Width() << " x " << bitmap.Height() << "\n"
            << "bit count: " << BitCount(bitmap.PixelFormat()) << "\n"
            << "palette size: " << bitmap.PaletteColors().size() << "\n";
        return ExitOk;
    }

    const QString output = args[1];
    const QString kind = QFileInfo(output).suffix().toLower();
    try {
        if (kind == "bmp")
            bitmap.SaveToFile(output);
        else if (kind != "png" || !bitmap.ToQImage().save(output, "PNG"))
            throw vcl::Exception(kind == "png" ? QStringLiteral("cannot write the file")
                                               : QStringLiteral("the output must be a .bmp or .png file"));
    } catch (const vcl::Exception& e) {
        err << "qvimage: " << output << ": " << e.Message() << "\n";
        return ExitUsage;
    }
    return ExitOk;
}
