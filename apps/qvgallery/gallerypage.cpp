#include "gallerypage.h"

#include "vcl/graphics/canvas.h"
#include "vcl/streaming/classregistry.h"

namespace gallery {

namespace {
// The designer's dot grid: one black dot every GridStep pixels.
constexpr int GridStep = 8;
// Grab handles are squares of this side, centred on the selection's frame.
constexpr int HandleSize = 5;
} // namespace

TGalleryPage::TGalleryPage(vcl::TComponent* AOwner)
    : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | vcl::csAcceptsControls | vcl::csOpaque);
}

std::any TGalleryPage::MethodAddress(const QString& Name) const
{
    auto report = [this](const QString& Method, vcl::TObject* Sender) {
        auto* component = dynamic_cast<vcl::TComponent*>(Sender);
        if (OnMethodCalled)
            OnMethodCalled(QStringLiteral("%1(%2)").arg(Method, component != nullptr ? component->Name() : QString()));
    };
    if (Name == QLatin1String("TestClick") || Name == QLatin1String("TestDblClick"))
        return vcl::TNotifyEvent([report, Name](vcl::TObject* Sender) { report(Name, Sender); });
    if (Name == QLatin1String("TestMouseDown"))
        return vcl::TMouseEvent([report](vcl::TObject* Sender, vcl::TMouseButton, vcl::TShiftState, int, int) {
            report(QStringLiteral("TestMouseDown"), Sender);
        });
    return {};
}

QStringList TGalleryPage::MethodNames() const
{
    return {QStringLiteral("TestClick"), QStringLiteral("TestDblClick"), QStringLiteral("TestMouseDown")};
}

void TGalleryPage::Register()
{
    vcl::RegisterClass(vcl::ClassOf<TGalleryPage>());
}

void TGalleryPage::SetSelectionRect(const QRect& Value)
{
    if (Value == FSelectionRect)
        return;
    FSelectionRect = Value;
    Invalidate();
}

void TGalleryPage::Paint()
{
    PaintGrid();
    PaintGrabHandles();
}

void TGalleryPage::PaintGrid()
{
    vcl::TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    for (int y = GridStep; y < Height(); y += GridStep)
        for (int x = GridStep; x < Width(); x += GridStep)
            canvas->SetPixels(x, y, vcl::clBlack);
}

// The handles sit in the margin around the selected control, so they stay visible
// although the control itself covers the page inside its rectangle.
void TGalleryPage::PaintGrabHandles()
{
    if (FSelectionRect.isEmpty())
        return;
    const QRect frame = FSelectionRect.adjusted(-HandleSize / 2 - 1, -HandleSize / 2 - 1, HandleSize / 2 + 1, HandleSize / 2 + 1);
    const int xs[] = {frame.left(), frame.center().x(), frame.right()};
    const int ys[] = {frame.top(), frame.center().y(), frame.bottom()};
    vcl::TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(vcl::clBlack);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (row == 1 && column == 1)
                continue;
            const int left = xs[column] - HandleSize / 2;
            const int top = ys[row] - HandleSize / 2;
            canvas->FillRect(vcl::Rect(left, top, left + HandleSize, top + HandleSize));
        }
    }
}

} // namespace gallery
