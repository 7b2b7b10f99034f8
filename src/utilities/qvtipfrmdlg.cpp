#include "utilities/qvtipfrmdlg.h"

#include "vcl/controls/extctrls.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/core/strings.h"
#include "vcl/core/unitstartup.h"

#include <QRandomGenerator>

namespace Qvtipfrmdlg {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvtipfrmdlg"), {});

using namespace vcl;

namespace {

TRandomSource& RandomSource()
{
    static TRandomSource source;
    return source;
}

enum ButtonMetrics { ButtonWidth = 89, ButtonHeight = 25 };

} // namespace

void SetRandomSource(TRandomSource Source)
{
    RandomSource() = std::move(Source);
}

int RandomBelow(int Range)
{
    if (Range <= 0)
        return 0;
    if (RandomSource())
        return RandomSource()(Range);
    // A generator seeded from the clock at every draw, as the window reseeds before
    // each random choice.
    QRandomGenerator generator(quint32(QDateTime::currentMSecsSinceEpoch()) ^ QRandomGenerator::system()->generate());
    return int(generator.bounded(quint32(Range)));
}

TqvTipsForm::TqvTipsForm(TComponent* AOwner)
    : TForm(AOwner)
    , FTips(std::make_unique<TStringList>())
{
    SetBorderStyle(bsDialog);
    SetClientWidth(ClientWidth);
    SetClientHeight(ClientHeight);
    CreateControls();
}

TqvTipsForm::~TqvTipsForm() = default;

void TqvTipsForm::CreateControls()
{
    TipPanel = new TPanel(this);
    TipPanel->SetParent(this);
    TipPanel->SetBounds(4, 5, 327, 189);
    TipPanel->SetBevelOuter(bvLowered);
    TipPanel->SetBevelWidth(2);
    TipPanel->SetCaption(QString());
    Image1 = new TImage(this);
    Image1->SetParent(TipPanel);
    Image1->SetBounds(10, 12, 32, 32);
    TipTitleLbl = new TLabel(this);
    TipTitleLbl->SetParent(TipPanel);
    TipTitleLbl->SetBounds(62, 24, 200, 16);
    TipLbl = new TLabel(this);
    TipLbl->SetParent(TipPanel);
    TipLbl->SetAutoSize(false);
    TipLbl->SetBounds(63, 51, 252, 127);
    TipLbl->SetWordWrap(true);
    TipLbl->SetTransparent(true);

    ShowChk = new TCheckBox(this);
    ShowChk->SetParent(this);
    ShowChk->SetBounds(5, 200, 200, 17);
    ShowChk->SetCaption(QStringLiteral(" &Show tips at startup"));

    const auto button = [this](const QString& Caption, int Left, int Top) {
        auto* b = new TButton(this);
        b->SetParent(this);
        b->SetBounds(Left, Top, ButtonWidth, ButtonHeight);
        b->SetCaption(Caption);
        return b;
    };
    OKBtn = button(QStringLiteral("&OK"), 339, 5);
    NextBtn = button(QStringLiteral("&Next Tip"), 338, 38);
    PrevBtn = button(QStringLiteral("&Previous Tip"), 338, 65);
    OKBtn->OnClick = [this](TObject* s) { OKBtnClick(s); };
    NextBtn->OnClick = [this](TObject* s) { NextBtnClick(s); };
    PrevBtn->OnClick = [this](TObject* s) { PrevBtnClick(s); };
}

void TqvTipsForm::NextBtnClick(TObject*)
{
    const int count = FTips->Count();
    if (count == 0)
        return;
    if (!RandomOrder) {
        TipIndex = TipIndex < count - 1 ? TipIndex + 1 : 0;
    } else {
        // Never the tip shown now when there are two or more; the last tip comes up
        // only through that step, from the one before it.
        int r = RandomBelow(count - 1);
        if (r == TipIndex && count > 1)
            ++r;
        TipIndex = r;
    }
    ShowTip(TipIndex);
}

void TqvTipsForm::PrevBtnClick(TObject*)
{
    const int count = FTips->Count();
    if (count == 0)
        return;
    TipIndex = TipIndex <= 0 ? count - 1 : TipIndex - 1;
    ShowTip(TipIndex);
}

void TqvTipsForm::OKBtnClick(TObject*)
{
    SetModalResult(mrOk);
}

void TqvTipsForm::ShowTip(int Index)
{
    QString tip = FTips->Strings(Index);
    if (!LineBreakMarker.isEmpty())
        tip.replace(LineBreakMarker, QStringLiteral("\r\n"));
    TipLbl->SetCaption(tip);
}

} // namespace Qvtipfrmdlg
