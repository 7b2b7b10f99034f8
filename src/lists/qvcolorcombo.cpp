#include "lists/qvcolorcombo.h"

#include "frame/qvutils.h"
#include "vcl/controls/dialogs.h"
#include "vcl/core/strings.h"
#include "vcl/graphics/canvas.h"

namespace Qvcolorcombobox {

using namespace vcl;

namespace {

// Entries carry their colour as the item's object value.
TObject* ColorObject(TColor Value)
{
    return reinterpret_cast<TObject*>(uintptr_t(uint32_t(Value.Value)));
}

// What an entry is, so that a rebuilt list selects the same entry again.
enum EntryKind { NoEntry = -1, DefaultEntry = 100, CustomEntry = 101, SeparatorEntry = 102 };

// Swatches of light colours get a grey frame, dark ones a black frame.
TColor SwatchFrameColor(TColor Color)
{
    const uint32_t rgb = uint32_t(ColorToRGB(Color).Value);
    const bool light = (rgb & 0xFF) > 0x80 || ((rgb >> 8) & 0xFF) > 0x80 || ((rgb >> 16) & 0xFF) > 0x80;
    return light ? TColorOf(0x808080) : clBlack;
}

} // namespace

TqvColorCombo::TqvColorCombo(TComponent* AOwner)
    : TqvComboBox(AOwner)
    , FColorNames(std::make_unique<TColorNames>(this))
    , FCustomColors(std::make_unique<TStringList>())
{
    SetStyle(csOwnerDrawVariable);
    // The entries exist from the start, so that code may select colours before the
    // box is first shown; every new window rebuilds them.
    BuildEntries(DefaultEntry);
}

TqvColorCombo::~TqvColorCombo() = default;

int TqvColorCombo::OptionalEntryCount() const
{
    return int(FShowDefaultColor) + int(FShowCustomColor) + int(FShowSeparator);
}

int TqvColorCombo::CustomEntryIndex() const
{
    return FShowCustomColor ? int(FShowDefaultColor) : -1;
}

int TqvColorCombo::SeparatorIndex() const
{
    return FShowSeparator ? int(FShowDefaultColor) + int(FShowCustomColor) : -1;
}

int TqvColorCombo::StandardEntryIndex(int Index) const
{
    return Index + OptionalEntryCount();
}

int TqvColorCombo::SelectedEntryKind() const
{
    const int selected = ItemIndex();
    if (selected < 0)
        return NoEntry;
    return selected == DefaultEntryIndex()  ? DefaultEntry
           : selected == CustomEntryIndex() ? CustomEntry
           : selected == SeparatorIndex()   ? SeparatorEntry
                                            : selected - OptionalEntryCount();
}

// The names come from ColorNames, which always holds the current ones, so a rebuilt
// list keeps every rename. The entry of kind Selected is selected again when it is
// still listed, else the first entry.
void TqvColorCombo::BuildEntries(int Selected)
{
    TStrings* items = Items();
    items->BeginUpdate();
    items->Clear();
    if (FShowDefaultColor)
        items->AddObject(FColorNames->Default(), ColorObject(FDefaultColor));
    if (FShowCustomColor)
        items->AddObject(FColorNames->Custom(), ColorObject(FCustomColor));
    if (FShowSeparator)
        items->AddObject(QStringLiteral("-"), ColorObject(clBlack));
    for (int i = 0; i < TColorNames::StandardColorCount; ++i)
        items->AddObject(FColorNames->GetStandardColor(i), ColorObject(Qvutils::ColorValues[size_t(i)]));
    items->EndUpdate();
    const int index = Selected == DefaultEntry     ? DefaultEntryIndex()
                      : Selected == CustomEntry    ? CustomEntryIndex()
                      : Selected == SeparatorEntry ? SeparatorIndex()
                      : Selected == NoEntry        ? -1
                                                   : StandardEntryIndex(Selected);
    SetItemIndex(Selected == NoEntry || index >= 0 ? index : 0);
}

void TqvColorCombo::RebuildForNewLayout(int Selected)
{
    if (!HandleAllocated()) {
        BuildEntries(Selected);
        return;
    }
    FPendingSelection = Selected;
    RecreateWnd();
}

void TqvColorCombo::CreateWnd()
{
    TqvComboBox::CreateWnd();
    BuildEntries(FPendingSelection.value_or(SelectedEntryKind()));
    FPendingSelection.reset();
}

void TqvColorCombo::CMFontChanged(TMessage& Message)
{
    TqvComboBox::CMFontChanged(Message);
    RecreateWnd();
}

void TqvColorCombo::RenameEntry(int Index, const QString& Name)
{
    FNamesChanged = true;
    if (Index < 0 || Index >= Items()->Count())
        return;
    const int selected = ItemIndex();
    Items()->SetStrings(Index, Name);
    SetItemIndex(selected);
}

void TqvColorCombo::SetEntryColor(int Index, TColor Value)
{
    if (Index >= 0 && Index < Items()->Count()) {
        Items()->SetObjects(Index, ColorObject(Value));
        Invalidate();
    }
}

TColor TqvColorCombo::GetColorFromItem(int Index) const
{
    if (Index < 0 || Index >= Items()->Count())
        return clBlack;
    return TColorOf(uint32_t(reinterpret_cast<uintptr_t>(Items()->Objects(Index))));
}

TColor TqvColorCombo::SelectedColor() const
{
    return ItemIndex() < 0 ? FDefaultColor : GetColorFromItem(ItemIndex());
}

// A colour with an entry of its own selects that entry: the standard colours come
// first, then the default entry, and the separator (which carries black) never
// matches. Another colour becomes the custom colour; without a custom entry nothing
// is selected.
void TqvColorCombo::SetSelectedColor(TColor Value)
{
    int index = -1;
    for (int i = 0; i < TColorNames::StandardColorCount && index < 0; ++i)
        if (Qvutils::ColorValues[size_t(i)] == Value)
            index = StandardEntryIndex(i);
    if (index < 0 && FShowDefaultColor && FDefaultColor == Value)
        index = DefaultEntryIndex();
    if (index < 0) {
        SetCustomColor(Value);
        index = CustomEntryIndex();
    }
    SetItemIndex(index);
    Change();
}

void TqvColorCombo::SetDefaultColor(TColor Value)
{
    if (FDefaultColor == Value)
        return;
    FDefaultColor = Value;
    SetEntryColor(DefaultEntryIndex(), Value);
}

void TqvColorCombo::SetCustomColor(TColor Value)
{
    if (FCustomColor == Value)
        return;
    FCustomColor = Value;
    SetEntryColor(CustomEntryIndex(), Value);
}

void TqvColorCombo::SetColorNames(TColorNames* Value)
{
    FColorNames->Assign(Value);
}

TStrings* TqvColorCombo::CustomColors() const
{
    return FCustomColors.get();
}

void TqvColorCombo::SetCustomColors(TStrings* Value)
{
    FCustomColors->Assign(Value);
}

void TqvColorCombo::SetShowColorNames(bool Value)
{
    ChangeProperty(FShowColorNames, Value);
}

void TqvColorCombo::SetShowDefaultColor(bool Value)
{
    if (FShowDefaultColor == Value)
        return;
    const int selected = SelectedEntryKind();
    FShowDefaultColor = Value;
    RebuildForNewLayout(selected);
}

void TqvColorCombo::SetShowCustomColor(bool Value)
{
    if (FShowCustomColor == Value)
        return;
    const int selected = SelectedEntryKind();
    FShowCustomColor = Value;
    RebuildForNewLayout(selected);
}

void TqvColorCombo::SetShowSeparator(bool Value)
{
    if (FShowSeparator == Value)
        return;
    const int selected = SelectedEntryKind();
    FShowSeparator = Value;
    RebuildForNewLayout(selected);
}

// ---------------------------------------------------------------------------
// The custom entry's dialog

void TqvColorCombo::CNCommand(TMessage& Message)
{
    switch (HIWORD(Message.WParam)) {
    case CBN_SELENDCANCEL: FCancelled = true; break;
    case CBN_SELENDOK: FCancelled = false; break;
    default: break;
    }
    TqvComboBox::CNCommand(Message);
}

void TqvColorCombo::CloseUp()
{
    TqvComboBox::CloseUp();
    if (!FCancelled && FShowCustomColor && ItemIndex() == CustomEntryIndex())
        RunColorDialog();
}

void TqvColorCombo::RunColorDialog()
{
    TColorDialog dialog(this);
    dialog.SetColor(SelectedColor());
    QStringList colors;
    for (int i = 0; i < FCustomColors->Count(); ++i)
        colors << FCustomColors->Strings(i);
    dialog.SetCustomColors(colors);
    if (!dialog.Execute())
        return;
    FCustomColors->Clear();
    for (const QString& line : dialog.CustomColors())
        FCustomColors->Add(line);
    SetCustomColor(dialog.Color());
}

// ---------------------------------------------------------------------------
// Measuring and drawing

void TqvColorCombo::MeasureItem(int Index, int& Height)
{
    const int minimum = Qvutils::GetMinFontHeight(Font());
    Height = Index < 0 ? minimum : minimum + ItemExtraHeight;
    TqvComboBox::MeasureItem(Index, Height);
}

void TqvColorCombo::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    TCanvas* canvas = Canvas();
    const bool inEdit = State.testFlag(odComboBoxEdit);
    const bool separator = Index == SeparatorIndex();
    TRect r = Rect;
    if (FShowColorNames && !separator)
        r.Left += NameIndent;
    const TColor back = canvas->Brush()->Color();
    // Left of the name the entry shows the control's colour, also when it is selected.
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect);
    canvas->Brush()->SetColor(back);
    canvas->FillRect(r);
    if (separator)
        DrawSeparator(r, State);
    else
        DrawSwatch(Index, r, inEdit);
    if (!FShowColorNames || separator)
        return;
    canvas->Brush()->SetColor(back);
    if (!Enabled())
        canvas->Font()->SetColor(clGrayText);
    const int v = (r.Bottom - r.Top - canvas->TextHeight(QStringLiteral("Yy"))) / 2;
    canvas->TextOut(r.Left + TextIndent, r.Top + v, Items()->Strings(Index));
}

