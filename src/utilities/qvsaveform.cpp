#include "utilities/qvsaveform.h"

#include "vcl/controls/dialogs.h"
#include "vcl/core/unitstartup.h"

#include <QScopedValueRollback>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace Qvsaveform {

// The unit keeps nothing of its own between calls: empty start-up and shut-down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvsaveform"), {});

namespace {

const QString RestoreFailedMessage
    = QStringLiteral("Some Error Occurred Retrieving the Data\nfrom the registry.Values are not restored");
const QString SaveFailedMessage = QStringLiteral("Some Error Occurred Saving the Data to\nthe registry.Values are not saved");
const QString RefreshFailedMessage
    = QStringLiteral("Some Error Occurred Retrieving the Data\nfrom the registry.Values are not Refreshed");
const QString DeleteQuestion = QStringLiteral("Are You Sure to delete de Registry\n");
const QString SwitchToFixedQuestion
    = QStringLiteral("Form Setting Should be fs_Fixed to do this.\nShould I Change to fs_Fixed");
const QString StoreOriginalBoundsQuestion = QStringLiteral("Should I store First the Original Form Bounds");

bool Ask(const QString& Question)
{
    return vcl::MessageDlg(Question, vcl::mtInformation, vcl::TMsgDlgButtons(vcl::mbYes) | vcl::mbNo) == vcl::mrYes;
}

void Inform(const QString& Message) { vcl::MessageDlg(Message, vcl::mtInformation, vcl::mbOK); }

template <class T>
void ChangeValue(T& Field, const T& Value)
{
    if (Field != Value)
        Field = Value;
}

} // namespace

// The hooks on the owner form. Each knows its component, so that a component freed
// before its form can tell its own hooks from handlers assigned after it.
struct TqvSaveForm::ShowHook {
    TqvSaveForm* Component;
    void operator()(vcl::TObject* Sender) const { Component->OnShow(Sender); }
};

struct TqvSaveForm::CloseHook {
    TqvSaveForm* Component;
    void operator()(vcl::TObject* Sender, vcl::TCloseAction& Action) const { Component->OnCloseForm(Sender, Action); }
};

void TFormValues::Assign(const vcl::TPersistent* Source)
{
    if (const auto* values = dynamic_cast<const TFormValues*>(Source)) {
        FState = values->FState;
        return;
    }
    TPersistent::Assign(Source);
}

TqvSaveForm::TqvSaveForm(vcl::TComponent* AOwner)
    : QObject(nullptr), TComponent(AOwner)
{
    if (Designing()) {
        InitDesignTime();
        return;
    }
    if (AOwner == nullptr)
        return;
    vcl::TCustomForm* form = OwnerForm();
    if (form == nullptr)
        throw vcl::EComponentError(QStringLiteral("TqvSaveForm must be owned by a form"));
    HookForm(*form);
}

// The form's events are handed back when the component goes before its form; a form
// that is being destroyed is not touched.
TqvSaveForm::~TqvSaveForm()
{
    UnhookForm();
}

vcl::TControl* TqvSaveForm::OwnerControl() const { return dynamic_cast<vcl::TControl*>(Owner()); }

vcl::TCustomForm* TqvSaveForm::OwnerForm() const { return dynamic_cast<vcl::TCustomForm*>(Owner()); }

void TqvSaveForm::InitDesignTime()
{
    FFormSetting = fs_Auto;
    StoreFixedSettings();
    FDesignHeight = FFixedHeight;
    FDesignWidth = FFixedWidth;
    InitVFormValues();
    vcl::TRegistry registry;
    ReadDesignNames(registry);
    if (Owner() != nullptr)
        FRegFormNameString = Owner()->Name();
    RefreshFormValues();
}

