#include "vcl/graphics/imagelist.h"

#include "vcl/graphics/canvas.h"

#include <QPainter>
#include <algorithm>

namespace vcl {

TCustomImageList::TCustomImageList(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TCustomImageList::TCustomImageList(int AWidth, int AHeight, TComponent* AOwner)
    : TComponent(AOwner)
    , FWidth(std::max(AWidth, 1))
    , FHeight(std::max(AHeight, 1))
{
}

void TCustomImageList::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomImageList::SetWidth(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FWidth)
        return;
    FWidth = Value;
    Clear();
}

void TCustomImageList::SetHeight(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FHeight)
        return;
    FHeight = Value;
    Clear();
}

void TCustomImageList::SetBkColor(TColor Value)
{
    if (Value == FBkColor)
        return;
    FBkColor = Value;
    Change();
}

void TCustomImageList::SetMasked(bool Value)
{
    if (Value == FMasked)
        return;
    FMasked = Value;
    Change();
}

void TCustomImageList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(QStringLiteral("Invalid ImageList Index"));
}

QImage TCustomImageList::Fit(const QImage& Image) const
{
    QImage fitted(FWidth, FHeight, QImage::Format_ARGB32);
    fitted.fill(Qt::transparent);
    QPainter painter(&fitted);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, Image.convertToFormat(QImage::Format_ARGB32));
    return fitted;
}

std::vector<QImage> TCustomImageList::Pieces(const QImage& Image) const
{
    std::vector<QImage> pieces;
    const int count = std::max(1, Image.width() / FWidth);
    for (int i = 0; i < count; ++i)
        pieces.push_back(Fit(Image.copy(i * FWidth, 0, FWidth, FHeight)));
    return pieces;
}

namespace {

// The image with alpha 0 where the monochrome mask is white.
QImage ApplyMask(QImage Image, TBitmap* Mask)
{
    Image = Image.convertToFormat(QImage::Format_ARGB32);
    if (!Mask || Mask->Empty())
        return Image;
    const QImage mask = Mask->ToQImage();
    for (int y = 0; y < std::min(Image.height(), mask.height()); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(Image.scanLine(y));
        const auto* mline = reinterpret_cast<const uint32_t*>(mask.constScanLine(y));
        for (int x = 0; x < std::min(Image.width(), mask.width()); ++x)
            if ((mline[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] &= 0x00FFFFFFu;
    }
    return Image;
}

} // namespace

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    if (!Image || Image->Empty())
        return -1;
    const int first = Count();
    for (QImage& piece : Pieces(ApplyMask(Image->ToQImage(), Mask)))
        FImages.push_back(std::move(piece));
    Change();
    return first;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    if (!Image || Image->Empty())
        return -1;
    const TColor key = MaskColor == clDefault ? Image->TransparentColor() : ColorToRGB(MaskColor);
    QImage image = Image->ToQImage().convertToFormat(QImage::Format_ARGB32);
    const uint32_t keyPixel = ToQRgb(key) & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == keyPixel)
                line[x] &= 0x00FFFFFFu;
    }
    return AddImage(image);
}

int TCustomImageList::AddIcon(TIcon* Icon)
{
    if (!Icon || Icon->Empty())
        return -1;
    FImages.push_back(Fit(Icon->ToQImage().scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    Change();
    return Count() - 1;
}

int TCustomImageList::AddImage(const QImage& Image)
{
    if (Image.isNull())
        return -1;
    const int first = Count();
    for (QImage& piece : Pieces(Image))
        FImages.push_back(std::move(piece));
    Change();
    return first;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
    CheckIndex(Index);
    if (!Image || Image->Empty())
        return;
    FImages[size_t(Index)] = Fit(ApplyMask(Image->ToQImage(), Mask));
    Change();
}

void TCustomImageList::Delete(int Index)
{
    CheckIndex(Index);
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TCustomImageList::Clear()
{
    FImages.clear();
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex)
{
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    QImage image = FImages[size_t(CurIndex)];
    FImages.erase(FImages.begin() + CurIndex);
    FImages.insert(FImages.begin() + NewIndex, image);
    Change();
}

QImage TCustomImageList::ToQImage(int Index) const
{
    CheckIndex(Index);
    return FImages[size_t(Index)];
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    if (!Canvas || !Canvas->Surface() || Index < 0 || Index >= Count())
        return;
    QImage image = FImages[size_t(Index)];
    if (!Enabled) {
        // Disabled images are drawn in greys of the same lightness.
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int g = qGray(line[x]);
                line[x] = (line[x] & 0xFF000000u) | uint32_t(g << 16 | g << 8 | g);
            }
        }
    }
    Canvas->Changing();
    QPainter painter(Canvas->Surface());
    painter.setClipRegion(Canvas->ClipRegion());
    // An unmasked list draws its images opaque, on white unless BkColor is set.
    const TColor back = FMasked ? FBkColor : (FBkColor == clNone ? clWhite : FBkColor);
    if (back != clNone)
        painter.fillRect(QRect(X, Y, FWidth, FHeight), ToQColor(back));
    painter.drawImage(X, Y, image);
    painter.end();
    Canvas->Changed();
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
    CheckIndex(Index);
    if (!Image)
        return;
    Image->SetSize(FWidth, FHeight);
    const TColor back = FBkColor != clNone ? FBkColor : Image->Canvas()->Brush()->Color();
    Image->Canvas()->Brush()->SetColor(back);
    Image->Canvas()->FillRect(Rect(0, 0, FWidth, FHeight));
    Draw(Image->Canvas(), 0, 0, Index);
}

} // namespace vcl
