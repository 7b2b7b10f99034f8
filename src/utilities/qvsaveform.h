#pragma once
// Qvsaveform: TqvSaveForm keeps a form's position, size, style and window state in the
// registry between runs; TFormValues shows a stored state in the design host.
#include "utilities/qvsaveformstate.h"
#include "vcl/core/classes.h"

#include <QObject>
#include <QPointer>

namespace Qvsaveform {
Q_NAMESPACE

// fs_Auto restores the stored size; fs_Fixed applies FixedWidth and FixedHeight instead.
enum TARFormSetting { fs_Auto, fs_Fixed };
Q_ENUM_NS(TARFormSetting)

// A read-only display of a form state: its setters ignore what they are given.
class TFormValues : public vcl::TPersistent {
    Q_GADGET
    Q_PROPERTY(vcl::Forms::TBorderIcons st_BorderIcons READ st_BorderIcons WRITE Ignore)
    Q_PROPERTY(vcl::Forms::TFormStyle st_FormStyle READ st_FormStyle WRITE Ignore)
    Q_PROPERTY(int st_Height READ st_Height WRITE Ignore)
    Q_PROPERTY(int st_Left READ st_Left WRITE Ignore)
    Q_PROPERTY(QString st_Name READ st_Name WRITE Ignore)
    Q_PROPERTY(int st_PixelsPerInch READ st_PixelsPerInch WRITE Ignore)
    Q_PROPERTY(bool st_ShowHint READ st_ShowHint WRITE Ignore)
    Q_PROPERTY(int st_Top READ st_Top WRITE Ignore)
    Q_PROPERTY(int st_Width READ st_Width WRITE Ignore)
    Q_PROPERTY(vcl::Forms::TWindowState st_WindowState READ st_WindowState WRITE Ignore)

public:
    // The state's values, one for each field of TFormState.
    //@{
    vcl::TBorderIcons st_BorderIcons() const { return FState.BorderIcons; }
    vcl::TFormStyle st_FormStyle() const { return FState.FormStyle; }
    int st_Height() const { return FState.Height; }
    int st_Left() const { return FState.Left; }
    QString st_Name() const { return FState.Name; }
    int st_PixelsPerInch() const { return FState.PixelsPerInch; }
    bool st_ShowHint() const { return FState.ShowHint; }
    int st_Top() const { return FState.Top; }
    int st_Width() const { return FState.Width; }
    vcl::TWindowState st_WindowState() const { return FState.WindowState; }
    //@}


    // The state shown.
    const TFormState& State() const { return FState; }
    void SetState(const TFormState& Value) { FState = Value; }
    void Assign(const vcl::TPersistent* Source) override; // Copies the state of another TFormValues.

private:
    template <class T>
    void Ignore(const T&) {}

    TFormState FState;
};

// Dropped on a form, saves the form's state when it closes and restores it when it is
// next shown, under the key "Software" \ RegCompanyNameString \ RegAppNameString \ RegFormNameString
// of the current user's registry.
//
// At run time it takes over the form's OnShow and OnClose and calls the handlers the
// form had before, with itself as Sender. Its owner must be a form then. In the design
// host it leaves the form's events alone and offers the operations its component
// editor calls; there its owner may be any control that stands for the designed form.
//
// Failures are shown in the framework's message dialog: one message for a restore or
// a save that failed in any of its values, and for a store that cannot be used at all
// one message in the component's life, whatever it was doing.
class TqvSaveForm : public QObject, public vcl::TComponent {
    Q_OBJECT
    Q_PROPERTY(QString RegCompanyNameString READ RegCompanyNameString WRITE SetRegCompanyNameString)
    Q_PROPERTY(QString RegAppNameString READ RegAppNameString WRITE SetRegAppNameString)
    Q_PROPERTY(QString RegFormNameString READ RegFormNameString WRITE SetRegFormNameString)
    Q_PROPERTY(bool DisableWarning READ DisableWarning WRITE SetDisableWarning)
    Q_PROPERTY(Qvsaveform::TARFormSetting FormSetting READ FormSetting WRITE SetFormSetting)
    Q_PROPERTY(int FixedHeight READ FixedHeight WRITE SetFixedHeight)
    Q_PROPERTY(int FixedWidth READ FixedWidth WRITE SetFixedWidth)
    Q_PROPERTY(int DesignHeight READ DesignHeight WRITE SetDesignHeight)
    Q_PROPERTY(int DesignWidth READ DesignWidth WRITE SetDesignWidth)
    // A display of the stored state, refreshed from the registry: form files leave it out.
    Q_PROPERTY(Qvsaveform::TFormValues* FormValues READ FormValues WRITE SetFormValues STORED false)

public:
    // The names a component gets in the design host when no earlier one left any.
    static inline const QString DefaultCompanyName = QStringLiteral("<Velnor Software>");
    static inline const QString DefaultApplicationName = QStringLiteral("qvSaveForm"); // (see DefaultCompanyName)

