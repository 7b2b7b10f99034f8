#pragma once
// Qvwordcaption: TqvGradientCaption, a non-visual component that paints its form's
// title bar itself: a colour ramp from a left to a right colour, the window icon, the
// caption buttons and up to three texts (company, application, caption) side by side.
// It subclasses the form's window procedure for non-client painting and activation,
// and hooks the application's window to subclass the form's new window after the form
// re-creates it (the form's WM_DESTROY posts RehookMessage there).
#include "gradient/qvwordcaptiontexts.h"
#include "vcl/controls/forms.h"
#include "vcl/graphics/gdi.h"

#include <functional>
#include <memory>

namespace vcl {
class TCanvas;
}

namespace Qvwordcaption {

// Sender, a canvas on the off-screen title bar (font: the system caption font) and the
// text area, which the handler may change: the texts are laid out in what it leaves.
using TOnDrawCaption = std::function<void(vcl::TObject* Sender, vcl::TCanvas* Canvas, vcl::TRect& R)>;

// The title-bar buttons.
enum TCaptionButton : unsigned { cbSystemMenu = 0x1, cbMinimize = 0x2, cbMaximize = 0x4, cbHelp = 0x8, cbClose = 0x10 };
Q_DECLARE_FLAGS(TCaptionButtons, TCaptionButton)

// Paints a form's title bar as a colour ramp with a company, an application and a
// caption text, each in its own font and colours.
class TqvGradientCaption : public QObject, public vcl::TComponent {
    Q_OBJECT
    Q_PROPERTY(Qvwordcaption::TAppNameText* AppNameText READ AppNameText)
    Q_PROPERTY(Qvwordcaption::TCaptionText* CaptionText READ CaptionText)
    Q_PROPERTY(Qvwordcaption::TCompanyText* CompanyText READ CompanyText)
    Q_PROPERTY(vcl::TColor ColorLeftActive READ ColorLeftActive WRITE SetColorLeftActive)
    Q_CLASSINFO("Default:ColorLeftActive", "clBlack")
    Q_PROPERTY(vcl::TColor ColorLeftInActive READ ColorLeftInActive WRITE SetColorLeftInActive)
    Q_CLASSINFO("Default:ColorLeftInActive", "clBlack")
    Q_PROPERTY(vcl::TColor ColorRightActive READ ColorRightActive WRITE SetColorRightActive)
    Q_CLASSINFO("Default:ColorRightActive", "clActiveCaption")
    Q_PROPERTY(vcl::TColor ColorRightInActive READ ColorRightInActive WRITE SetColorRightInActive)
    Q_CLASSINFO("Default:ColorRightInActive", "clInactiveCaption")
    Q_PROPERTY(Qvwordcaption::TGradEnabled Enabled READ Enabled WRITE SetEnabled)
    Q_CLASSINFO("Default:Enabled", "geSmart")
    Q_PROPERTY(Qvwordcaption::TJustification Justification READ Justification WRITE SetJustification)
    Q_CLASSINFO("Default:Justification", "jAuto")
    Q_PROPERTY(int NumColors READ NumColors WRITE SetNumColors)
    Q_CLASSINFO("Default:NumColors", "64")

public:
    // The private message a form's destroyed window posts to the application's window
    // (LParam: the component) so that the component subclasses the form's new window.
    static constexpr unsigned RehookMessage = 0x498C;
    static constexpr int MaxColors = 256; // The most colours a ramp may have.
    static const QString TooFewColorsError; // The message when NumColors is set below 1 while designing.
    static const QString TooManyColorsError; // The message when NumColors is set above MaxColors while designing.
    static const QString SecondCaptionError; // The message when a form gets a second gradient caption.

    // AOwner must be a form (EInvalidCast otherwise) that carries no other gradient
    // caption (EComponentError otherwise).
    explicit TqvGradientCaption(vcl::TComponent* AOwner);
    ~TqvGradientCaption() override;

    // The application text, shown after the company text.
    TAppNameText* AppNameText() const { return FAppNameText.get(); }
    TCaptionText* CaptionText() const { return FCaptionText.get(); } // The caption text, shown last (the form's own caption).
    TCompanyText* CompanyText() const { return FCompanyText.get(); } // The company text, shown first.
    // The ramp's left colour while the form is active.
    TColor ColorLeftActive() const { return FColorLeftActive; }
    void SetColorLeftActive(TColor Value);
    // The ramp's left colour while the form is inactive.
    TColor ColorLeftInActive() const { return FColorLeftInActive; }
    void SetColorLeftInActive(TColor Value);
    // The ramp's right colour while the form is active.
    TColor ColorRightActive() const { return FColorRightActive; }
    void SetColorRightActive(TColor Value);
    // The ramp's right colour while the form is inactive.
    TColor ColorRightInActive() const { return FColorRightInActive; }
    void SetColorRightInActive(TColor Value);
    // When the title bar is a ramp (see TGradEnabled).
    TGradEnabled Enabled() const { return FEnabled; }
    void SetEnabled(TGradEnabled Value);
    // Where the texts sit in the title bar.
    TJustification Justification() const { return FJustification; }
    void SetJustification(TJustification Value);
    // The number of colour bands in the ramp.
    int NumColors() const { return FNumColors; }
    // 1 to MaxColors; below 1 is ignored, above MaxColors stores MaxColors (while
    // designing, both say so in an error message box).
    void SetNumColors(int Value);

