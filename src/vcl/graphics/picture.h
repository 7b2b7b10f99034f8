#pragma once
// TPicture: holds one graphic of any registered kind and picks the kind by file
// extension.
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/graphic.h"
#include "vcl/graphics/icon.h"

#include <QString>
#include <functional>
#include <memory>

namespace vcl {

class TPicture : public TPersistent {
public:
    using TGraphicFactory = std::function<TGraphic*()>;

    TPicture();
    ~TPicture() override;

    // The graphic held (null when empty). SetGraphic stores a copy.
    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(TGraphic* Value);
    // The graphic as a bitmap; a picture holding anything else (or nothing) is
    // replaced by an empty bitmap first, as the original does.
    TBitmap* Bitmap();
    TIcon* Icon();

    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // Loads by extension: .bmp as a bitmap, .ico as an icon, registered formats by
    // their factory, and other pictures Qt reads (.png, .jpg, .gif) as a bitmap.
    // Raises EInvalidGraphic "Unknown picture file extension (.xyz)" otherwise.
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName);

    void Assign(const TPersistent* Source) override;

    // Adds a graphic kind for an extension (without the dot, any case).
    static void RegisterFileFormat(const QString& Extension, const QString& Description, TGraphicFactory Factory);
    static void UnregisterFileFormat(const QString& Extension);

    TNotifyEvent OnChange;

private:
    void Changed();
    void Adopt(std::unique_ptr<TGraphic> Graphic);

    std::unique_ptr<TGraphic> FGraphic;
};

} // namespace vcl