// The names the last component dropped in the design host left, or the defaults. A
// store that cannot be used counts as one without names: the designer still works.
void TqvSaveForm::ReadDesignNames(vcl::TRegistry& Registry)
{
    FRegCompanyNameString = DefaultCompanyName;
    FRegAppNameString = DefaultApplicationName;
    if (OpenKeyLevels(Registry, DesignNamesKeyPath(), false) != TKeyOpening::Opened)
        return;
    try {
        FRegCompanyNameString = Registry.ReadString(CompanyValueName);
        FRegAppNameString = Registry.ReadString(ApplicationValueName);
    } catch (const vcl::Exception&) {
        FRegCompanyNameString = DefaultCompanyName;
        FRegAppNameString = DefaultApplicationName;
    }
}

void TqvSaveForm::HookForm(vcl::TCustomForm& Form)
{
    FSavedClose = Form.OnClose;
    FSavedShow = Form.OnShow;
    Form.OnClose = CloseHook{this};
    Form.OnShow = ShowHook{this};
    FHooked = true;
}

void TqvSaveForm::UnhookForm()
{
    vcl::TCustomForm* form = OwnerForm();
    if (!FHooked || form == nullptr || form->ComponentState().testFlag(vcl::csDestroying))
        return;
    if (const auto* hook = form->OnShow.target<ShowHook>(); hook != nullptr && hook->Component == this)
        form->OnShow = FSavedShow;
    if (const auto* hook = form->OnClose.target<CloseHook>(); hook != nullptr && hook->Component == this)
        form->OnClose = FSavedClose;
    FHooked = false;
}

void TqvSaveForm::SetRegCompanyNameString(const QString& Value) { ChangeValue(FRegCompanyNameString, Value); }

void TqvSaveForm::SetRegAppNameString(const QString& Value) { ChangeValue(FRegAppNameString, Value); }

void TqvSaveForm::SetRegFormNameString(const QString& Value) { ChangeValue(FRegFormNameString, Value); }

void TqvSaveForm::SetFormSetting(TARFormSetting Value) { ChangeValue(FFormSetting, Value); }

void TqvSaveForm::SetFixedHeight(int Value) { ChangeValue(FFixedHeight, Value); }

void TqvSaveForm::SetFixedWidth(int Value) { ChangeValue(FFixedWidth, Value); }

void TqvSaveForm::SetDesignHeight(int Value) { ChangeValue(FDesignHeight, Value); }

void TqvSaveForm::SetDesignWidth(int Value) { ChangeValue(FDesignWidth, Value); }

QStringList TqvSaveForm::FormKey() const
{
    return FormKeyPath(FRegCompanyNameString, FRegAppNameString, FRegFormNameString);
}

TKeyOpening TqvSaveForm::OpenFormKey(vcl::TRegistry& Registry, bool CanCreate) const
{
    return OpenKeyLevels(Registry, FormKey(), CanCreate);
}

void TqvSaveForm::ReportFailure(const QString& Message, bool StoreUnusable)
{
    if (StoreUnusable && std::exchange(FReportedUnusableStore, true))
        return;
    vcl::MessageDlg(Message, vcl::mtError, vcl::mbOK);
}

bool TqvSaveForm::ExistForm()
{
    vcl::TRegistry registry;
    return OpenFormKey(registry, false) == TKeyOpening::Opened;
}

void TqvSaveForm::InitVFormValues()
{
    if (vcl::TControl* owner = OwnerControl())
        FFormValues.SetState(CurrentFormState(*owner));
}

void TqvSaveForm::SetVFormValues() { FFormValues.SetState(FStored); }

void TqvSaveForm::RefreshFormName()
{
    if (Owner() != nullptr)
        SetRegFormNameString(Owner()->Name());
}

void TqvSaveForm::StoreFixedSettings()
{
    if (vcl::TControl* owner = OwnerControl()) {
        SetFixedWidth(owner->Width());
        SetFixedHeight(owner->Height());
    }
}

void TqvSaveForm::SetFixedBounds()
{
    if (vcl::TControl* owner = OwnerControl()) {
        owner->SetWidth(FFixedWidth);
        owner->SetHeight(FFixedHeight);
    }
}

