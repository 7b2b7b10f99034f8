#pragma once
// Qvtipfrmdlg: TqvTipsForm, the tip-of-the-day window: a lowered panel with a picture,
// a heading and the tip, a check box for showing tips at start-up, and OK, Next Tip and
// Previous Tip buttons. It steps through its own copy of the tips, in order or at random.
#include "vcl/controls/forms.h"

#include <functional>
#include <memory>

namespace vcl {
class TButton;
class TCheckBox;
class TImage;
class TLabel;
class TPanel;
class TStringList;
} // namespace vcl

namespace Qvtipfrmdlg {

// A random integer in [0, Range), 0 when Range is 0 or less.
using TRandomSource = std::function<int(int Range)>;
// Replaces the random source of every tips window (an empty one restores the default,
// a generator seeded from the clock); for tests that need a known sequence.
void SetRandomSource(TRandomSource Source);
int RandomBelow(int Range); // A number from the current random source (see TRandomSource).

// The tips window: a picture, a title, the tip, a "show at startup" check box and the
// buttons OK, Next and Previous.
class TqvTipsForm : public vcl::TForm {
    Q_OBJECT
public:
    // The client size in pixels.
    enum Layout { ClientWidth = 432, ClientHeight = 222 };

    // Creates the window and its children, owned (and freed) by AOwner.
    explicit TqvTipsForm(vcl::TComponent* AOwner);
    ~TqvTipsForm() override;

    // The window's children.
    //@{
    vcl::TPanel* TipPanel = nullptr;
    vcl::TImage* Image1 = nullptr;
    vcl::TLabel* TipTitleLbl = nullptr;
    vcl::TLabel* TipLbl = nullptr;
    vcl::TCheckBox* ShowChk = nullptr;
    vcl::TButton* OKBtn = nullptr;
    vcl::TButton* NextBtn = nullptr;
    vcl::TButton* PrevBtn = nullptr;
    //@}


    // The window's own copy of the tips, the marker that stands for a line break in a
    // tip, and the order.
    vcl::TStringList* Tips() const { return FTips.get(); }
    QString LineBreakMarker; // (see Tips)
    bool RandomOrder = false; // (see Tips)
    // The tip shown (-1 before the first).
    int TipIndex = -1;

    // Shows the next tip.
    void NextBtnClick(vcl::TObject* Sender);
    void PrevBtnClick(vcl::TObject* Sender); // Shows the previous tip.
    void OKBtnClick(vcl::TObject* Sender); // Closes the window.
    // Shows tip Index with every marker replaced by a line break.
    void ShowTip(int Index);

private:
    void CreateControls();
    std::unique_ptr<vcl::TStringList> FTips;
};

} // namespace Qvtipfrmdlg
