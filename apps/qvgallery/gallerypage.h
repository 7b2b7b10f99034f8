#pragma once
// The root component of a gallery page: the design surface that owns one instance of
// every class on a palette page and is saved and read back as a form file.
#include "vcl/controls/controls.h"

#include <QRect>

namespace gallery {

class TGalleryPage : public vcl::TCustomControl {
    Q_OBJECT
public:
    explicit TGalleryPage(vcl::TComponent* AOwner);

    // Makes the class known to the form-file reader (harmless when repeated).
    static void Register();

    // The rectangle (in page coordinates) whose grab handles are drawn; empty for none.
    QRect SelectionRect() const { return FSelectionRect; }
    void SetSelectionRect(const QRect& Value);

protected:
    void Paint() override;

private:
    void PaintGrid();
    void PaintGrabHandles();

    QRect FSelectionRect;
};

} // namespace gallery