void TqvSaveForm::StoreDesignSettings()
{
    if (vcl::TControl* owner = OwnerControl()) {
        SetDesignWidth(owner->Width());
        SetDesignHeight(owner->Height());
    }
}

void TqvSaveForm::SetFormDesignBounds()
{
    if (FFormSetting == fs_Auto) {
        if (!Ask(SwitchToFixedQuestion))
            return;
        SetFormSetting(fs_Fixed);
        if (Ask(StoreOriginalBoundsQuestion))
            StoreFixedSettings();
    }
    if (vcl::TControl* owner = OwnerControl()) {
        owner->SetWidth(FDesignWidth);
        owner->SetHeight(FDesignHeight);
    }
}

void TqvSaveForm::RefreshFormValues()
{
    if (!Designing())
        return;
    vcl::TRegistry registry;
    if (OpenFormKey(registry, false) != TKeyOpening::Opened)
        return;
    TStoredFormValues values;
    values.State = FStored;
    const bool read = ReadFormValues(registry, values);
    // Sizes, position, name, resolution and hint flag are taken even from a failed read.
    const TFormState previous = FStored;
    FStored = values.State;
    FStored.BorderIcons = previous.BorderIcons;
    FStored.FormStyle = previous.FormStyle;
    FStored.WindowState = previous.WindowState;
    if (!read) {
        if (!FDisableWarning)
            ReportFailure(RefreshFailedMessage, false);
        return;
    }
    FStored.FormStyle = FormStyleFromName(values.FormStyleText).value_or(previous.FormStyle);
    FStored.WindowState = WindowStateFromName(values.WindowStateText).value_or(previous.WindowState);
    FStored.BorderIcons = values.State.BorderIcons;
    SetVFormValues();
}

// Asks Question and deletes SubKey of ParentKey on Yes, reporting the outcome; reports
// MissingReport when there is no such key.
void TqvSaveForm::DeleteSubKey(const QStringList& ParentKey, const QString& SubKey, const QString& Question,
    const QString& MissingReport)
{
    vcl::TRegistry registry;
    bool exists = false;
    if (OpenKeyLevels(registry, ParentKey, false) == TKeyOpening::Opened && IsKeyLevelName(SubKey)) {
        try {
            exists = registry.KeyExists(SubKey);
        } catch (const vcl::Exception&) {
            exists = false;
        }
    }
    if (!exists) {
        Inform(MissingReport);
        return;
    }
    if (!Ask(Question))
        return;
    bool deleted = false;
    try {
        deleted = registry.DeleteKey(SubKey);
    } catch (const vcl::Exception&) {
        deleted = false;
    }
    Inform(deleted ? QStringLiteral("Key Succesfully Deleted") : QStringLiteral("Key Could not be Deleted"));
}

void TqvSaveForm::DelRegistry()
{
    DeleteSubKey(ApplicationKeyPath(FRegCompanyNameString, FRegAppNameString), FRegFormNameString,
        DeleteQuestion + QStringLiteral("Key for Form: ") + FRegFormNameString,
        QStringLiteral("Key for Form : ") + FRegFormNameString + QStringLiteral(" does not exist"));
}

void TqvSaveForm::DelDefault()
{
    const QStringList key = RememberedNamesKeyPath();
    DeleteSubKey(key.mid(0, key.size() - 1), key.last(), DeleteQuestion + QStringLiteral("Key for Default Values of Registry"),
        QStringLiteral("Key for Default Values does not exist"));
}

// A fixed size that was never set (zero or less, as for a component created in code)
// leaves the form's own size: applying it would shrink the form to nothing.
void TqvSaveForm::ApplyFixedSize(vcl::TControl& Owner) const
{
    Owner.SetBounds(Owner.Left(), Owner.Top(), FFixedWidth > 0 ? FFixedWidth : Owner.Width(),
        FFixedHeight > 0 ? FFixedHeight : Owner.Height());
}

