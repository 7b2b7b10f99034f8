#pragma once
// Qvcolorcombobox: TqvColorCombo, an owner-drawn drop-down list for picking a colour.
// It lists a default entry, a custom entry that opens the colour dialog, a separator
// line (each optional) and the sixteen standard colours, each drawn as a framed swatch
// with its name beside it.
#include "lists/qvcolorcombobox.h"
#include "lists/qvcolornames.h"

#include <memory>
#include <optional>

namespace vcl {
class TStringList;
} // namespace vcl

namespace Qvcolorcombobox {

// A combo box of colours, each entry with its swatch and name: a default entry, the
// sixteen standard colours, a separator and a custom entry that opens the colour dialog.
class TqvColorCombo : public TqvComboBox {
    Q_OBJECT
    Q_CLASSINFO("Default:Style", "csOwnerDrawVariable")
    // A new colour combo box selects its first entry, and so does one read from a form
    // file that gives no selection; a file's explicit -1 (nothing selected) is kept.
    Q_CLASSINFO("Default:ItemIndex", "0")
    Q_PROPERTY(Qvcolorcombobox::TColorNames* ColorNames READ ColorNames WRITE SetColorNames)
    Q_CLASSINFO("Stored:ColorNames", "NamesChanged")
    Q_PROPERTY(vcl::TColor CustomColor READ CustomColor WRITE SetCustomColor)
    Q_CLASSINFO("Default:CustomColor", "clBlack")
    Q_PROPERTY(vcl::TStrings* CustomColors READ CustomColors WRITE SetCustomColors)
    Q_PROPERTY(Qvcolorcombobox::TColorDialogOptions ColorDlgOptions READ ColorDlgOptions WRITE SetColorDlgOptions)
    Q_CLASSINFO("Default:ColorDlgOptions", "[cdFullOpen]")
    Q_PROPERTY(vcl::TColor DefaultColor READ DefaultColor WRITE SetDefaultColor)
    Q_CLASSINFO("Default:DefaultColor", "clWhite")
    Q_PROPERTY(bool ShowColorNames READ ShowColorNames WRITE SetShowColorNames)
    Q_CLASSINFO("Default:ShowColorNames", "True")
    Q_PROPERTY(bool ShowCustomColor READ ShowCustomColor WRITE SetShowCustomColor)
    Q_CLASSINFO("Default:ShowCustomColor", "True")
    Q_PROPERTY(bool ShowDefaultColor READ ShowDefaultColor WRITE SetShowDefaultColor)
    Q_CLASSINFO("Default:ShowDefaultColor", "True")
    Q_PROPERTY(bool ShowSeparator READ ShowSeparator WRITE SetShowSeparator)
    Q_CLASSINFO("Default:ShowSeparator", "True")
    // Follows from ItemIndex, which the form file keeps.
    Q_PROPERTY(vcl::TColor SelectedColor READ SelectedColor WRITE SetSelectedColor STORED false)
public:
    // Sizes in pixels.
    enum ColorComboMetrics {
        // Names start this far right of the item's left edge; the swatch sits in the gap.
        NameIndent = 24,
        SwatchWidth = 14,
        // The swatch's inset from the item's edges: in the list and in the box's face.
        ListSwatchInset = 4,
        EditSwatchInset = 2,
        // Without names the custom entry's swatch leaves this much room on its right.
        CustomSwatchGap = 20,
        // Items are this much higher than the font's minimum height.
        ItemExtraHeight = 4,
        TextIndent = 2,
    };

    // Creates the combo box with its entries, owned (and freed) by AOwner.
    explicit TqvColorCombo(vcl::TComponent* AOwner);
    ~TqvColorCombo() override;

    // The colour of entry Index (0 for an index outside the list).
    vcl::TColor GetColorFromItem(int Index) const;
    // The selected entry's colour, or DefaultColor when nothing is selected.
    vcl::TColor SelectedColor() const;
    // Selects the standard colour of that value, else the default entry, else the
    // custom entry with CustomColor := Value.
    void SetSelectedColor(vcl::TColor Value);

    // The entries' names; assigning copies them, renaming the entries.
    TColorNames* ColorNames() const { return FColorNames.get(); }
    void SetColorNames(TColorNames* Value);
    // The colour of the custom entry.
    vcl::TColor CustomColor() const { return FCustomColor; }
    void SetCustomColor(vcl::TColor Value);
    // The custom colours the colour dialog offers.
    vcl::TStrings* CustomColors() const;
    void SetCustomColors(vcl::TStrings* Value);
    // Options for the colour dialog; only stored (the framework's dialog takes none).
    TColorDialogOptions ColorDlgOptions() const { return FColorDlgOptions; }
    void SetColorDlgOptions(TColorDialogOptions Value) { FColorDlgOptions = Value; }
    // The colour of the default entry.
    vcl::TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(vcl::TColor Value);
    // Whether the entries show their names beside the swatches.
    bool ShowColorNames() const { return FShowColorNames; }
    void SetShowColorNames(bool Value);
    // Whether the custom entry is listed.
    bool ShowCustomColor() const { return FShowCustomColor; }
    void SetShowCustomColor(bool Value);
    // Whether the default entry is listed.
    bool ShowDefaultColor() const { return FShowDefaultColor; }
    void SetShowDefaultColor(bool Value);
    // Whether a separator line is listed.
    bool ShowSeparator() const { return FShowSeparator; }
    void SetShowSeparator(bool Value);

    // Positions of the optional entries (-1 when not listed) and of standard colour
    // Index (0..15).
    //@{
    int DefaultEntryIndex() const { return FShowDefaultColor ? 0 : -1; }
    int CustomEntryIndex() const;
    int SeparatorIndex() const;
    int StandardEntryIndex(int Index) const;
    //@}
    // Gives entry Index the caption Name, keeping the selection (nothing for -1).
    void RenameEntry(int Index, const QString& Name);
    // True once an entry was renamed (ColorNames is then stored in form files).
    Q_INVOKABLE bool NamesChanged() const { return FNamesChanged; }

protected:
    void CreateWnd() override;
    void CloseUp() override;
    void CNCommand(vcl::TMessage& Message) override;
    void CMFontChanged(vcl::TMessage& Message) override;
    void MeasureItem(int Index, int& Height) override;
    void DrawItem(int Index, const vcl::TRect& Rect, vcl::TOwnerDrawState State) override;

private:
    int OptionalEntryCount() const;
    // What the selected entry is: a standard colour's index, or one of the optional
    // entries' kinds.
    int SelectedEntryKind() const;
    void BuildEntries(int Selected);
    void RebuildForNewLayout(int Selected);
    void SetEntryColor(int Index, vcl::TColor Value);
    void DrawSwatch(int Index, vcl::TRect R, bool InEdit);
    void DrawSeparator(const vcl::TRect& R, vcl::TOwnerDrawState State);
    void RunColorDialog();

    bool FCancelled = false;
    vcl::TColor FDefaultColor = vcl::clWhite;
    vcl::TColor FCustomColor = vcl::clBlack;
    std::unique_ptr<TColorNames> FColorNames;
    bool FShowColorNames = true;
    bool FShowDefaultColor = true;
    bool FShowCustomColor = true;
    bool FShowSeparator = true;
    TColorDialogOptions FColorDlgOptions = TColorDialogOptions(cdFullOpen);
    std::unique_ptr<vcl::TStringList> FCustomColors;
    bool FNamesChanged = false;
    // The entry to select again once a new window has rebuilt the list.
    std::optional<int> FPendingSelection;
};

} // namespace Qvcolorcombobox
