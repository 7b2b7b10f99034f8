#pragma once
// TColorSotForm: the small stay-on-top colour window of TqvSelectColorDlg: a strip
// with the current colour, four recent colours, white and black; pages with a hue
// ring, a two-component colour plane and red, green and blue sliders.
#include "dialogs/qvcolorpicture.h"
#include "vcl/controls/buttons.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/forms.h"
#include "vcl/streaming/formfile.h"

#include <functional>

namespace Qvcolorsort {

// Called with the colour picked; Sender is the dialog component.
using TColorChangeEvent = std::function<void(TComponent* Sender, TColor NewColor)>;

// The stay-on-top colour window of TqvSelectColorDlg: a hue ring with its square, colour
// planes and a mixer on three pages, the current, recent and fixed colours beside them.
class TColorSotForm : public TForm, public IMethodProvider {
    Q_OBJECT
public:
    // The three pages: the hue ring, the colour planes, the mixer.
    enum TPage { pgRing, pgGradient, pgMixer };

    // Creates the window and its children from its layout, owned (and freed) by AOwner.
    explicit TColorSotForm(TComponent* AOwner);

    // The children made from the layout, by their names in it.
    //@{
    TPanel* Panel2 = nullptr; // current colour
    TPanel* Panel3 = nullptr; // recent colours, newest first
    TPanel* Panel4 = nullptr;
    TPanel* Panel7 = nullptr;
    TPanel* Panel8 = nullptr;
    TPanel* Panel5 = nullptr; // white
    TPanel* Panel6 = nullptr; // black
    TSpeedButton* SpeedButton1 = nullptr; // expands
    TSpeedButton* SpeedButton2 = nullptr; // collapses
    TPaintBox* PaintBox1 = nullptr;
    TPaintBox* PaintBox2 = nullptr;
    TPaintBox* PaintBox3 = nullptr;
    TScrollBar* ScrollBar1 = nullptr;
    TScrollBar* ScrollBar2 = nullptr;
    TScrollBar* ScrollBar3 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    //@}

    // Called with every colour change (the owning dialog forwards it).
    TColorChangeEvent OnColorChange;

    // The page shown.
    TPage ActivePage() const { return FPage; }
    void SetActivePage(TPage Page);
    // The mixer page's colour components.
    TRgbValue Mixer() const { return FMixer; }
    // The colour committed last (the one the recent colours start from).
    TColor CommittedColor() const { return FCommitted; }
    void SetCommittedColor(TColor Value) { FCommitted = Value; }
    // The colour plane shown on the gradient page, 0 to 2; each click on it turns to the next.
    int GradientMode() const { return FGradientMode; }
    // Whether the ring page shows the saturation and brightness square.
    bool SquareShown() const { return FSquareShown; }

    // The handlers the layout binds by name.
    std::any MethodAddress(const QString& Name) const override;
    QStringList MethodNames() const override; // The names MethodAddress knows.

    // The handlers the layout binds by name.
    //@{
    void FormActivate();
    void PaintBox1MouseDown(int X, int Y);
    void PaintBox2MouseDown(int X, int Y);
    void ScrollBar1Change(TObject* Sender);
    void TabbedNotebook1Change(TObject* Sender);
    void RecentSwatchClick(TPanel* Swatch);
    void FixedSwatchClick(TPanel* Swatch);
    void Panel2DblClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    //@}

private:
    template <class T>
    T* Field(const char* Name);
    void FindFields();
    void PaintRingPage();
    void PaintPlanePage();
    void PaintMixerPage();
    // Moves the history once after each activation.
    void SlideIfPending();
    // The mixer's colour becomes current and committed, is shown and reported.
    void CommitMixer();
    void UpdateLabels();
    void ReportColor(TColor Color);
    void ShowPage(TPage Page);

    TRgbValue FMixer;
    TRgbValue FHue;
    TColor FMixed = clBlack;
    TColor FCommitted = clBlack;
    bool FHistoryPending = false;
    int FGradientMode = 0;
    bool FSquareShown = false;
    bool FSettingSliders = false;
    TPage FPage = pgMixer;
};

} // namespace Qvcolorsort
