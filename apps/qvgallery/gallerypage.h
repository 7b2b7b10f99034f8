#pragma once
// The root component of a gallery page: the design surface that owns one instance of
// every class on a palette page and is saved and read back as a form file.
#include "vcl/controls/controls.h"
#include "vcl/streaming/formfile.h"

#include <QRect>
#include <functional>

namespace gallery {

// Its test methods can be bound to the events of its components, in the inspector or
// in its form file ("OnClick = TestClick"); each reports its call through OnMethodCalled.
class TGalleryPage : public vcl::TCustomControl, public vcl::IMethodProvider {
    Q_OBJECT
public:
    explicit TGalleryPage(vcl::TComponent* AOwner);

    // TestClick and TestDblClick (notify events), TestMouseDown (a mouse event).
    std::any MethodAddress(const QString& Name) const override;
    QStringList MethodNames() const override;
    // Told "TestClick(Button1)" when a bound test method runs.
    std::function<void(const QString& Call)> OnMethodCalled;

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
