#pragma once
// TInvertOverlay: a layer over the whole area of a widget on which figures are inverted
// as on a screen device context with exclusive-or raster operations (PatBlt with
// PATINVERT or DSTINVERT, InvertRect). It covers every child control of the widget, so
// drag feedback can cross them, lets the mouse through, and drawing a figure a second
// time gives back the pixels under it.
//
// The layer keeps a mask of what is inverted: white where pixels are inverted, black
// elsewhere. It shows the mask with the difference composition, under which a white
// pixel shows the inverse of what lies beneath and a black one leaves it as it is.
#include "vcl/graphics/gdi.h"

#include <QImage>
#include <QWidget>

namespace vcl {

class TInvertOverlay : public QWidget {
    Q_OBJECT
public:
    // Covers Surface (the widget a control's children are placed in) and follows its size.
    explicit TInvertOverlay(QWidget* Surface);
    ~TInvertOverlay() override;

    // The device context over the mask, in Surface's coordinates. Draw only with
    // exclusive-or operations on it, then call Flush.
    HDC DC() { return &FDC; }
    // Shows what was drawn: the layer is raised above every child and repainted. With
    // nothing inverted it hides, so it costs nothing between drags.
    void Flush();
    // True when no pixel is inverted.
    bool IsClear() const;

protected:
    void paintEvent(QPaintEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void FollowSurface();

    QWidget* FSurface;
    QImage FMask;
    TDeviceContext FDC;
};

// The brush of the classic checkered drag line: an 8 x 8 monochrome pattern whose rows
// alternate 0x55 and 0xAA, so every second pixel is inverted. Free it with DeleteObject.
HBRUSH CreateCheckeredBrush();

} // namespace vcl
