#pragma once
// Qvcolorcombobox: TqvComboBox, the package's combo box with its properties published
// (type-ahead, completion and the flat frame of TqvCustomComboBox), and the colour combo
// box built on it (qvcolorcombo.h, with its entry names in qvcolornames.h).
#include "lists/qvcombobox.h"

namespace Qvcolorcombobox {
Q_NAMESPACE

// Options of the colour dialog the colour combo box opens, with the platform's bits.
// The framework's dialog always offers the full dialog and any colour, so only the
// choice itself is kept.
enum TColorDialogOption : unsigned { cdFullOpen = 0x2, cdPreventFullOpen = 0x4, cdShowHelp = 0x8, cdSolidColor = 0x80, cdAnyColor = 0x100 };
Q_DECLARE_FLAGS(TColorDialogOptions, TColorDialogOption)
Q_FLAG_NS(TColorDialogOptions)

// The package's combo box, with the type-ahead, completion and flat-frame properties of
// TqvCustomComboBox published.
class TqvComboBox : public Qvcombobox::TqvCustomComboBox {
    Q_OBJECT
    Q_PROPERTY(vcl::ComboBoxes::TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Style", "csDropDown")
    Q_PROPERTY(vcl::TStrings* Items READ Items)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_CLASSINFO("Default:ItemIndex", "-1")
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_CLASSINFO("Default:Sorted", "False")
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_CLASSINFO("Default:ItemHeight", "16")
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_CLASSINFO("Default:DropDownCount", "8")
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_CLASSINFO("Default:MaxLength", "0")
    Q_CLASSINFO("Default:Color", "clWindow")
    Q_CLASSINFO("Default:ParentColor", "False")
    Q_CLASSINFO("Default:TabStop", "True")
    Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE SetAllowEdit)
    Q_CLASSINFO("Default:AllowEdit", "True")
    Q_PROPERTY(bool BeepOnInvalidKey READ BeepOnInvalidKey WRITE SetBeepOnInvalidKey)
    Q_CLASSINFO("Default:BeepOnInvalidKey", "True")
    Q_PROPERTY(int DropDownWidth READ DropDownWidth WRITE SetDropDownWidth)
    Q_CLASSINFO("Default:DropDownWidth", "0")
    Q_PROPERTY(bool FlatButtons READ FlatButtons WRITE SetFlatButtons)
    Q_CLASSINFO("Default:FlatButtons", "True")
    Q_PROPERTY(vcl::TColor BorderFrameColor READ BorderFrameColor WRITE SetBorderFrameColor)
    Q_CLASSINFO("Default:BorderFrameColor", "clBtnShadow")
    Q_PROPERTY(bool BorderFrameFlat READ BorderFrameFlat WRITE SetBorderFrameFlat)
    Q_CLASSINFO("Default:BorderFrameFlat", "False")
    Q_PROPERTY(Qvutils::TFramesStyle BorderFrameFlatStyle READ BorderFrameFlatStyle WRITE SetBorderFrameFlatStyle)
    Q_CLASSINFO("Default:BorderFrameFlatStyle", "fsStatus")
    Q_PROPERTY(Qvutils::TFramesStyle BorderFrameFocusStyle READ BorderFrameFocusStyle WRITE SetBorderFrameFocusStyle)
    Q_CLASSINFO("Default:BorderFrameFocusStyle", "fsLowered")
    Q_PROPERTY(Qvcombobox::TFrameSides BorderFrameSides READ BorderFrameSides WRITE SetBorderFrameSides)
    Q_CLASSINFO("Default:BorderFrameSides", "[sdLeft,sdTop,sdRight,sdBottom]")
    Q_PROPERTY(Qvutils::TFramesStyle BorderFrameStyle READ BorderFrameStyle WRITE SetBorderFrameStyle)
    Q_CLASSINFO("Default:BorderFrameStyle", "fsFlat")
    Q_PROPERTY(bool BorderFrameVisible READ BorderFrameVisible WRITE SetBorderFrameVisible)
    Q_CLASSINFO("Default:BorderFrameVisible", "False")
public:
    // Creates the combo box, owned (and freed) by AOwner.
    explicit TqvComboBox(vcl::TComponent* AOwner);
};

} // namespace Qvcolorcombobox

Q_DECLARE_OPERATORS_FOR_FLAGS(Qvcolorcombobox::TColorDialogOptions)
