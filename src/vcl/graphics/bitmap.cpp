#include "vcl/graphics/bitmap.h"

#include "vcl/graphics/bmpformat.h"
#include "vcl/graphics/gdiengine.h"

#include <QFile>
#include <QHash>
#include <QtEndian>
#include <algorithm>

namespace vcl {

namespace {

bool IsBlackAndWhite(const std::vector<TColor>& Palette)
{
    return Palette.size() == 2 && ((Palette[0] == clBlack && Palette[1] == clWhite) || (Palette[0] == clWhite && Palette[1] == clBlack));
}

} // namespace

const std::vector<TColor>& StandardPalette16()
{
    static const std::vector<TColor> palette = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
        clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite};
    return palette;
}

const std::vector<TColor>& StandardPalette256()
{
    // The sixteen standard colours, a 6x6x6 colour cube and 24 greys.
    static const std::vector<TColor> palette = [] {
        std::vector<TColor> p = StandardPalette16();
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p.push_back(RGB(r * 51, g * 51, b * 51));
        for (int i = 1; i <= 24; ++i)
            p.push_back(RGB(i * 10, i * 10, i * 10));
        return p;
    }();
    return palette;
}

TBitmap::TBitmap()
    : FImage(std::make_unique<TGdiBitmap>(0, 0, false))
{
}

TBitmap::~TBitmap() = default;

bool TBitmap::Empty() const { return FImage->Image.width() == 0 || FImage->Image.height() == 0; }
int TBitmap::Width() const { return FImage->Image.width(); }
int TBitmap::Height() const { return FImage->Image.height(); }
void TBitmap::SetWidth(int Value) { SetSize(Value, Height()); }
void TBitmap::SetHeight(int Value) { SetSize(Width(), Value); }

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == Width() && AHeight == Height())
        return;
    QImage resized(AWidth, AHeight, QImage::Format_RGB32);
    resized.fill(0xFFFFFFFFu);
    const int w = std::min(AWidth, Width()), h = std::min(AHeight, Height());
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const uint32_t*>(FImage->Image.constScanLine(y)), w,
            reinterpret_cast<uint32_t*>(resized.scanLine(y)));
    FImage->Image = resized;
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->SelectBitmap(FImage.get());
        FCanvas->OnChange = [this](TObject*) { CanvasChanged(); };
    }
    return FCanvas.get();
}

void TBitmap::CanvasChanged()
{
    MapToPalette(FCanvas->ChangedArea());
    Changed();
}

void TBitmap::Changed()
{
    TGraphic::Changed();
}

void TBitmap::ReplaceImage(std::unique_ptr<TGdiBitmap> Image)
{
    FImage = std::move(Image);
    if (FCanvas)
        FCanvas->SelectBitmap(FImage.get());
}

void TBitmap::MapToPalette(const QRect& Area)
{
    // Monochrome surfaces are kept black and white by the drawing engine itself.
    if (FPalette.Entries.empty() || FImage->Monochrome)
        return;
    QHash<uint32_t, uint32_t> cache;
    QImage& image = FImage->Image;
    const QRect area = Area.isEmpty() ? image.rect() : Area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            auto it = cache.constFind(line[x]);
            if (it == cache.constEnd())
                it = cache.insert(line[x], ToQRgb(FPalette.Entries[size_t(NearestColorIndex(FPalette.Entries, line[x]))]));
            line[x] = *it;
        }
    }
}

