#include "captionsample.h"

#include "vcl/controls/forms.h"
#include "vcl/streaming/classregistry.h"

namespace gallery {

namespace {
constexpr int SampleWidth = 300;
constexpr int SampleHeight = 80;
} // namespace

TCaptionSample::TCaptionSample(vcl::TComponent* AOwner)
    : TCustomControl(AOwner)
    , FForm(new vcl::TForm(nullptr))
{
    FForm->SetParent(this);
    FForm->SetBounds(0, 0, SampleWidth, SampleHeight);
    FCaption = new Qvwordcaption::TqvGradientCaption(FForm);
    FCaption->CompanyText()->SetCaption(QStringLiteral("<Velnor Software>'s"));
    FCaption->CompanyText()->SetFontKind(Qvwordcaption::fkSystemBI);
    FCaption->AppNameText()->SetCaption(QStringLiteral("Program -"));
    FCaption->AppNameText()->SetFontKind(Qvwordcaption::fkSystemB);
    FCaption->CaptionText()->SetCaption(QStringLiteral("Gradient caption"));
    // The sample's activation replaces the one the embedded form hears from the gallery.
    FPrevious = SetWindowProc(FForm->Handle(), [this](vcl::TMessage& Message) {
        if (Message.Msg == vcl::WM_NCACTIVATE)
            Message.WParam = FActive ? 1 : 0;
        CallWindowProc(FPrevious, Message);
    });
    SetBounds(0, 0, SampleWidth, SampleHeight);
    FForm->Show();
    SendMessage(FForm->Handle(), vcl::WM_NCACTIVATE, 1, 0);
}

TCaptionSample::~TCaptionSample()
{
    SetWindowProc(FForm->Handle(), FPrevious);
    delete FForm;
}

void TCaptionSample::Register()
{
    vcl::RegisterClass(vcl::ClassOf<TCaptionSample>());
}

void TCaptionSample::SetActive(bool Value)
{
    if (FActive == Value)
        return;
    FActive = Value;
    SendMessage(FForm->Handle(), vcl::WM_NCACTIVATE, Value ? 1 : 0, 0);
}

void TCaptionSample::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FForm->SetBounds(0, 0, AWidth, AHeight);
}

} // namespace gallery