    TOnDrawCaption OnDrawCaption; // Called before the texts are drawn (see TOnDrawCaption).

    // The form whose title bar this paints (null once the form is gone).
    vcl::TCustomForm* Form() const { return FForm; }
    // True while the form's window procedure is subclassed.
    bool Hooked() const { return FHooked; }
    // The system caption font the fkSystem kinds copy.
    const vcl::TFont& SystemFont() const { return *FSystemFont; }
    bool Designing() const { return ComponentState().testFlag(vcl::csDesigning); } // True while the component is on a form being designed.

    // Sets the form's caption to the visible texts joined by spaces.
    void NewCaptionText();
    // Has the form's frame painted again, without moving, sizing or activating it.
    void UpdateCaption();
    // Calls UpdateCaption while designing (at run time a change shows at the next paint).
    void DesignUpdate();

    // Title-bar geometry, in window coordinates.
    vcl::TRect GetTitleBarRect() const;
    // The buttons the title bar shows.
    TCaptionButtons GetVisibleButtons() const;
    void ExcludeBtnRgn(vcl::TRect& R) const; // Takes the buttons' area off the right of R.
    vcl::TRect GetTextRect() const; // The area the texts may use: the title bar without the buttons.
    // Paints the title bar through the window's device context; returns the rectangle
    // painted (empty when nothing was).
    vcl::TRect DrawMSOfficeCaption(bool Active);

protected:
    void Loaded() override;

private:
    friend struct TCaptionWndProc;
    struct THookCell;

    void HookWin();
    void UnhookWin();
    void RemoveAppHook();
    // The form was freed while this lives on: let go of its window and never touch it.
    void FormGone();
    void FormWndProc(vcl::TMessage& Message);
    void WMNCPaint(vcl::TMessage& Message, const vcl::TWndMethod& Previous);
    void WMNCActivate(vcl::TMessage& Message, const vcl::TWndMethod& Previous);
    void WMDestroy();
    bool HookAppWndProc(vcl::TMessage& Message);
    bool WindowIsActive() const;
    void GetSystemFont();
    void SystemSettingsChanged();
    void PlaceOnDesignedForm();
    template <class T>
    void ChangeValue(T& Field, const T& Value);

    // Painting steps (qvwordcaptionpaint.cpp).
    bool UseGradient(bool Active) const;
    bool HasIconBox() const;
    void GradientFill(vcl::HDC DC, TColor Left, TColor Right, const vcl::TRect& R) const;
    void PaintMenuIcon(vcl::HDC DC, vcl::TRect& R) const;
    void PaintCaptionButtons(vcl::HDC DC, vcl::TRect R) const;
    void DrawTexts(vcl::HDC DC, vcl::TRect T, bool Active) const;
    void CallOnDrawCaption(vcl::HBITMAP Bitmap, vcl::TRect& T);
    void PaintTitleBar(vcl::HDC DC, vcl::HBITMAP Bitmap, const vcl::TRect& B, vcl::TRect T, bool Active);

    std::unique_ptr<TAppNameText> FAppNameText;
    std::unique_ptr<TCaptionText> FCaptionText;
    std::unique_ptr<TCompanyText> FCompanyText;
    TColor FColorLeftActive = vcl::clBlack;
    TColor FColorLeftInActive = vcl::clBlack;
    TColor FColorRightActive = vcl::clActiveCaption;
    TColor FColorRightInActive = vcl::clInactiveCaption;
    TGradEnabled FEnabled = geSmart;
    bool FHooked = false;
    TJustification FJustification = jAuto;
    int FNumColors = 64;
    std::unique_ptr<vcl::TFont> FSystemFont;
    vcl::TCustomForm* FForm = nullptr;
    vcl::HWND FFormHandle;
    bool FActive = true;
    bool FActiveKnown = false;
    bool FRehookPending = false;
    std::shared_ptr<THookCell> FHookCell;
    int FAppHook = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TCaptionButtons)

} // namespace Qvwordcaption
