// Decoding speed of the GIF and TIFF readers against Qt's QImageReader, giflib and
// libtiff, on the same files (made with ImageMagick at start-up). Throughput counts the
// decoded pixel bytes of the image (1 a pixel for GIF, 3 for 24-bit TIFF), the same for
// every decoder of a file.
#include "imaging/gifmap.h"
#include "imaging/tifmap.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <tiffio.h>

#include <cstring>
#include <map>
#include <stdexcept>

namespace {

constexpr int ImageWidth = 1024;
constexpr int ImageHeight = 768;

// The benchmark files by name: gif, tif_raw, tif_lzw, tif_packbits.
std::map<std::string, QByteArray>& Files()
{
    static std::map<std::string, QByteArray> files;
    return files;
}

void MakeFiles()
{
    QTemporaryDir dir;
    QImage image(ImageWidth, ImageHeight, QImage::Format_RGB888);
    QRandomGenerator random(7);
    for (int y = 0; y < ImageHeight; ++y)
        for (int x = 0; x < ImageWidth; ++x)
            image.setPixel(x, y, random.bounded(10) < 3 ? random.generate() : qRgb(x / 4, y / 3, (x + y) & 255));
    const QString source = dir.filePath("source.png");
    image.save(source);
    const std::pair<const char*, QStringList> outputs[] = {
        {"gif", {"-colors", "256", "bench.gif"}},
        {"tif_raw", {"-compress", "None", "bench_raw.tif"}},
        {"tif_lzw", {"-compress", "LZW", "-define", "tiff:predictor=1", "bench_lzw.tif"}},
        {"tif_packbits", {"-compress", "RLE", "bench_packbits.tif"}},
    };
    for (const auto& [name, args] : outputs) {
        QStringList arguments{source};
        arguments += args;
        arguments.last() = dir.filePath(arguments.last());
        if (QProcess::execute("convert", arguments) != 0)
            throw std::runtime_error("convert failed");
        QFile f(arguments.last());
        f.open(QIODevice::ReadOnly);
        Files()[name] = f.readAll();
    }
}

void Count(benchmark::State& State, int BytesPerPixel)
{
    State.SetBytesProcessed(int64_t(State.iterations()) * ImageWidth * ImageHeight * BytesPerPixel);
}

template <typename TReader>
void QvReader(benchmark::State& State, const char* File, int BytesPerPixel)
{
    const QByteArray& data = Files()[File];
    for (auto _ : State) {
        TReader reader;
        vcl::TMemoryStream stream(data);
        reader.LoadFromStream(stream);
        benchmark::DoNotOptimize(reader.Width());
    }
    Count(State, BytesPerPixel);
}

template <typename TReader>
void QvAssemble(benchmark::State& State, const char* File, int BytesPerPixel)
{
    const QByteArray& data = Files()[File];
    for (auto _ : State) {
        TReader reader;
        vcl::TMemoryStream stream(data);
        benchmark::DoNotOptimize(reader.AssembleBitmapStream(stream));
    }
    Count(State, BytesPerPixel);
}

void QtReader(benchmark::State& State, const char* File, int BytesPerPixel)
{
    const QByteArray& data = Files()[File];
    for (auto _ : State) {
        QBuffer buffer(const_cast<QByteArray*>(&data));
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QImage image = reader.read();
        if (image.isNull())
            State.SkipWithError("QImageReader cannot read the file");
        benchmark::DoNotOptimize(image.constBits());
    }
    Count(State, BytesPerPixel);
}

struct TMemory {
    const QByteArray* Data;
    qsizetype Position = 0;
};

void Giflib(benchmark::State& State)
{
    const QByteArray& data = Files()["gif"];
    for (auto _ : State) {
        TMemory memory{&data};
        int error = 0;
        GifFileType* gif = DGifOpen(&memory, [](GifFileType* g, GifByteType* out, int n) {
            auto* m = static_cast<TMemory*>(g->UserData);
            const int count = int(std::min<qsizetype>(n, m->Data->size() - m->Position));
            std::memcpy(out, m->Data->constData() + m->Position, size_t(count));
            m->Position += count;
            return count;
        }, &error);
        if (!gif || DGifSlurp(gif) != GIF_OK)
            State.SkipWithError("giflib cannot read the file");
        benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
        DGifCloseFile(gif, &error);
    }
    Count(State, 1);
}

void Libtiff(benchmark::State& State, const char* File)
{
    const QByteArray& data = Files()[File];
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    for (auto _ : State) {
        // Every decoder makes its image anew.
        std::vector<uint8_t> pixels(size_t(ImageWidth) * ImageHeight * 3);
        TMemory memory{&data};
        TIFF* tif = TIFFClientOpen("memory", "r", &memory,
            [](thandle_t h, tdata_t out, tsize_t n) -> tsize_t {
                auto* m = static_cast<TMemory*>(h);
                const tsize_t count = std::max<tsize_t>(0, std::min<tsize_t>(n, m->Data->size() - m->Position));
                std::memcpy(out, m->Data->constData() + m->Position, size_t(count));
                m->Position += count;
                return count;
            },
            [](thandle_t, tdata_t, tsize_t) -> tsize_t { return 0; },
            [](thandle_t h, toff_t offset, int whence) -> toff_t {
                auto* m = static_cast<TMemory*>(h);
                m->Position = whence == SEEK_SET ? qsizetype(offset)
                              : whence == SEEK_CUR ? m->Position + qsizetype(offset)
                                                   : m->Data->size() + qsizetype(offset);
                return toff_t(m->Position);
            },
            [](thandle_t) { return 0; },
            [](thandle_t h) -> toff_t { return toff_t(static_cast<TMemory*>(h)->Data->size()); },
            [](thandle_t, tdata_t*, toff_t*) { return 0; }, [](thandle_t, tdata_t, toff_t) {});
        if (!tif) {
            State.SkipWithError("libtiff cannot open the file");
            break;
        }
        uint8_t* out = pixels.data();
        for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s) {
            const tsize_t n = TIFFReadEncodedStrip(tif, s, out, -1);
            if (n < 0) {
                State.SkipWithError("libtiff cannot decode the file");
                break;
            }
            out += n;
        }
        benchmark::DoNotOptimize(pixels.data());
        TIFFClose(tif);
    }
    Count(State, 3);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    MakeFiles();
    using namespace benchmark;
    RegisterBenchmark("gif/TGifmap", QvReader<Gifmap::TGifmap>, "gif", 1);
    RegisterBenchmark("gif/TGifmap_assemble_only", QvAssemble<Gifmap::TGifmap>, "gif", 1);
    RegisterBenchmark("gif/QImageReader", QtReader, "gif", 1);
    RegisterBenchmark("gif/giflib", Giflib);
    for (const char* file : {"tif_lzw", "tif_packbits", "tif_raw"}) {
        const std::string name(file);
        RegisterBenchmark((name + "/TTifmap").c_str(), QvReader<Tifmap::TTifmap>, file, 3);
        RegisterBenchmark((name + "/TTifmap_assemble_only").c_str(), QvAssemble<Tifmap::TTifmap>, file, 3);
        RegisterBenchmark((name + "/QImageReader").c_str(), QtReader, file, 3);
        RegisterBenchmark((name + "/libtiff").c_str(), Libtiff, file);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