    // Raises EComponentError at run time when AOwner is a component but not a form.
    explicit TqvSaveForm(vcl::TComponent* AOwner);
    ~TqvSaveForm() override;

    // The company level of the registry key the state is stored under.
    const QString& RegCompanyNameString() const { return FRegCompanyNameString; }
    void SetRegCompanyNameString(const QString& Value);
    // The application level of the key.
    const QString& RegAppNameString() const { return FRegAppNameString; }
    void SetRegAppNameString(const QString& Value);
    // The form level of the key.
    const QString& RegFormNameString() const { return FRegFormNameString; }
    void SetRegFormNameString(const QString& Value);
    // Shows no message box when the stored state cannot be read.
    bool DisableWarning() const { return FDisableWarning; }
    void SetDisableWarning(bool Value) { FDisableWarning = Value; }
    // Whether the stored or the fixed size is applied (see TARFormSetting).
    TARFormSetting FormSetting() const { return FFormSetting; }
    void SetFormSetting(TARFormSetting Value);
    // The height fs_Fixed applies.
    int FixedHeight() const { return FFixedHeight; }
    void SetFixedHeight(int Value);
    // The width fs_Fixed applies.
    int FixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(int Value);
    // The height SetFormDesignBounds applies.
    int DesignHeight() const { return FDesignHeight; }
    void SetDesignHeight(int Value);
    // The width SetFormDesignBounds applies.
    int DesignWidth() const { return FDesignWidth; }
    void SetDesignWidth(int Value);
    // A read-only display of the stored state; writing it changes nothing.
    TFormValues* FormValues() { return &FFormValues; }
    void SetFormValues(const TFormValues*) {}

    // The component's copy of the stored values, as RefreshFormValues last read them.
    const TFormState& StoredValues() const { return FStored; }

    // The operations of the component editor.
    // RegFormNameString := the owner's name.
    void RefreshFormName();
    // Deletes the form key after asking.
    void DelRegistry();
    // Deletes the remembered company and application names after asking.
    void DelDefault();
    // In the design host only: reads the form key into StoredValues and FormValues.
    void RefreshFormValues();
    // FixedWidth and FixedHeight := the owner's size.
    void StoreFixedSettings();
    // The owner's size := FixedWidth and FixedHeight.
    void SetFixedBounds();
    // DesignWidth and DesignHeight := the owner's size.
    void StoreDesignSettings();
    // The owner's size := DesignWidth and DesignHeight, switching to fs_Fixed after asking.
    void SetFormDesignBounds();

    // True when all four levels of the form key exist.
    bool ExistForm();
    // FormValues := the owner's current state.
    void InitVFormValues();
    // FormValues := StoredValues.
    void SetVFormValues();

    // The handlers installed on the owner form at run time.
    void OnShow(vcl::TObject* Sender);
    void OnCloseForm(vcl::TObject* Sender, vcl::TCloseAction& Action); // Saves the form's state as it closes.

private:
    struct ShowHook;
    struct CloseHook;

    vcl::TControl* OwnerControl() const;
    vcl::TCustomForm* OwnerForm() const;
    bool Designing() const { return ComponentState().testFlag(vcl::csDesigning); }
    void InitDesignTime();
    void ReadDesignNames(vcl::TRegistry& Registry);
    void HookForm(vcl::TCustomForm& Form);
    void UnhookForm();
    QStringList FormKey() const;
    TKeyOpening OpenFormKey(vcl::TRegistry& Registry, bool CanCreate) const;
    // Shows Message as an error, unless it is about an unusable store already reported.
    void ReportFailure(const QString& Message, bool StoreUnusable);
    void ApplyFixedSize(vcl::TControl& Owner) const;
    void ApplyStoredState(vcl::TCustomForm& Form, const TStoredFormValues& Values) const;
    void SaveState(vcl::TCustomForm& Form);
    void DeleteSubKey(const QStringList& ParentKey, const QString& SubKey, const QString& Question,
        const QString& MissingReport);

    vcl::TNotifyEvent FSavedShow;
    vcl::TCloseEvent FSavedClose;
    QString FRegCompanyNameString;
    QString FRegAppNameString;
    QString FRegFormNameString;
    TFormValues FFormValues;
    TFormState FStored;
    bool FDisableWarning = false;
    TARFormSetting FFormSetting = fs_Auto;
    int FFixedHeight = 0;
    int FFixedWidth = 0;
    int FDesignHeight = 0;
    int FDesignWidth = 0;
    bool FHooked = false;
    bool FRestoring = false;
    bool FReportedUnusableStore = false;
};

} // namespace Qvsaveform
