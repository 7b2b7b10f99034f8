#include "lists/qvfontcombo.h"

#include "vcl/controls/printers.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"
#include "vcl/graphics/fontenum.h"
#include "vcl/graphics/graphicsobjects.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace Qvfontcombo {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(
    QStringLiteral("Qvfontcombo"), {"Qvcolorcombobox", "Qvcombobox", "Qvutils"});

using namespace vcl;

namespace {

constexpr std::array<const char*, 5> GlyphResources{"TRUETYPE", "FIXEDPITCH", "TRUETYPEFIXED", "PRINTER", "DEVICE"};

TObject* PitchObject(uint8_t PitchAndFamily)
{
    return reinterpret_cast<TObject*>(uintptr_t(PitchAndFamily));
}

using TFamilies = std::vector<std::pair<QString, uint8_t>>;

// Every family the context reports, with its pitch-and-family value; the enumeration
// always runs to the end.
TFamilies EnumerateFamilies(HDC DC)
{
    TFamilies families;
    EnumFontFamilies(
        DC, QString(),
        [&families](const ENUMLOGFONT& LogFont, const NEWTEXTMETRIC& Metrics, int, LPARAM) {
            families.emplace_back(LogFont.elfLogFont.lfFaceName, Metrics.tmPitchAndFamily);
            return 1;
        },
        0);
    return families;
}

} // namespace

TqvFontCombo::TqvFontCombo(TComponent* AOwner)
    : TqvComboBox(AOwner)
    , FFont(std::make_unique<TFont>())
{
    SetStyle(csOwnerDrawVariable);
    SetSorted(true);
    FFont->SetSize(8);
    LoadBitmaps();
    // The list is there from the start, so code may select a family before the box is
    // first shown; every new window loads it again.
    LoadFonts();
}

TqvFontCombo::~TqvFontCombo() = default;

void TqvFontCombo::LoadBitmaps()
{
    for (size_t i = 0; i < GlyphResources.size(); ++i) {
        FGlyphs[i] = std::make_unique<TBitmap>();
        FGlyphs[i]->LoadFromResourceName(QString::fromLatin1(GlyphResources[i]));
    }
}

bool TqvFontCombo::Accepts(uint8_t PitchAndFamily) const
{
    switch (FFontType) {
    case ftTrueType: return PitchAndFamily & TMPF_TRUETYPE;
    case ftFixedPitch: return !(PitchAndFamily & TMPF_FIXED_PITCH);
    default: return true;
    }
}

// ftPrinter lists the families the chosen printer prints with (none without a
// printer), whatever FontDevice says. The printer device falls back to the screen's
// families when the print system offers no printer.
void TqvFontCombo::LoadFonts()
{
    TFamilies families;
    if (FFontType == ftPrinter) {
        for (const QString& family : Printer()->Fonts())
            families.emplace_back(family, PitchAndFamilyOf(family));
    } else if (HDC printer = FFontDevice == fdPrinter ? Printer()->Handle() : nullptr; printer != nullptr) {
        families = EnumerateFamilies(printer);
    } else {
        HDC screen = GetDC(nullptr);
        families = EnumerateFamilies(screen);
        ReleaseDC(nullptr, screen);
    }
    TStrings* items = Items();
    items->BeginUpdate();
    items->Clear();
    for (const auto& [name, pitch] : families)
        if (Accepts(pitch))
            items->AddObject(name, PitchObject(pitch));
    items->EndUpdate();
}

void TqvFontCombo::Reload()
{
    const QString name = FontName();
    LoadFonts();
    SetFontName(name);
}

void TqvFontCombo::CreateWnd()
{
    TqvComboBox::CreateWnd();
    Reload();
    if (!FSavedFontName.isEmpty())
        SetFontName(FSavedFontName);
}

void TqvFontCombo::DestroyWnd()
{
    FSavedFontName = FontName();
    TqvComboBox::DestroyWnd();
}

void TqvFontCombo::CMFontChanged(TMessage& Message)
{
    TqvComboBox::CMFontChanged(Message);
    RecreateWnd();
}

void TqvFontCombo::SetFontDevice(TFontDevice Value)
{
    if (FFontDevice == Value)
        return;
    FFontDevice = Value;
    HandleAllocated() ? RecreateWnd() : Reload();
}

void TqvFontCombo::SetFontType(TFontType Value)
{
    if (FFontType == Value)
        return;
    FFontType = Value;
    HandleAllocated() ? RecreateWnd() : Reload();
}

QString TqvFontCombo::FontName() const
{
    return ItemIndex() < 0 ? QString() : Items()->Strings(ItemIndex());
}

void TqvFontCombo::SetFontName(const QString& Value)
{
    QString name = Value;
    SetItemIndex(Value.isEmpty() ? -1 : int(Perform(CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(&name))));
}

TFont* TqvFontCombo::SelectedFont()
{
    if (ItemIndex() < 0)
        return nullptr;
    FFont->SetName(FontName());
    FFont->SetSize(FFontSize);
    return FFont.get();
}

void TqvFontCombo::SetSelectedFont(const TFont* Value)
{
    SetFontName(Value != nullptr ? Value->Name() : QString());
}

TqvFontCombo::TGlyph TqvFontCombo::GlyphOf(uint8_t PitchAndFamily) const
{
    const bool trueType = PitchAndFamily & TMPF_TRUETYPE;
    const bool fixed = !(PitchAndFamily & TMPF_FIXED_PITCH);
    if (trueType)
        return fixed ? glTrueTypeFixed : glTrueType;
    if (fixed)
        return glFixedPitch;
    return FFontDevice == fdPrinter ? glPrinter : glDevice;
}

void TqvFontCombo::MeasureItem(int Index, int& Height)
{
    const int minimum = Qvutils::GetMinFontHeight(Font());
    Height = Index < 0 ? minimum : minimum + ItemExtraHeight;
    TqvComboBox::MeasureItem(Index, Height);
}

void TqvFontCombo::DrawItem(int Index, const TRect& Rect, TOwnerDrawState)
{
    TCanvas* canvas = Canvas();
    TRect r = Rect;
    r.Left += NameIndent;
    // The glyph's column shows the control's colour, also when the entry is selected.
    const TColor back = canvas->Brush()->Color();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect);
    canvas->Brush()->SetColor(back);
    canvas->FillRect(r);
    const auto pitch = uint8_t(reinterpret_cast<uintptr_t>(Items()->Objects(Index)));
    TBitmap* glyph = FGlyphs[size_t(GlyphOf(pitch))].get();
    Qvutils::DrawBitmapTransparent(
        canvas, r.Left - GlyphOffset, r.Top + (r.Bottom - r.Top - GlyphSize) / 2, glyph, GlyphTransparentColor);
    if (!Enabled())
        canvas->Font()->SetColor(clGrayText);
    const int v = (r.Bottom - r.Top - canvas->TextHeight(QStringLiteral("Yy"))) / 2;
    canvas->TextOut(r.Left + TextIndent, r.Top + v, Items()->Strings(Index));
}

} // namespace Qvfontcombo
