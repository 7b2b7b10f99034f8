#pragma once
// Qvfontcombo: TqvFontCombo, an owner-drawn combo box of the font families of the
// screen or of the printer. Each entry shows a small glyph of its kind (TrueType,
// TrueType fixed pitch, fixed pitch, printer or device font) and the family name; the
// selection is offered as a name and as a font object.
#include "lists/qvcolorcombobox.h"

#include <array>
#include <memory>

namespace vcl {
class TBitmap;
class TFont;
} // namespace vcl

namespace Qvfontcombo {
Q_NAMESPACE

// Where the families come from: the screen or the printer.
enum TFontDevice { fdScreen, fdPrinter };
Q_ENUM_NS(TFontDevice)
// Which families are listed: all, TrueType only, fixed-pitch only, or the printer's.
enum TFontType { ftAll, ftTrueType, ftFixedPitch, ftPrinter };
Q_ENUM_NS(TFontType)

// A combo box of the font families of the screen or the printer, each with a glyph for
// its kind.
class TqvFontCombo : public Qvcolorcombobox::TqvComboBox {
    Q_OBJECT
    Q_CLASSINFO("Default:Style", "csOwnerDrawVariable")
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_CLASSINFO("Default:Sorted", "True")
    Q_PROPERTY(Qvfontcombo::TFontDevice FontDevice READ FontDevice WRITE SetFontDevice)
    Q_CLASSINFO("Default:FontDevice", "fdScreen")
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(int FontSize READ FontSize WRITE SetFontSize)
    Q_CLASSINFO("Default:FontSize", "8")
    Q_PROPERTY(Qvfontcombo::TFontType FontType READ FontType WRITE SetFontType)
    Q_CLASSINFO("Default:FontType", "ftAll")
public:
    // Sizes in pixels.
    enum FontComboMetrics {
        GlyphSize = 12,
        // Names start this far right of the item's left edge; the glyph sits at
        // GlyphOffset from the name's edge.
        NameIndent = 24,
        GlyphOffset = 20,
        ItemExtraHeight = 2,
        TextIndent = 2,
    };
    // The glyphs, in the order of their resource names.
    enum TGlyph { glTrueType, glFixedPitch, glTrueTypeFixed, glPrinter, glDevice };
    // The glyphs' background colour, left out when they are drawn.
    static constexpr vcl::TColor GlyphTransparentColor = vcl::TColorOf(0x008080);

    // Creates the combo box and fills it, owned (and freed) by AOwner.
    explicit TqvFontCombo(vcl::TComponent* AOwner);
    ~TqvFontCombo() override;

    // The selected family, or empty.
    QString FontName() const;
    // Selects the family of that name (ignoring case); nothing when there is none.
    void SetFontName(const QString& Value);
    // The selected family as a font of FontSize (the combo box keeps the object); null
    // when nothing is selected.
    vcl::TFont* SelectedFont();
    void SetSelectedFont(const vcl::TFont* Value);
    // The device whose families are listed; changing it fills the list again.
    TFontDevice FontDevice() const { return FFontDevice; }
    void SetFontDevice(TFontDevice Value);
    // The filter on the families; changing it fills the list again.
    TFontType FontType() const { return FFontType; }
    void SetFontType(TFontType Value);
    // The size SelectedFont gets, in points.
    int FontSize() const { return FFontSize; }
    void SetFontSize(int Value) { FFontSize = Value; }

    // Fills the list with the families of the device, filtered by FontType.
    void LoadFonts();
    // The glyph an entry of pitch-and-family value PitchAndFamily shows.
    TGlyph GlyphOf(uint8_t PitchAndFamily) const;
    const vcl::TBitmap* Glyph(TGlyph Which) const { return FGlyphs[size_t(Which)].get(); } // The picture of glyph Which.

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void CMFontChanged(vcl::TMessage& Message) override;
    void MeasureItem(int Index, int& Height) override;
    void DrawItem(int Index, const vcl::TRect& Rect, vcl::TOwnerDrawState State) override;

private:
    void LoadBitmaps();
    void Reload();
    bool Accepts(uint8_t PitchAndFamily) const;

    QString FSavedFontName;
    std::unique_ptr<vcl::TFont> FFont;
    TFontDevice FFontDevice = fdScreen;
    TFontType FFontType = ftAll;
    int FFontSize = 8;
    std::array<std::unique_ptr<vcl::TBitmap>, 5> FGlyphs;
};

} // namespace Qvfontcombo
