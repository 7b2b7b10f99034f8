#pragma once
// Extra controls: panels with bevels, a paint box, an image, shapes and bevels.
#include "vcl/controls/stdctrls.h"

#include <memory>

namespace vcl {

class TBitmap;

// The enumerations these controls publish, in a namespace of their own (one
// meta-object per header) brought into vcl by the using-directive.
namespace ExtCtrls {
Q_NAMESPACE

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TPanelBevel)
enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
Q_ENUM_NS(TShapeType)
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
Q_ENUM_NS(TBevelShape)
enum TBevelStyle { bsLowered, bsRaised };
Q_ENUM_NS(TBevelStyle)

} // namespace ExtCtrls
using namespace ExtCtrls;

class TPanel : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(vcl::ExtCtrls::TPanelBevel BevelInner READ BevelInner WRITE SetBevelInner)
    Q_CLASSINFO("Default:BevelInner", "bvNone")
    Q_PROPERTY(vcl::ExtCtrls::TPanelBevel BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_CLASSINFO("Default:BevelOuter", "bvRaised")
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_CLASSINFO("Default:BevelWidth", "1")
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_CLASSINFO("Default:BorderWidth", "0")
    Q_PROPERTY(vcl::StdCtrls::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_CLASSINFO("Default:Alignment", "taCenter")
public:
    explicit TPanel(TComponent* AOwner);

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel Value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    // Space between the outer and the inner bevel.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    void Paint() override;
    void AlignControls(TRect& Rect) override;

private:
    // Width of the bevels and border together: children sit inside it.
    int FrameWidth() const;
    template <class T>
    void Change(T& Field, T Value);

    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TAlignment FAlignment = taCenter;
};

// A rectangle to draw on in OnPaint.
class TPaintBox : public TGraphicControl {
    Q_OBJECT
public:
    explicit TPaintBox(TComponent* AOwner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

class TImage : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_CLASSINFO("Default:Stretch", "False")
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_CLASSINFO("Default:Center", "False")
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    // The picture shown; changes to it repaint the image.
    TBitmap* Picture() const { return FPicture.get(); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);

protected:
    void Paint() override;

private:
    std::unique_ptr<TBitmap> FPicture;
    bool FStretch = false;
    bool FCenter = false;
};

class TShape : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(vcl::ExtCtrls::TShapeType Shape READ Shape WRITE SetShape)
    Q_CLASSINFO("Default:Shape", "stRectangle")
    Q_PROPERTY(vcl::TPen* Pen READ Pen)
    Q_PROPERTY(vcl::TBrush* Brush READ Brush)
public:
    explicit TShape(TComponent* AOwner);
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType Value);
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }

protected:
    void Paint() override;

private:
    TShapeType FShape = stRectangle;
    TPen FPen;
    TBrush FBrush;
};

class TBevel : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(vcl::ExtCtrls::TBevelShape Shape READ Shape WRITE SetShape)
    Q_CLASSINFO("Default:Shape", "bsBox")
    Q_PROPERTY(vcl::ExtCtrls::TBevelStyle Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Style", "bsLowered")
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape Value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle Value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

} // namespace vcl
