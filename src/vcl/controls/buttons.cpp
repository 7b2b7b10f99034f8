#include "vcl/controls/buttons.h"

#include "vcl/controls/menus.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"

namespace vcl {

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 23, 22);
    SetControlStyle(TControlStyle(csCaptureMouse) | csDoubleClicks);
    FGlyph->OnChange = [this](TObject*) {
        if (!FGlyph->Empty()) {
            FGlyph->SetTransparentColor(FGlyph->Canvas()->Pixels(0, FGlyph->Height() - 1));
            FGlyph->SetTransparent(true);
        }
        Invalidate();
    };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetDown(bool Value)
{
    // A button outside a group cannot stay down.
    if (FGroupIndex == 0)
        Value = false;
    if (FDown == Value)
        return;
    // The down button of a group comes up only when all may be up.
    if (FDown && !FAllowAllUp)
        return;
    FDown = Value;
    if (Value)
        UpdateExclusive();
    Invalidate();
}

void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || Parent() == nullptr)
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other != nullptr && other != this && other->FGroupIndex == FGroupIndex && other->FDown) {
            other->FDown = false;
            other->Invalidate();
        }
    }
}

void TSpeedButton::SetFlat(bool Value)
{
    ChangeProperty(FFlat, Value);
}

void TSpeedButton::SetLayout(TButtonLayout Value)
{
    ChangeProperty(FLayout, Value);
}

void TSpeedButton::SetSpacing(int Value)
{
    ChangeProperty(FSpacing, Value);
}

void TSpeedButton::Click()
{
    if (OnClick)
        OnClick(this);
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    FPressed = true;
    Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FPressed)
        return;
    FPressed = false;
    Invalidate();
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height())
        return;
    if (FGroupIndex != 0)
        SetDown(!FDown);
    Click();
}

void TSpeedButton::CMMouseEnter(TMessage&)
{
    FMouseInControl = true;
    if (FFlat)
        Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage&)
{
    FMouseInControl = false;
    if (FFlat)
        Invalidate();
}

void TSpeedButton::CMDialogChar(TMessage& Message)
{
    if (Enabled() && Visible() && IsAccel(static_cast<uint16_t>(Message.WParam), Caption())) {
        if (FGroupIndex != 0)
            SetDown(!FDown);
        Click();
        Message.Result = 1;
    }
}

void TSpeedButton::Paint()
{
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    const bool sunken = FPressed || FDown;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(r);
    if (!FFlat || FMouseInControl || sunken) {
        TRect edge = r;
        DrawEdge(canvas->Handle(), edge, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    // Glyph and caption as one block centred on the face, in the order of Layout.
    canvas->SetFont(Font());
    // The accelerator mark ("&Yes") is not shown.
    const QString caption = StripHotkey(Text());
    const int textW = caption.isEmpty() ? 0 : canvas->TextWidth(caption);
    const int textH = caption.isEmpty() ? 0 : canvas->TextHeight(caption);
    const int glyphW = FGlyph->Empty() ? 0 : FGlyph->Width();
    const int glyphH = FGlyph->Empty() ? 0 : FGlyph->Height();
    const int gap = glyphW > 0 && textW > 0 ? FSpacing : 0;
    const bool across = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const int blockW = across ? glyphW + gap + textW : std::max(glyphW, textW);
    const int blockH = across ? std::max(glyphH, textH) : glyphH + gap + textH;
    const int offset = sunken ? 1 : 0;
    const int left = (Width() - blockW) / 2 + offset;
    const int top = (Height() - blockH) / 2 + offset;
    TPoint glyphAt, textAt;
    switch (FLayout) {
    case blGlyphLeft:
        glyphAt = Point(left, top + (blockH - glyphH) / 2);
        textAt = Point(left + glyphW + gap, top + (blockH - textH) / 2);
        break;
    case blGlyphRight:
        textAt = Point(left, top + (blockH - textH) / 2);
        glyphAt = Point(left + textW + gap, top + (blockH - glyphH) / 2);
        break;
    case blGlyphTop:
        glyphAt = Point(left + (blockW - glyphW) / 2, top);
        textAt = Point(left + (blockW - textW) / 2, top + glyphH + gap);
        break;
    case blGlyphBottom:
        textAt = Point(left + (blockW - textW) / 2, top);
        glyphAt = Point(left + (blockW - glyphW) / 2, top + textH + gap);
        break;
    }
    if (glyphW > 0)
        canvas->Draw(glyphAt.X, glyphAt.Y, FGlyph.get());
    if (textW > 0) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
        canvas->TextOut(textAt.X, textAt.Y, caption);
    }
}

} // namespace vcl
