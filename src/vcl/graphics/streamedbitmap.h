#pragma once
// TStreamedBitmap: a bitmap that a control publishes as a property, stored in form
// files as the bytes of its BMP image ("Glyph.Data = {424D...}").
#include "vcl/graphics/bitmap.h"

#include <QByteArray>
#include <QMetaType>

namespace vcl {

class TStreamedBitmap : public TBitmap {
    Q_GADGET
    Q_PROPERTY(QByteArray Data READ Data WRITE SetData)
public:
    // The BMP image of the pixels (empty for an empty bitmap).
    QByteArray Data() const;
    // Reads a BMP image; empty bytes empty the bitmap. Bytes that are no BMP image
    // raise EInvalidGraphic and leave the bitmap as it was.
    void SetData(const QByteArray& Value);
};

} // namespace vcl
