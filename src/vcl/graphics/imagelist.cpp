#include "vcl/graphics/imagelist.h"

#include "vcl/graphics/canvas.h"

#include <QPainter>
#include <algorithm>
#include <map>

namespace vcl {

namespace {

// The stores that can be bound by handle. A store stays alive while a list shows it;
// the registry only finds it.
std::map<quint64, std::weak_ptr<TImageStore>>& StoreRegistry()
{
    static std::map<quint64, std::weak_ptr<TImageStore>> registry;
    return registry;
}

} // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner)
    : TComponent(AOwner)
{
    NewStore(16, 16);
}

TCustomImageList::TCustomImageList(int AWidth, int AHeight, TComponent* AOwner)
    : TComponent(AOwner)
{
    NewStore(std::max(AWidth, 1), std::max(AHeight, 1));
}

TCustomImageList::~TCustomImageList()
{
    if (!FShareImages)
        StoreRegistry().erase(FStore->Handle.Value);
}

void TCustomImageList::NewStore(int AWidth, int AHeight)
{
    static quint64 lastHandle = 0;
    if (FStore && !FShareImages)
        StoreRegistry().erase(FStore->Handle.Value);
    FStore = std::make_shared<TImageStore>();
    FStore->Width = AWidth;
    FStore->Height = AHeight;
    FStore->Handle = HIMAGELIST{++lastHandle};
    StoreRegistry()[lastHandle] = FStore;
}

void TCustomImageList::SetHandle(HIMAGELIST Value)
{
    if (Value == FStore->Handle)
        return;
    const auto found = StoreRegistry().find(Value.Value);
    std::shared_ptr<TImageStore> store = found == StoreRegistry().end() ? nullptr : found->second.lock();
    if (!store)
        throw EInvalidOperation(QStringLiteral("Invalid image list handle"));
    if (!FShareImages)
        StoreRegistry().erase(FStore->Handle.Value);
    FStore = std::move(store);
    Change();
}

void TCustomImageList::Change()
{
    if (OnChange)
        OnChange(this);
}

// A new size gives the list a new, empty store: lists bound to the old one keep it.
void TCustomImageList::SetWidth(int Value)
{
    Value = std::max(Value, 1);
    if (Value == Width())
        return;
    NewStore(Value, Height());
    Change();
}

void TCustomImageList::SetHeight(int Value)
{
    Value = std::max(Value, 1);
    if (Value == Height())
        return;
    NewStore(Width(), Value);
    Change();
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
    QImage fitted(Width(), Height(), QImage::Format_ARGB32);
    fitted.fill(Qt::transparent);
    QPainter painter(&fitted);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, Image.convertToFormat(QImage::Format_ARGB32));
    return fitted;
}