void TBitmap::SetPaletteColors(const std::vector<TColor>& Colors)
{
    if (FPixelFormat != pf1bit && FPixelFormat != pf4bit && FPixelFormat != pf8bit)
        return;
    const size_t limit = size_t(1) << (FPixelFormat == pf1bit ? 1 : FPixelFormat == pf4bit ? 4 : 8);
    FPalette.Entries.assign(Colors.begin(), Colors.begin() + std::min(Colors.size(), limit));
    for (TColor& c : FPalette.Entries)
        c = ColorToRGB(c) & 0xFFFFFF;
    if (FPalette.Entries.empty())
        FPalette.Entries.push_back(clBlack);
    const bool mono = FPixelFormat == pf1bit && IsBlackAndWhite(FPalette.Entries);
    if (mono != FImage->Monochrome) {
        FImage->Monochrome = mono;
        if (FCanvas)
            FCanvas->SelectBitmap(FImage.get());
    }
    MapToPalette();
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == FPixelFormat)
        return;
    switch (Value) {
    case pf1bit:
        SetMonochrome(true);
        FPalette.Entries = {clBlack, clWhite};
        break;
    case pf4bit:
    case pf8bit:
        SetMonochrome(false);
        FPalette.Entries = Value == pf4bit ? StandardPalette16() : StandardPalette256();
        break;
    default:
        SetMonochrome(false);
        FPalette.Entries.clear();
    }
    FPixelFormat = Value;
    MapToPalette();
    Changed();
}

void TBitmap::SetMonochrome(bool Value)
{
    if (Value == FImage->Monochrome)
        return;
    auto converted = std::make_unique<TGdiBitmap>(Width(), Height(), Value);
    // A blit between fresh contexts: background white, text black.
    TDeviceContext source, dest;
    source.SetSurface(&FImage->Image, FImage->Monochrome);
    dest.SetSurface(&converted->Image, Value);
    BitBlt(&dest, 0, 0, Width(), Height(), &source, 0, 0, SRCCOPY);
    ReplaceImage(std::move(converted));
    if (Value) {
        FPixelFormat = pf1bit;
        FPalette.Entries = {clBlack, clWhite};
    } else if (FPixelFormat == pf1bit) {
        FPixelFormat = pfDevice;
        FPalette.Entries.clear();
    }
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return ColorToRGB(FTransparentColor);
    if (FImage->Monochrome)
        return clWhite;
    if (Empty())
        return clNone;
    return FromQRgb(FImage->Image.pixel(0, Height() - 1));
}

void TBitmap::SetTransparentColor(TColor Value)
{
    if (Value == FTransparentColor)
        return;
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    if (Value == FTransparentMode)
        return;
    FTransparentMode = Value;
    if (Value == tmAuto)
        FTransparentColor = clDefault;
    else if (FTransparentColor == clDefault)
        FTransparentColor = TransparentColor();
    Changed();
}

