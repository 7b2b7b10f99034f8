// Decoding speed of the GIF and TIFF readers against Qt's QImageReader, giflib and
// libtiff, on the same files (made with ImageMagick at start-up, and one TIFF written
// here whose one-row strips all point at the same LZW data). Throughput counts the
// decoded pixel bytes of the image (1 a pixel for GIF and grey TIFF, 3 for 24-bit
// TIFF), the same for every decoder of a file. After the runs, the ratio of each
// peer's time to ours is printed (above 1: ours is faster), in CPU time, which other
// work on a shared machine disturbs least.
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

#include <cstdio>
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

// LZW codes (most significant bit first) that send every byte as a root code, with a
// clear code before the table fills.
QByteArray LiteralLzw(const QByteArray& Data)
{
    QByteArray out;
    uint64_t bits = 0;
    int count = 0;
    const auto put = [&](int Code, int Width) {
        bits = bits << Width | uint32_t(Code);
        for (count += Width; count >= 8; count -= 8)
            out.append(char((bits >> (count - 8)) & 0xFF));
    };
    int width = 9, nextFree = 258;
    bool first = true;
    put(256, width);
    for (const char byte : Data) {
        if (nextFree >= 4094) {
            put(256, width);
            width = 9;
            nextFree = 258;
            first = true;
        }
        put(uchar(byte), width);
        // Every code but the first after a clear adds a string; writers widen one early.
        if (!first && (++nextFree == 511 || nextFree == 1023 || nextFree == 2047))
            ++width;
        first = false;
    }
    put(257, width);
    if (count > 0)
        out.append(char((bits << (8 - count)) & 0xFF));
    return out;
}

// A little-endian 8-bit grey TIFF of one-row strips that all point at the same LZW data
// of the whole image: each strip must stop after its row.
QByteArray SharedStripsTiff(const QByteArray& Grey)
{
    QByteArray file("II*\0", 4);
    const auto put = [&file](uint32_t Value, int Size) {
        for (int i = 0; i < Size; ++i)
            file.append(char((Value >> (8 * i)) & 0xFF));
    };
    put(8, 4);
    const QByteArray strip = LiteralLzw(Grey);
    const uint32_t entries = 9, directorySize = 2 + 12 * entries + 4;
    const uint32_t offsets = 8 + directorySize, counts = offsets + 4 * ImageHeight;
    const uint32_t data = counts + 4 * ImageHeight;
    const uint32_t tags[entries][4] = {{256, 4, 1, ImageWidth}, {257, 4, 1, ImageHeight}, {258, 3, 1, 8},
                                       {259, 3, 1, 5}, {262, 3, 1, 1}, {273, 4, ImageHeight, offsets},
                                       {277, 3, 1, 1}, {278, 3, 1, 1}, {279, 4, ImageHeight, counts}};
    put(entries, 2);
    for (const auto& t : tags)
        put(t[0], 2), put(t[1], 2), put(t[2], 4), put(t[3], 4);
    put(0, 4);
    for (int i = 0; i < ImageHeight; ++i)
        put(data, 4);
    for (int i = 0; i < ImageHeight; ++i)
        put(uint32_t(strip.size()), 4);
    return file + strip;
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
    QByteArray grey;
    for (int y = 0; y < ImageHeight; ++y)
        for (int x = 0; x < ImageWidth; ++x)
            grey.append(char(qGray(image.pixel(x, y))));
    Files()["tif_shared_strips"] = SharedStripsTiff(grey);
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

void Libtiff(benchmark::State& State, const char* File, int BytesPerPixel)
{
    const QByteArray& data = Files()[File];
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    for (auto _ : State) {
        // Every decoder makes its image anew.
        std::vector<uint8_t> pixels(size_t(ImageWidth) * ImageHeight * BytesPerPixel);
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
    Count(State, BytesPerPixel);
}

// The console output, and after it each peer's time divided by ours for the same file
// and the same work (whole load, or assembling alone against a decoder alone).
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& Runs) override
    {
        ConsoleReporter::ReportRuns(Runs);
        for (const Run& run : Runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                FTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nRatios (peer time / QvKit time; above 1 means QvKit is faster):\n");
        for (const auto& [name, time] : FTimes) {
            const auto slash = name.find('/');
            const std::string file = name.substr(0, slash), who = name.substr(slash + 1);
            if (who.rfind('T', 0) == 0)
                continue;
            for (const char* ours : {"/TGifmap", "/TTifmap", "/TGifmap_assemble_only", "/TTifmap_assemble_only"}) {
                const auto it = FTimes.find(file + ours);
                if (it != FTimes.end())
                    std::printf("  %-20s %-14s / %-24s %6.2f\n", file.c_str(), who.c_str(), ours + 1, time / it->second);
            }
        }
    }

private:
    std::map<std::string, double> FTimes;
};

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
    for (const char* file : {"tif_lzw", "tif_packbits", "tif_raw", "tif_shared_strips"}) {
        const std::string name(file);
        const int bytesPerPixel = name == "tif_shared_strips" ? 1 : 3;
        RegisterBenchmark((name + "/TTifmap").c_str(), QvReader<Tifmap::TTifmap>, file, bytesPerPixel);
        RegisterBenchmark((name + "/TTifmap_assemble_only").c_str(), QvAssemble<Tifmap::TTifmap>, file, bytesPerPixel);
        RegisterBenchmark((name + "/QImageReader").c_str(), QtReader, file, bytesPerPixel);
        RegisterBenchmark((name + "/libtiff").c_str(), Libtiff, file, bytesPerPixel);
    }
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
