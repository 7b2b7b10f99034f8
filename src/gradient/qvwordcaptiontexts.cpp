#include "gradient/qvwordcaptiontexts.h"

#include "gradient/qvwordcaption.h"
#include "vcl/graphics/gdi.h"

namespace Qvwordcaption {

using namespace vcl;

namespace {

// Character height: the cell height less the internal leading.
int CharacterHeight(HDC DC, const TFont& Font)
{
    HFONT font = CreateFontIndirect(LogFontOf(Font));
    HGDIOBJ old = SelectObject(DC, font);
    TEXTMETRIC metrics;
    GetTextMetrics(DC, metrics);
    SelectObject(DC, old);
    DeleteObject(font);
    return metrics.tmHeight - metrics.tmInternalLeading;
}

// Drops Text and one space after it from the front of Caption, when Text is visible,
// not empty and Caption begins with it.
void DropLeadingText(QString& Caption, const TCompanyText& Text)
{
    if (!Text.Visible() || Text.Caption().isEmpty() || !Caption.startsWith(Text.Caption()))
        return;
    Caption.remove(0, Text.Caption().size());
    if (Caption.startsWith(u' '))
        Caption.remove(0, 1);
}

} // namespace

void SetAutoFontHeight(TFont& Font, const TFont& SystemFont)
{
    HDC dc = GetDC(nullptr);
    const int s = CharacterHeight(dc, SystemFont);
    int f = CharacterHeight(dc, Font);
    Font.SetHeight(Font.Height() + f - s);
    // Font sizes do not scale exactly: one more step when the font is still too tall.
    f = CharacterHeight(dc, Font);
    if (s < f)
        Font.SetHeight(Font.Height() + f - s);
    ReleaseDC(nullptr, dc);
}

TCompanyText::TCompanyText(TqvGradientCaption* AOwner)
    : FFont(std::make_unique<TFont>())
    , FOwner(AOwner)
{
    SetFontKind_NoRedraw(fkSystem);
}

TCompanyText::~TCompanyText() = default;

void TCompanyText::SetCaption(const QString& Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    RebuildFormCaption();
}

void TCompanyText::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    RebuildFormCaption();
}

void TCompanyText::RebuildFormCaption()
{
    FOwner->NewCaptionText();
    FOwner->DesignUpdate();
}

void TCompanyText::SetColorActive(TColor Value)
{
    FColorActive = Value;
    FOwner->DesignUpdate();
}

void TCompanyText::SetColorInactive(TColor Value)
{
    FColorInactive = Value;
    FOwner->DesignUpdate();
}

void TCompanyText::SetFont(TFont* Value)
{
    FFont->Assign(Value);
    if (FFontKind == fkAutoHeight)
        SetAutoFontHeight(*FFont, FOwner->SystemFont());
    else
        FFontKind = fkCustom;
    FOwner->DesignUpdate();
}

void TCompanyText::SetFontKind(TFontKind Value)
{
    SetFontKind_NoRedraw(Value);
    FOwner->DesignUpdate();
}

void TCompanyText::SetFontKind_NoRedraw(TFontKind Value)
{
    FFontKind = Value;
    TFontStyles added;
    switch (Value) {
    case fkCustom: return;
    case fkAutoHeight: SetAutoFontHeight(*FFont, FOwner->SystemFont()); return;
    case fkSystem: break;
    case fkSystemI: added = fsItalic; break;
    case fkSystemB: added = fsBold; break;
    case fkSystemBI: added = TFontStyles(fsBold) | fsItalic; break;
    }
    FFont->Assign(&FOwner->SystemFont());
    FFont->SetStyle(FFont->Style() | added);
}

QString TCaptionText::GetCaption() const
{
    // A hidden caption text is no part of the form's caption: its own text stands.
    if (!Visible())
        return FCaption;
    const TCustomForm* form = CaptionOwner()->Form();
    QString caption = form != nullptr ? form->Caption() : QString();
    DropLeadingText(caption, *CaptionOwner()->CompanyText());
    DropLeadingText(caption, *CaptionOwner()->AppNameText());
    return caption;
}

} // namespace Qvwordcaption