void TBitmap::Assign(const TPersistent* Source)
{
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(Source)) {
        if (bitmap == this)
            return;
        auto copy = std::make_unique<TGdiBitmap>(0, 0, bitmap->FImage->Monochrome);
        copy->Image = bitmap->FImage->Image;
        ReplaceImage(std::move(copy));
        FPalette.Entries = bitmap->FPalette.Entries;
        FPixelFormat = bitmap->FPixelFormat;
        FTransparentColor = bitmap->FTransparentColor;
        FTransparentMode = bitmap->FTransparentMode;
        SetTransparent(bitmap->Transparent());
        Changed();
        return;
    }
    if (!Source) {
        ReplaceImage(std::make_unique<TGdiBitmap>(0, 0, false));
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::AssignImage(const QImage& Image)
{
    auto copy = std::make_unique<TGdiBitmap>(0, 0, false);
    copy->Image = Image.convertToFormat(QImage::Format_RGB32);
    ReplaceImage(std::move(copy));
    FPalette.Entries.clear();
    FPixelFormat = pf32bit;
    Changed();
}

QImage TBitmap::ToQImage() const
{
    return FImage->Image.convertToFormat(QImage::Format_RGB32);
}

uint32_t* TBitmap::ScanLine(int Row)
{
    if (Row < 0 || Row >= Height())
        throw EInvalidOperation(QStringLiteral("Scan line index out of range"));
    return reinterpret_cast<uint32_t*>(FImage->Image.scanLine(Row));
}

void TBitmap::LoadFromStream(TStream& Stream)
{
    const int64_t start = Stream.Position();
    const int64_t available = Stream.Size() - start;
    QByteArray header = Stream.ReadBytes(std::min<int64_t>(available, 14));
    if (header.size() < 14 || header[0] != 'B' || header[1] != 'M')
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid: no BM signature"));
    // The file size field bounds the image inside a longer stream; a size that is
    // missing or larger than the data falls back to the rest of the stream.
    const uint32_t fileSize = qFromLittleEndian<uint32_t>(header.constData() + 2);
    const int64_t size = (fileSize >= 26 && fileSize <= available) ? fileSize : available;
    // A memory stream that holds just the image (as the image readers hand theirs over)
    // lends its bytes, which are shared rather than copied.
    auto* memory = dynamic_cast<TMemoryStream*>(&Stream);
    const bool whole = memory && start == 0 && size == memory->Size();
    const QByteArray data = whole ? memory->Bytes() : header + Stream.ReadBytes(size - 14);
    if (whole)
        Stream.SetPosition(size);
    TBmpImage decoded = DecodeBmp(data);

    auto image = std::make_unique<TGdiBitmap>(0, 0, decoded.BitCount == 1 && IsBlackAndWhite(decoded.Palette));
    image->Image = std::move(decoded.Image);
    ReplaceImage(std::move(image));
    FPalette.Entries = decoded.Palette;
    switch (decoded.BitCount) {
    case 1: FPixelFormat = pf1bit; break;
    case 4: FPixelFormat = pf4bit; break;
    case 8: FPixelFormat = pf8bit; break;
    case 16: FPixelFormat = pf16bit; break;
    case 24: FPixelFormat = pf24bit; break;
    default: FPixelFormat = pf32bit;
    }
    Changed();
}

void TBitmap::SaveToStream(TStream& Stream)
{
    int bits = 24;
    switch (FPixelFormat) {
    case pf1bit: bits = 1; break;
    case pf4bit: bits = 4; break;
    case pf8bit: bits = 8; break;
    case pf32bit: bits = 32; break;
    default: bits = 24;
    }
    const QByteArray data = EncodeBmp(FImage->Image, bits, FPalette.Entries);
    Stream.WriteBuffer(data.constData(), data.size());
}

void TBitmap::LoadFromResourceName(intptr_t, const QString& ResName)
{
    QStringList candidates;
    if (ResName.startsWith(QLatin1String(":/")))
        candidates << ResName;
    else
        for (const QString& name : {ResName, ResName.toUpper(), ResName.toLower()})
            candidates << QStringLiteral(":/bitmaps/%1.bmp").arg(name) << QStringLiteral(":/bitmaps/%1.png").arg(name);
    for (const QString& path : candidates) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        if (bytes.startsWith("BM")) {
            TMemoryStream stream(bytes);
            LoadFromStream(stream);
        } else {
            const QImage image = QImage::fromData(bytes);
            if (image.isNull())
                throw EInvalidGraphic(QStringLiteral("Resource %1 is not a picture").arg(ResName));
            AssignImage(image);
        }
        return;
    }
    throw EResNotFound(QStringLiteral("Resource %1 not found").arg(ResName));
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!ACanvas || Empty())
        return;
    ACanvas->RequireBrush();
    HDC dest = ACanvas->Handle();
    TDeviceContext source;
    source.SetSurface(&FImage->Image, FImage->Monochrome);
    if (Transparent()) {
        gdiengine::StretchKeyed(dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), &source, 0, 0, Width(),
            Height(), TransparentColor(), nullptr);
        return;
    }
    // Monochrome bitmaps draw black and white; colour bitmaps shrink by dropping lines.
    const TColor oldText = SetTextColor(dest, clBlack);
    const TColor oldBack = SetBkColor(dest, clWhite);
    const int oldMode = SetStretchBltMode(dest, FImage->Monochrome ? BLACKONWHITE : COLORONCOLOR);
    StretchBlt(dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), &source, 0, 0, Width(), Height(), ACanvas->CopyMode());
    SetStretchBltMode(dest, oldMode);
    SetBkColor(dest, oldBack);
    SetTextColor(dest, oldText);
}

} // namespace vcl
