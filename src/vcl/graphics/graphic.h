#pragma once
// TGraphic: the common base of bitmaps, icons and other pictures.
#include "vcl/core/classes.h"
#include "vcl/core/streams.h"
#include "vcl/core/sysutils.h"

#include <QString>

namespace vcl {

class TCanvas;

// Raised for picture data that cannot be read ("Bitmap image is not valid" ...).
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class TGraphic : public TPersistent {
public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    // A transparent graphic leaves the pixels of its transparent colour undrawn.
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value);

    // Reads the graphic from the stream's position; raises EInvalidGraphic (or a
    // stream error) for data it cannot read and leaves the graphic as it was then.
    virtual void LoadFromStream(TStream& Stream) = 0;
    virtual void SaveToStream(TStream& Stream) = 0;
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName);

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Draws the graphic stretched into Rect of the canvas.
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    virtual void Changed();

private:
    bool FTransparent = false;
    bool FModified = false;
};

} // namespace vcl
