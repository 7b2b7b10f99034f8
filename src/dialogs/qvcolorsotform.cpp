#include "dialogs/qvcolorsotform.h"

#include "vcl/controls/screen.h"
#include "vcl/graphics/bitmap.h"

#include <map>

namespace Qvcolorsort {

namespace {

// Height of the window collapsed to its strip, and its designed height.
constexpr int CollapsedHeight = 84;
constexpr int ExpandedHeight = 265;

// Shows the hourglass while a slow drawing runs.
class THourGlass {
public:
    THourGlass() : FSaved(Screen()->Cursor()) { Screen()->SetCursor(crHourGlass); }
    ~THourGlass() { Screen()->SetCursor(FSaved); }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor FSaved;
};

} // namespace

TColorSotForm::TColorSotForm(TComponent* AOwner)
    : TForm(AOwner)
{
    if (!InitInheritedComponent(this, &TForm::staticMetaObject))
        throw EResNotFound(QStringLiteral("Resource for TColorSotForm is not found."));
    FindFields();
    SpeedButton1->Glyph()->LoadFromResourceName(QStringLiteral("GLYPHEXPAND"));
    SpeedButton2->Glyph()->LoadFromResourceName(QStringLiteral("GLYPHCOLLAPSE"));
    ShowPage(pgMixer);
}

template <class T>
T* TColorSotForm::Field(const char* Name)
{
    T* field = dynamic_cast<T*>(FindComponent(QString::fromLatin1(Name)));
    if (field == nullptr)
        throw EComponentError(QStringLiteral("The layout of TColorSotForm has no %1").arg(QString::fromLatin1(Name)));
    return field;
}

void TColorSotForm::FindFields()
{
    for (auto [field, name] : {std::pair{&Panel2, "Panel2"}, {&Panel3, "Panel3"}, {&Panel4, "Panel4"},
             {&Panel7, "Panel7"}, {&Panel8, "Panel8"}, {&Panel5, "Panel5"}, {&Panel6, "Panel6"}})
        *field = Field<TPanel>(name);
    SpeedButton1 = Field<TSpeedButton>("SpeedButton1");
    SpeedButton2 = Field<TSpeedButton>("SpeedButton2");
    PaintBox1 = Field<TPaintBox>("PaintBox1");
    PaintBox2 = Field<TPaintBox>("PaintBox2");
    PaintBox3 = Field<TPaintBox>("PaintBox3");
    ScrollBar1 = Field<TScrollBar>("ScrollBar1");
    ScrollBar2 = Field<TScrollBar>("ScrollBar2");
    ScrollBar3 = Field<TScrollBar>("ScrollBar3");
    Label1 = Field<TLabel>("Label1");
    Label2 = Field<TLabel>("Label2");
    Label3 = Field<TLabel>("Label3");
}

std::any TColorSotForm::MethodAddress(const QString& Name) const
{
    auto* self = const_cast<TColorSotForm*>(this);
    const std::map<QString, TNotifyEvent> notify{
        {"FormActivate", [self](TObject*) { self->FormActivate(); }},
        {"PaintBox1Paint", [self](TObject*) { self->PaintRingPage(); }},
        {"PaintBox2Paint", [self](TObject*) { self->PaintPlanePage(); }},
        {"PaintBox3Paint", [self](TObject*) { self->PaintMixerPage(); }},
        {"ScrollBar1Change", [self](TObject* s) { self->ScrollBar1Change(s); }},
        {"TabbedNotebook1Change", [self](TObject* s) { self->TabbedNotebook1Change(s); }},
        {"Panel3Click", [self](TObject* s) { self->RecentSwatchClick(dynamic_cast<TPanel*>(s)); }},
        {"Panel5Click", [self](TObject* s) { self->FixedSwatchClick(dynamic_cast<TPanel*>(s)); }},
        {"Panel2DblClick", [self](TObject*) { self->Panel2DblClick(); }},
        {"SpeedButton1Click", [self](TObject*) { self->SpeedButton1Click(); }},
        {"SpeedButton2Click", [self](TObject*) { self->SpeedButton2Click(); }}};
    if (auto it = notify.find(Name); it != notify.end())
        return it->second;
    if (Name == QLatin1String("PaintBox1MouseDown"))
        return TMouseEvent([self](TObject*, TMouseButton, TShiftState, int x, int y) { self->PaintBox1MouseDown(x, y); });
    if (Name == QLatin1String("PaintBox2MouseDown"))
        return TMouseEvent([self](TObject*, TMouseButton, TShiftState, int x, int y) { self->PaintBox2MouseDown(x, y); });
    return {};
}

QStringList TColorSotForm::MethodNames() const
{
    return {"FormActivate", "PaintBox1Paint", "PaintBox2Paint", "PaintBox3Paint", "ScrollBar1Change",
        "TabbedNotebook1Change", "Panel3Click", "Panel5Click", "Panel2DblClick", "SpeedButton1Click",
        "SpeedButton2Click", "PaintBox1MouseDown", "PaintBox2MouseDown"};
}

void TColorSotForm::ShowPage(TPage Page)
{
    FPage = Page;
    FSquareShown = false;
    const char* pages[] = {"PageRing", "PageGradient", "PageMixer"};
    const char* tabs[] = {"TabRing", "TabGradient", "TabMixer"};
    for (int i = 0; i < 3; ++i) {
        Field<TPanel>(pages[i])->SetVisible(i == Page);
        Field<TSpeedButton>(tabs[i])->SetDown(i == Page);
    }
}

void TColorSotForm::SetActivePage(TPage Page)
{
    ShowPage(Page);
    // The sliders follow the current colour, each reading it when it is set.
    FSettingSliders = true;
    ScrollBar1->SetPosition(FromColor(Panel2->Color()).Red);
    ScrollBar2->SetPosition(FromColor(Panel2->Color()).Green);
    ScrollBar3->SetPosition(FromColor(Panel2->Color()).Blue);
    FSettingSliders = false;
    FMixer = FromColor(Panel2->Color());
}

void TColorSotForm::TabbedNotebook1Change(TObject* Sender)
{
    const char* tabs[] = {"TabRing", "TabGradient", "TabMixer"};
    for (int i = 0; i < 3; ++i)
        if (Sender == Field<TSpeedButton>(tabs[i]))
            SetActivePage(static_cast<TPage>(i));
}

void TColorSotForm::FormActivate() { FHistoryPending = true; }

void TColorSotForm::SlideIfPending()
{
    if (!FHistoryPending)
        return;
    FHistoryPending = false;
    Panel8->SetColor(Panel7->Color());
    Panel7->SetColor(Panel4->Color());
    Panel4->SetColor(Panel3->Color());
    Panel3->SetColor(Panel2->Color());
    Panel2->SetColor(FCommitted);
}

void TColorSotForm::UpdateLabels()
{
    Label1->SetCaption(QStringLiteral("R: %1").arg(FMixer.Red));
    Label2->SetCaption(QStringLiteral("G: %1").arg(FMixer.Green));
    Label3->SetCaption(QStringLiteral("B: %1").arg(FMixer.Blue));
}

void TColorSotForm::ReportColor(TColor Color)
{
    if (OnColorChange)
        OnColorChange(this, Color);
}

void TColorSotForm::CommitMixer()
{
    FMixed = ToColor(FMixer);
    Panel2->SetColor(FMixed);
    FCommitted = FMixed;
    UpdateLabels();
    ReportColor(FMixed);
}

void TColorSotForm::PaintRingPage()
{
    PaintRing(PaintBox1->Canvas(), PaintBox1->Width(), PaintBox1->Height());
    if (FSquareShown)
        PaintSquare(PaintBox1->Canvas(), RingGeometry(PaintBox1->Width(), PaintBox1->Height()), FHue);
}

void TColorSotForm::PaintBox1MouseDown(int X, int Y)
{
    THourGlass wait;
    SlideIfPending();
    const TRingGeometry g = RingGeometry(PaintBox1->Width(), PaintBox1->Height());
    if (g.OnRing(X, Y)) {
        FMixer = HueColor(HueAngle(X - g.Radius, g.Radius - Y));
        FHue = FMixer;
        // The square is drawn with the ring until the page is changed.
        FSquareShown = true;
        PaintBox1->Invalidate();
    } else if (g.InSquare(X, Y)) {
        FMixer = SquareColor(g, FHue, X, Y);
    }
    CommitMixer();
}

void TColorSotForm::PaintPlanePage()
{
    PaintPlane(PaintBox2->Canvas(), PaintBox2->Width(), PaintBox2->Height(), FGradientMode, FMixer);
}

void TColorSotForm::PaintBox2MouseDown(int X, int Y)
{
    SlideIfPending();
    // The click picks from the plane shown, then the plane turns to the next pair.
    FGradientMode = (FGradientMode + 1) % 3;
    FMixer = PlaneClick(FGradientMode, PlaneValue(X, PaintBox2->Width()), PlaneValue(Y, PaintBox2->Height()), FMixer);
    CommitMixer();
    PaintBox2->Invalidate();
}

void TColorSotForm::PaintMixerPage()
{
    TCanvas* canvas = PaintBox3->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(ToColor(FMixer));
    canvas->FillRect(Rect(0, 0, PaintBox3->Width(), PaintBox3->Height()));
}

void TColorSotForm::ScrollBar1Change(TObject* Sender)
{
    if (FSettingSliders)
        return;
    SlideIfPending();
    if (Sender == ScrollBar1)
        FMixer.Red = ScrollBar1->Position();
    else if (Sender == ScrollBar2)
        FMixer.Green = ScrollBar2->Position();
    else if (Sender == ScrollBar3)
        FMixer.Blue = ScrollBar3->Position();
    CommitMixer();
    PaintBox3->Invalidate();
}

void TColorSotForm::RecentSwatchClick(TPanel* Swatch)
{
    if (Swatch == nullptr)
        return;
    const TColor picked = Swatch->Color();
    Panel2->SetColor(picked);
    Swatch->SetColor(FCommitted);
    FCommitted = Panel2->Color();
    ReportColor(Panel2->Color());
}

void TColorSotForm::FixedSwatchClick(TPanel* Swatch)
{
    if (Swatch == nullptr)
        return;
    Panel2->SetColor(Swatch->Color());
    ReportColor(Panel2->Color());
}

void TColorSotForm::Panel2DblClick()
{
    Panel2->SetColor(FCommitted);
    ReportColor(FCommitted);
}

void TColorSotForm::SpeedButton2Click()
{
    SetHeight(CollapsedHeight);
    SpeedButton2->Hide();
}

void TColorSotForm::SpeedButton1Click()
{
    SetHeight(ExpandedHeight);
    SpeedButton2->Show();
}

} // namespace Qvcolorsort