void TqvSaveForm::OnShow(vcl::TObject*)
{
    // Applying a style re-shows a visible window, which would run this hook again.
    if (FRestoring)
        return;
    if (FSavedShow)
        FSavedShow(this);
    vcl::TCustomForm* form = OwnerForm();
    if (form == nullptr)
        return;
    vcl::TRegistry registry;
    const TKeyOpening opening = OpenFormKey(registry, false);
    if (opening == TKeyOpening::Unusable) {
        // The form opens as designed.
        ReportFailure(RestoreFailedMessage, true);
        return;
    }
    if (opening == TKeyOpening::Missing) {
        ApplyFixedSize(*form);
        return;
    }
    TStoredFormValues values;
    if (!ReadFormValues(registry, values)) {
        ReportFailure(RestoreFailedMessage, false);
        return;
    }
    const QScopedValueRollback restoring(FRestoring, true);
    ApplyStoredState(*form, values);
}

void TqvSaveForm::ApplyStoredState(vcl::TCustomForm& Form, const TStoredFormValues& Values) const
{
    const TFormState& stored = Values.State;
    if (const auto style = FormStyleFromName(Values.FormStyleText))
        Form.SetFormStyle(*style);
    Form.SetBorderIcons(stored.BorderIcons);
    QSize size(stored.Width, stored.Height);
    if (FFormSetting == fs_Fixed)
        size = QSize(FFixedWidth, FFixedHeight);
    // A size that is not positive (a damaged value, a fixed size never set) is not applied.
    if (size.width() <= 0)
        size.setWidth(Form.Width());
    if (size.height() <= 0)
        size.setHeight(Form.Height());
    // A stored name that cannot name this form (empty, not an identifier, or taken by
    // another component of its owner) leaves the name: raising here, inside the show,
    // would take the application down.
    if (stored.Name != Form.Name() && vcl::TComponent::IsValidIdent(stored.Name)) {
        try {
            Form.SetName(stored.Name);
        } catch (const vcl::EComponentError&) {
        }
    }
    Form.SetPixelsPerInch(stored.PixelsPerInch);
    // Windows never lie further out than Qt's widget size limit; a stored position
    // beyond it (a damaged value) is brought in before any arithmetic on it.
    const auto limit = [](int Value) { return std::clamp(Value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); };
    size = size.boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    const QRect bounds = PlaceOnScreens(QRect(QPoint(limit(stored.Left), limit(stored.Top)), size));
    Form.SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    Form.SetShowHint(stored.ShowHint);
    if (const auto state = WindowStateFromName(Values.WindowStateText))
        Form.SetWindowState(*state);
}

void TqvSaveForm::OnCloseForm(vcl::TObject*, vcl::TCloseAction& Action)
{
    Action = vcl::caFree;
    if (FSavedClose)
        FSavedClose(this, Action);
    if (Action != vcl::caHide && Action != vcl::caFree)
        return;
    if (vcl::TCustomForm* form = OwnerForm())
        SaveState(*form);
}

void TqvSaveForm::SaveState(vcl::TCustomForm& Form)
{
    vcl::TRegistry registry;
    if (OpenKeyLevels(registry, RememberedNamesKeyPath(), true) == TKeyOpening::Opened) {
        try {
            registry.WriteString(CompanyValueName, FRegCompanyNameString);
            registry.WriteString(ApplicationValueName, FRegAppNameString);
        } catch (const vcl::Exception&) {
            // The remembered names are a convenience for the design host.
        }
    }
    const TKeyOpening opening = OpenFormKey(registry, true);
    if (opening != TKeyOpening::Opened) {
        ReportFailure(SaveFailedMessage, opening == TKeyOpening::Unusable);
        return;
    }
    if (!WriteFormValues(registry, CurrentFormState(Form)))
        ReportFailure(SaveFailedMessage, false);
}

} // namespace Qvsaveform
