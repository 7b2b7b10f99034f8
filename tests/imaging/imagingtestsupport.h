#pragma once
// Shared by the imaging tests: the files made by make_test_images.py, and the assembled
// bitmap stream read back with Qt's own BMP reader.
#include "vcl/core/streams.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace imagingtest {

// Bytes of an assembled stream's file header (14) and info header (40): where its
// palette starts. An 8-bit stream's 256 palette entries of 4 bytes follow, so its
// pixels start at 1078.
constexpr int HeadersSize = 14 + 40;
constexpr int PixelOffset8Bit = HeadersSize + 4 * 256;

struct TSample {
    QString Name;
    QString File; // full path
    int Width = 0;
    int Height = 0;
    int BitCount = 0;
    QString Reference; // full path of the raw RGB bytes an independent decoder made
};

// Every generated file (made once per test program, in a temporary folder).
const std::vector<TSample>& Samples();

// The samples whose names start with Prefix.
std::vector<TSample> SamplesOf(const QString& Prefix);

QByteArray ReadFile(const QString& Path);

// The reference pixels as an RGB888 image.
QImage ReferenceImage(const TSample& Sample);

// Decodes the assembled bitmap stream with Qt's BMP reader, as RGB888.
QImage DecodeBitmapStream(const QByteArray& Bitmap);

// Fields of the assembled stream's headers.
struct TBitmapFields {
    uint32_t FileSize = 0;
    uint32_t PixelOffset = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    uint16_t BitCount = 0;
};
TBitmapFields ReadBitmapFields(const QByteArray& Bitmap);

// Runs the reader of the file's extension (gif, pcx, tif, cdr) over Data and returns the
// assembled bitmap stream; the reader's exception passes through.
QByteArray AssembleWithReader(const QString& Extension, const QByteArray& Data);

// Number of pixels that differ, and the first difference as text (empty when equal).
QString FirstPixelDifference(const QImage& Actual, const QImage& Expected);

} // namespace imagingtest
