#pragma once
// TIcon: an icon picture (with transparency) read and written in the ICO format
// through Qt.
#include "vcl/graphics/graphic.h"

#include <QIcon>
#include <QImage>

namespace vcl {

class TIcon : public TGraphic {
public:
    TIcon();

    bool Empty() const override { return FImage.isNull(); }
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    // An icon's size comes from its picture; setting it scales the picture.
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;

    // Reads an ICO (or any picture Qt reads; the largest image of an ICO file is
    // kept); raises EInvalidGraphic for data that is not a picture.
    void LoadFromStream(TStream& Stream) override;
    // Writes an ICO file.
    void SaveToStream(TStream& Stream) override;

    void Assign(const TPersistent* Source) override;
    void AssignImage(const QImage& Image);
    QImage ToQImage() const { return FImage; }
    QIcon ToQIcon() const { return QIcon(QPixmap::fromImage(FImage)); }

protected:
    // Blends the icon over the canvas (its transparent pixels leave the canvas).
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    QImage FImage; // ARGB32
};

} // namespace vcl
