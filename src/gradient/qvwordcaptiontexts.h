#pragma once
// Qvwordcaption's published types and the three texts of a gradient caption's title
// bar: TCompanyText (the company name), TAppNameText (the application name) and
// TCaptionText (the form's own caption, read back from the form). Each has its own
// font and active and inactive colours; the form's real caption is the visible texts
// joined by spaces.
#include "vcl/core/classes.h"
#include "vcl/graphics/graphicsobjects.h"

#include <QObject>
#include <memory>

namespace Qvwordcaption {
Q_NAMESPACE

using vcl::TColor;

// When the title bar is a ramp: always, never, while the form is active, or as the
// display allows (active from 8 bits per pixel, inactive above 8).
enum TGradEnabled { geAlways, geNever, geWhenActive, geSmart };
Q_ENUM_NS(TGradEnabled)
// Where the texts sit in the title bar; jAuto follows the platform.
enum TJustification { jAuto, jLeft, jCenter, jRight };
Q_ENUM_NS(TJustification)
// A text's font: its own, the system caption font (plain, italic, bold, bold italic),
// or its own face fitted to the system caption font's character height.
enum TFontKind { fkCustom, fkSystem, fkSystemI, fkSystemB, fkSystemBI, fkAutoHeight };
Q_ENUM_NS(TFontKind)

class TqvGradientCaption;

// One of the caption's texts, with its colours and font; the base of the application and
// caption texts.
class TCompanyText : public QObject, public vcl::TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(vcl::TColor ColorActive READ ColorActive WRITE SetColorActive)
    Q_CLASSINFO("Default:ColorActive", "clCaptionText")
    Q_PROPERTY(vcl::TColor ColorInactive READ ColorInactive WRITE SetColorInactive)
    Q_CLASSINFO("Default:ColorInactive", "clInactiveCaptionText")
    Q_PROPERTY(vcl::TFont* Font READ Font WRITE SetFont)
    Q_CLASSINFO("Stored:Font", "IsFontStored")
    // fkSystem is set by the constructor; there is no declared default, so it is stored.
    Q_PROPERTY(Qvwordcaption::TFontKind FontKind READ FontKind WRITE SetFontKind)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_CLASSINFO("Default:Visible", "True")

public:
    // Creates the text of the caption AOwner.
    explicit TCompanyText(TqvGradientCaption* AOwner);
    ~TCompanyText() override;

    // The stored text.
    const QString& Caption() const { return FCaption; }
    virtual void SetCaption(const QString& Value);
    // The text's colour while the form is active.
    TColor ColorActive() const { return FColorActive; }
    void SetColorActive(TColor Value);
    // The text's colour while the form is inactive.
    TColor ColorInactive() const { return FColorInactive; }
    void SetColorInactive(TColor Value);
    // The text's own font (used with fkCustom and fkAutoHeight).
    vcl::TFont* Font() const { return FFont.get(); }
    void SetFont(vcl::TFont* Value);
    // Which font the text is drawn with (see TFontKind).
    TFontKind FontKind() const { return FFontKind; }
    void SetFontKind(TFontKind Value);
    // Whether the text is shown.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Whether Font is written to form files: only for fkCustom and fkAutoHeight.
    Q_INVOKABLE bool IsFontStored() const { return FFontKind == fkCustom || FFontKind == fkAutoHeight; }

    // Applies a font kind without repainting: fkSystem* copy the system caption font
    // (adding italic and bold), fkAutoHeight fits the font's height, fkCustom keeps it.
    void SetFontKind_NoRedraw(TFontKind Value);

protected:
    // The component sets the texts it starts with on a designed form without rebuilding.
    friend class TqvGradientCaption;
    TqvGradientCaption* CaptionOwner() const { return FOwner; }
    QString FCaption;

private:
    void RebuildFormCaption();

    TColor FColorActive = vcl::clCaptionText;
    TColor FColorInactive = vcl::clInactiveCaptionText;
    std::unique_ptr<vcl::TFont> FFont;
    TFontKind FFontKind = fkSystem;
    TqvGradientCaption* FOwner;
    bool FVisible = true;
};

// The application text.
class TAppNameText : public TCompanyText {
    Q_OBJECT
public:
    using TCompanyText::TCompanyText; // Creates the text of the caption AOwner.
};

// The caption text: the form's own caption.
class TCaptionText : public TCompanyText {
    Q_OBJECT
    // Read back from the form's caption.
    Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption)
public:
    using TCompanyText::TCompanyText; // Creates the text of the caption AOwner.
    // The form's caption without the visible company and application texts in front.
    virtual QString GetCaption() const;
    // Stores the text read back from the form (a paint refreshes it this way).
    void RefreshCaption() { FCaption = GetCaption(); }
};

// Fits Font's height so that its character height (height less internal leading)
// equals that of SystemFont, measured on a scratch bitmap.
void SetAutoFontHeight(vcl::TFont& Font, const vcl::TFont& SystemFont);

} // namespace Qvwordcaption
