#pragma once
// Qvsplitter: TqvSplitter, a windowless splitter between two aligned controls of one
// parent. Dragging it resizes the control it is docked against, with a checkered line
// inverted over the parent as feedback; one click on its handle strip collapses that
// control to nothing and the next click gives it back its size. Two arrow glyphs on the
// handle point the way the next click moves the splitter.
#include "vcl/controls/controls.h"
#include "vcl/graphics/gdi.h"

#include <QPointer>
#include <memory>

namespace vcl {
class TBitmap;
class TInvertOverlay;
} // namespace vcl

namespace Qvsplitter {

Q_NAMESPACE

// Where the handle strip sits along the splitter.
enum THandleAlign { haLeft, haCenter, haRight };
Q_ENUM_NS(THandleAlign)
// The way the next click on the handle moves the splitter.
enum TClickOrientation { coLeft, coRight, coUp, coDown };
Q_ENUM_NS(TClickOrientation)
// How a drag is shown; the splitter always uses rsPattern (a checkered line).
enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
Q_ENUM_NS(TResizeStyle)

// May change or veto the size a drag proposes for the neighbouring control.
using TCanResizeEvent = std::function<void(vcl::TObject* Sender, int& NewSize, bool& Accept)>;

// A windowless splitter between two aligned controls of one parent: dragging resizes the
// control it is docked against, a click on the handle collapses it and the next gives
// its size back.
class TqvSplitter : public vcl::TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(vcl::Controls::TAlign Align READ Align WRITE SetAlign)
    Q_CLASSINFO("Default:Align", "alLeft")
    Q_CLASSINFO("Default:Cursor", "crHSplit")
    Q_PROPERTY(bool Handled READ Handled WRITE SetHandled)
    Q_CLASSINFO("Default:Handled", "True")
    Q_PROPERTY(int HandleSize READ HandleSize WRITE SetHandleSize)
    Q_CLASSINFO("Default:HandleSize", "80")
    Q_PROPERTY(Qvsplitter::THandleAlign HandleAlign READ HandleAlign WRITE SetHandleAlign)
    Q_CLASSINFO("Default:HandleAlign", "haCenter")
    Q_PROPERTY(int MinSize READ MinSize WRITE SetMinSize)
    Q_CLASSINFO("Default:MinSize", "30")

public:
    // Sizes in pixels.
    enum SplitterMetrics {
        DefaultWidth = 7,
        // The handle strip keeps this far from the ends for haLeft and haRight.
        HandleEndGap = 2,
        // Grip lines stop this far inside the handle; arrows sit this far in.
        GripInset = 12,
        ArrowInset = 4,
        ArrowOffset = 2,
    };
    static constexpr vcl::TColor DesignFrameColor = vcl::TColorOf(0xFFD8CE); // The dotted frame that shows the splitter at design time.

    // Creates the splitter (7 pixels wide, aligned left), owned (and freed) by AOwner.
    explicit TqvSplitter(vcl::TComponent* AOwner);
    ~TqvSplitter() override;

    // alNone and alClient are refused with an exception; the alignment stays as it was.
    void SetAlign(vcl::TAlign Value);
    vcl::TAlign Align() const { return TGraphicControl::Align(); }
    // Whether the handle strip shows its two grip lines.
    bool Handled() const { return FHandled; }
    void SetHandled(bool Value);
    // HandleSize and MinSize are natural numbers: a value below 1 is refused.
    int HandleSize() const { return FHandleSize; }
    void SetHandleSize(int Value);
    // Where the handle strip sits along the splitter.
    THandleAlign HandleAlign() const { return FHandleAlign; }
    void SetHandleAlign(THandleAlign Value);
    // The smallest size a drag leaves the neighbour (a click still collapses it to 0).
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value);
    // The way the next click moves the splitter; the arrows on the handle point that way.
    TClickOrientation ClickOrientation() const { return FClickOrientation; }
    void SetClickOrientation(TClickOrientation Value);
    TResizeStyle ResizeStyle() const { return rsPattern; } // Always rsPattern: a drag shows a checkered line.

    // The handle strip in the splitter's coordinates.
    vcl::TRect HandleRect() const;
    // True when the last mouse position lies on the handle strip (drawn or not).
    bool MouseInHandle() const;
    // True while a drag holds a neighbour.
    bool Sizing() const { return FControl != nullptr; }

    // Called with the size a drag proposes; may change it or refuse it.
    TCanResizeEvent OnCanResize;
    vcl::TNotifyEvent OnMoved; // Called after a drag or click changed the neighbour's size.
    vcl::TNotifyEvent OnPaint; // Called after the splitter painted itself.

protected:
    void Paint() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    virtual bool CanResize(int& NewSize);
    bool DoCanResize(int& NewSize);

private:
    bool Vertical() const;
    // Size of C along the drag axis (width beside a vertical splitter, else height).
    int SizeOf(const vcl::TControl* C) const;
    void PaintHandle(vcl::TCanvas* Canvas, int Start, int End);
    vcl::TControl* FindNeighbour() const;
    int MaximumSize() const;
    void CalcSplitSize(int X, int Y, int& NewSize, int& Split) const;
    void ToggleLine();
    void HookKeys();
    void UnhookKeys();
    void FinishHandleClick();
    void UpdateControlSize();
    void MoveBehindNeighbour();
    void StopSizing();
    void ResetOrientation();

    bool FHandled = true;
    int FHandleSize = 80;
    THandleAlign FHandleAlign = haCenter;
    int FMinSize = 30;
    TClickOrientation FClickOrientation = coLeft;
    std::unique_ptr<vcl::TBitmap> FArrows[4];
    vcl::TPoint FLastPos;
    vcl::TControl* FControl = nullptr;
    vcl::TPoint FDownPos;
    int FNewSize = 0;
    int FSplit = 0;
    int FMaxSize = 0;
    int FOldSize = -1;
    int FRestoreSize = 0;
    bool FLineVisible = false;
    vcl::TInvertOverlay* FOverlay = nullptr;
    vcl::HBRUSH FBrush = nullptr;
    QPointer<vcl::TWinControl> FKeyControl;
    vcl::TKeyEvent FSavedKeyDown;
};

} // namespace Qvsplitter