std::vector<QImage> TCustomImageList::Pieces(const QImage& Image) const
{
    std::vector<QImage> pieces;
    const int count = std::max(1, Image.width() / Width());
    for (int i = 0; i < count; ++i)
        pieces.push_back(Fit(Image.copy(i * Width(), 0, Width(), Height())));
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
        FStore->Images.push_back(std::move(piece));
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
    FStore->Images.push_back(Fit(Icon->ToQImage().scaled(Width(), Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    Change();
    return Count() - 1;
}

int TCustomImageList::AddImage(const QImage& Image)
{
    if (Image.isNull())
        return -1;
    const int first = Count();
    for (QImage& piece : Pieces(Image))
        FStore->Images.push_back(std::move(piece));
    Change();
    return first;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
    CheckIndex(Index);
    if (!Image || Image->Empty())
        return;
    FStore->Images[size_t(Index)] = Fit(ApplyMask(Image->ToQImage(), Mask));
    Change();
}

void TCustomImageList::Delete(int Index)
{
    CheckIndex(Index);
    FStore->Images.erase(FStore->Images.begin() + Index);
    // Overlays follow their images; an overlay whose image went is cleared.
    for (int& overlay : FStore->Overlays)
        overlay = overlay == Index ? -1 : overlay > Index ? overlay - 1 : overlay;
    Change();
}

void TCustomImageList::Clear()
{
    FStore->Images.clear();
    FStore->Overlays.fill(-1);
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex)
{
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    QImage image = FStore->Images[size_t(CurIndex)];
    FStore->Images.erase(FStore->Images.begin() + CurIndex);
    FStore->Images.insert(FStore->Images.begin() + NewIndex, image);
    for (int& overlay : FStore->Overlays) {
        if (overlay == CurIndex)
            overlay = NewIndex;
        else if (overlay > CurIndex && overlay <= NewIndex)
            --overlay;
        else if (overlay < CurIndex && overlay >= NewIndex)
            ++overlay;
    }
    Change();
}

QImage TCustomImageList::ToQImage(int Index) const
{
    CheckIndex(Index);
    return FStore->Images[size_t(Index)];
}

bool TCustomImageList::Overlay(int ImageIndex, TOverlay Overlay)
{
    if (ImageIndex < 0 || ImageIndex >= Count() || Overlay < 0 || Overlay >= MaxOverlays)
        return false;
    FStore->Overlays[size_t(Overlay)] = ImageIndex;
    Change();
    return true;
}

int TCustomImageList::OverlayImage(TOverlay Overlay) const
{
    return Overlay < 0 || Overlay >= MaxOverlays ? -1 : FStore->Overlays[size_t(Overlay)];
}

namespace {

// Blends every visible pixel with Colour by Weight (0..256), keeping alpha.
void Blend(QImage& Image, QRgb Colour, int Weight)
{
    for (int y = 0; y < Image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(Image.scanLine(y));
        for (int x = 0; x < Image.width(); ++x) {
            const QRgb p = line[x];
            auto mix = [&](int a, int b) { return (a * (256 - Weight) + b * Weight) >> 8; };
            line[x] = qRgba(mix(qRed(p), qRed(Colour)), mix(qGreen(p), qGreen(Colour)), mix(qBlue(p), qBlue(Colour)),
                qAlpha(p));
        }
    }
}

void Grey(QImage& Image)
{
    for (int y = 0; y < Image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(Image.scanLine(y));
        for (int x = 0; x < Image.width(); ++x) {
            const int g = qGray(line[x]);
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
}

// Halves the alpha of every pixel.
void Ghost(QImage& Image)
{
    for (int y = 0; y < Image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(Image.scanLine(y));
        for (int x = 0; x < Image.width(); ++x)
            line[x] = (line[x] & 0x00FFFFFFu) | ((line[x] >> 25) << 24);
    }
}

} // namespace

QImage TCustomImageList::Composite(int Index, int Overlay, TDrawingStyle Style, bool Enabled, bool Ghosted) const
{
    if (Index < 0 || Index >= Count())
        return {};
    QImage image = FStore->Images[size_t(Index)];
    const int overlay = OverlayImage(Overlay);
    if (overlay >= 0 && overlay < Count()) {
        QPainter painter(&image);
        painter.drawImage(0, 0, FStore->Images[size_t(overlay)]);
    }
    // Selected images take half the highlight colour, focused ones a quarter.
    if (Style == dsSelected || Style == dsFocus)
        Blend(image, ToQRgb(clHighlight), Style == dsSelected ? 128 : 64);
    if (!Enabled)
        Grey(image);
    if (Ghosted)
        Ghost(image);
    return image;
}

void TCustomImageList::DrawImage(TCanvas* Canvas, int X, int Y, const QImage& Image)
{
    if (!Canvas || !Canvas->Surface() || Image.isNull())
        return;
    Canvas->Changing();
    QPainter painter(Canvas->Surface());
    painter.setClipRegion(Canvas->ClipRegion());
    // An unmasked list draws its images opaque, on white unless BkColor is set.
    const TColor back = FMasked ? FBkColor : (FBkColor == clNone ? clWhite : FBkColor);
    if (back != clNone)
        painter.fillRect(QRect(X, Y, Width(), Height()), ToQColor(back));
    painter.drawImage(X, Y, Image);
    painter.end();
    Canvas->Changed();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    Draw(Canvas, X, Y, Index, dsNormal, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle Style, bool Enabled)
{
    DrawImage(Canvas, X, Y, Composite(Index, -1, Style, Enabled));
}

void TCustomImageList::DrawOverlay(TCanvas* Canvas, int X, int Y, int ImageIndex, TOverlay Overlay, bool Enabled)
{
    DrawOverlay(Canvas, X, Y, ImageIndex, Overlay, dsNormal, Enabled);
}

void TCustomImageList::DrawOverlay(
    TCanvas* Canvas, int X, int Y, int ImageIndex, TOverlay Overlay, TDrawingStyle Style, bool Enabled)
{
    DrawImage(Canvas, X, Y, Composite(ImageIndex, Overlay, Style, Enabled));
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
    CheckIndex(Index);
    if (!Image)
        return;
    Image->SetSize(Width(), Height());
    const TColor back = FBkColor != clNone ? FBkColor : Image->Canvas()->Brush()->Color();
    Image->Canvas()->Brush()->SetColor(back);
    Image->Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    Draw(Image->Canvas(), 0, 0, Index);
}

bool ReplaceImageList(TComponent& Owner, TCustomImageList*& Field, TCustomImageList* Value)
{
    if (Value == Field)
        return false;
    if (Field)
        Field->RemoveFreeNotification(&Owner);
    Field = Value;
    if (Field)
        Field->FreeNotification(&Owner);
    return true;
}

} // namespace vcl
