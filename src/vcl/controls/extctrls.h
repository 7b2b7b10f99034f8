#pragma once
// Extra controls: panels with bevels, a paint box, an image, shapes and bevels.
#include "vcl/controls/stdctrls.h"

#include <memory>

namespace vcl {

class TBitmap;

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(int BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(int BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(int Alignment READ Alignment WRITE SetAlignment)
public:
    explicit TPanel(TComponent* AOwner);

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel Value);
    void SetBevelInner(int Value) { SetBevelInner(static_cast<TPanelBevel>(Value)); }
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel Value);
    void SetBevelOuter(int Value) { SetBevelOuter(static_cast<TPanelBevel>(Value)); }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    // Space between the outer and the inner bevel.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    void SetAlignment(int Value) { SetAlignment(static_cast<TAlignment>(Value)); }

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
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
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

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(int Shape READ Shape WRITE SetShape)
public:
    explicit TShape(TComponent* AOwner);
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType Value);
    void SetShape(int Value) { SetShape(static_cast<TShapeType>(Value)); }
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }

protected:
    void Paint() override;

private:
    TShapeType FShape = stRectangle;
    TPen FPen;
    TBrush FBrush;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(int Shape READ Shape WRITE SetShape)
    Q_PROPERTY(int Style READ Style WRITE SetStyle)
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape Value);
    void SetShape(int Value) { SetShape(static_cast<TBevelShape>(Value)); }
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle Value);
    void SetStyle(int Value) { SetStyle(static_cast<TBevelStyle>(Value)); }

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

} // namespace vcl
