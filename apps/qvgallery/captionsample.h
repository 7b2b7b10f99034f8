#pragma once
// A sample form for the gallery page: components that paint a form's title bar need a
// form of their own as owner, so the page shows one embedded in this control. The
// sample keeps the form active or inactive as its Active property says, whatever the
// gallery window's own activation, and publishes the caption's text objects so that
// they unfold in the inspector.
#include "gradient/qvwordcaption.h"
#include "vcl/controls/controls.h"

namespace gallery {

class TCaptionSample : public vcl::TCustomControl {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_CLASSINFO("Default:Active", "True")
    Q_PROPERTY(Qvwordcaption::TCompanyText* CompanyText READ CompanyText)
    Q_PROPERTY(Qvwordcaption::TAppNameText* AppNameText READ AppNameText)
    Q_PROPERTY(Qvwordcaption::TCaptionText* CaptionText READ CaptionText)

public:
    explicit TCaptionSample(vcl::TComponent* AOwner);
    ~TCaptionSample() override;

    // Makes the class known to the form-file reader (harmless when repeated).
    static void Register();

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    Qvwordcaption::TCompanyText* CompanyText() const { return FCaption->CompanyText(); }
    Qvwordcaption::TAppNameText* AppNameText() const { return FCaption->AppNameText(); }
    Qvwordcaption::TCaptionText* CaptionText() const { return FCaption->CaptionText(); }
    vcl::TForm* SampleForm() const { return FForm; }
    Qvwordcaption::TqvGradientCaption* Caption() const { return FCaption; }

    // The embedded form fills the sample.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

private:
    vcl::TForm* FForm;
    Qvwordcaption::TqvGradientCaption* FCaption;
    vcl::TWndMethod FPrevious;
    bool FActive = true;
};

} // namespace gallery
