#include "vcl/graphics/icon.h"

#include "vcl/graphics/canvas.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

namespace vcl {

TIcon::TIcon()
{
    SetTransparent(true);
}

void TIcon::SetWidth(int Value)
{
    if (Value <= 0 || Value == Width() || Empty())
        return;
    FImage = FImage.scaled(Value, Height());
    Changed();
}

void TIcon::SetHeight(int Value)
{
    if (Value <= 0 || Value == Height() || Empty())
        return;
    FImage = FImage.scaled(Width(), Value);
    Changed();
}

void TIcon::LoadFromStream(TStream& Stream)
{
    QByteArray bytes = Stream.ReadBytes(Stream.Size() - Stream.Position());
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    QImage best;
    // An ICO holds several sizes; keep the largest.
    do {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        if (image.width() * image.height() > best.width() * best.height())
            best = image;
    } while (reader.jumpToNextImage());
    if (best.isNull())
        throw EInvalidGraphic(QStringLiteral("Icon image is not valid: %1").arg(reader.errorString()));
    FImage = best.convertToFormat(QImage::Format_ARGB32);
    Changed();
}

void TIcon::SaveToStream(TStream& Stream)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    if (!writer.write(FImage))
        throw EInvalidGraphic(QStringLiteral("Icon image cannot be written: %1").arg(writer.errorString()));
    Stream.WriteBuffer(bytes.constData(), bytes.size());
}

void TIcon::Assign(const TPersistent* Source)
{
    if (const auto* icon = dynamic_cast<const TIcon*>(Source)) {
        FImage = icon->FImage;
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::AssignImage(const QImage& Image)
{
    FImage = Image.convertToFormat(QImage::Format_ARGB32);
    Changed();
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    QImage* surface = ACanvas ? ACanvas->Surface() : nullptr;
    if (!surface || Empty())
        return;
    QPainter painter(surface);
    painter.setClipRegion(ACanvas->ClipRegion());
    painter.drawImage(Rect.ToQRect(), FImage);
}

} // namespace vcl
