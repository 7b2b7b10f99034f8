#include "vcl/graphics/picture.h"

#include <QFileInfo>
#include <QImageReader>
#include <map>

namespace vcl {

namespace {

struct FileFormat {
    QString Description;
    TPicture::TGraphicFactory Factory;
};

std::map<QString, FileFormat>& FileFormats()
{
    static std::map<QString, FileFormat> formats = {
        {QStringLiteral("bmp"), {QStringLiteral("Bitmaps"), [] { return static_cast<TGraphic*>(new TBitmap); }}},
        {QStringLiteral("ico"), {QStringLiteral("Icons"), [] { return static_cast<TGraphic*>(new TIcon); }}},
    };
    return formats;
}

std::unique_ptr<TGraphic> CopyOf(const TGraphic* Source)
{
    std::unique_ptr<TGraphic> copy;
    if (dynamic_cast<const TBitmap*>(Source))
        copy = std::make_unique<TBitmap>();
    else if (dynamic_cast<const TIcon*>(Source))
        copy = std::make_unique<TIcon>();
    else
        throw EConvertError(QStringLiteral("Cannot assign a %1 to a TPicture").arg(Source->ClassName()));
    copy->Assign(Source);
    return copy;
}

} // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> Graphic)
{
    FGraphic = std::move(Graphic);
    if (FGraphic)
        FGraphic->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(TGraphic* Value)
{
    if (Value == FGraphic.get())
        return;
    Adopt(Value ? CopyOf(Value) : nullptr);
}

TBitmap* TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(FGraphic.get()))
        Adopt(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon()
{
    if (!dynamic_cast<TIcon*>(FGraphic.get()))
        Adopt(std::make_unique<TIcon>());
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::LoadFromFile(const QString& FileName)
{
    const QString ext = QFileInfo(FileName).suffix().toLower();
    std::unique_ptr<TGraphic> graphic;
    const auto it = FileFormats().find(ext);
    if (it != FileFormats().end()) {
        graphic.reset(it->second.Factory());
        graphic->LoadFromFile(FileName);
    } else if (QImageReader::supportedImageFormats().contains(ext.toLatin1())) {
        QImageReader reader(FileName);
        const QImage image = reader.read();
        if (image.isNull())
            throw EInvalidGraphic(QStringLiteral("%1: %2").arg(FileName, reader.errorString()));
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->AssignImage(image);
        graphic = std::move(bitmap);
    } else {
        throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
    }
    Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const QString& FileName)
{
    if (FGraphic)
        FGraphic->SaveToFile(FileName);
}

void TPicture::Assign(const TPersistent* Source)
{
    if (!Source) {
        Adopt(nullptr);
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(Source)) {
        Adopt(picture->FGraphic ? CopyOf(picture->FGraphic.get()) : nullptr);
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
        Adopt(CopyOf(graphic));
        return;
    }
    TPersistent::Assign(Source);
}

void TPicture::RegisterFileFormat(const QString& Extension, const QString& Description, TGraphicFactory Factory)
{
    FileFormats()[Extension.toLower()] = {Description, std::move(Factory)};
}

void TPicture::UnregisterFileFormat(const QString& Extension)
{
    FileFormats().erase(Extension.toLower());
}

} // namespace vcl