void TqvColorCombo::DrawSwatch(int Index, TRect R, bool InEdit)
{
    TCanvas* canvas = Canvas();
    const int inset = InEdit ? EditSwatchInset : ListSwatchInset;
    TRect s = Rect(R.Left + inset, R.Top + inset, R.Right - inset, R.Bottom - inset);
    if (FShowColorNames) {
        s.Left -= NameIndent;
        s.Right = s.Left + SwatchWidth;
    } else if (Index == CustomEntryIndex()) {
        s.Right -= CustomSwatchGap;
    }
    const TColor color = GetColorFromItem(Index);
    canvas->Brush()->SetColor(color);
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->Rectangle(s);
    const TColor frame = SwatchFrameColor(color);
    Qvutils::DrawSides(canvas, s, frame, frame, Qvutils::AllSides);
}

// The line runs through the middle of the entry's own height (its measured height,
// which ItemHeight does not give in the variable-height style).
void TqvColorCombo::DrawSeparator(const TRect& R, TOwnerDrawState State)
{
    TCanvas* canvas = Canvas();
    if (State.testFlag(odSelected))
        canvas->Pen()->SetColor(clHighlightText);
    else
        canvas->Pen()->SetColor(Enabled() ? clBlack : clGrayText);
    const int y = R.Top + (R.Bottom - R.Top) / 2;
    canvas->MoveTo(R.Left, y);
    canvas->LineTo(R.Right, y);
}

} // namespace Qvcolorcombobox
