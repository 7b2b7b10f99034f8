#pragma once
// The state of a form as the save-form component stores it in the registry: the
// thirteen values under a form key, their names and types, and the key paths it uses.
#include "vcl/controls/forms.h"
#include "vcl/registry/registry.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

namespace Qvsaveform {

// Position, size, style and window state of a form, with the rest of what is stored.
struct TFormState {
    vcl::TBorderIcons BorderIcons; // The title-bar buttons.
    vcl::TFormStyle FormStyle = vcl::fsNormal; // The form style.
    int Height = 0; // Height in pixels.
    int Left = 0; // Left edge in pixels.
    QString Name; // The form's name.
    int PixelsPerInch = 96; // The resolution the form was designed at.
    bool ShowHint = false; // Whether the form shows hints.
    int Top = 0; // Top edge in pixels.
    int Width = 0; // Width in pixels.
    vcl::TWindowState WindowState = vcl::wsNormal; // Normal, minimised or maximised.
    friend bool operator==(const TFormState&, const TFormState&) = default;
};

// The values as read from a form key, the style and window state still as their texts
// (a text that names neither leaves the form's own value).
struct TStoredFormValues {
    TFormState State; // The values, the style and window state aside.
    QString FormStyleText; // The form style as stored.
    QString WindowStateText; // The window state as stored.
};

// "fsNormal" ... "fsStayOnTop", "wsNormal" ... "wsMaximized".
QString FormStyleName(vcl::TFormStyle Style);
QString WindowStateName(vcl::TWindowState State); // (see FormStyleName)
// The style or state a text names exactly; nothing for any other text.
std::optional<vcl::TFormStyle> FormStyleFromName(const QString& Text);
std::optional<vcl::TWindowState> WindowStateFromName(const QString& Text); // (see FormStyleFromName)

// The state of a form now. For a designed root that is a control but not a form (a
// design host's page), the form-only values keep their defaults.
TFormState CurrentFormState(const vcl::TControl& Owner);

// "Software" \ Company \ Application, the key that holds one key per form.
QStringList ApplicationKeyPath(const QString& Company, const QString& Application);
// "Software" \ Company \ Application \ Form.
QStringList FormKeyPath(const QString& Company, const QString& Application, const QString& Form);
// Where every close remembers the company and application names.
QStringList RememberedNamesKeyPath();
// Where a newly dropped component looks for its names in the design host.
QStringList DesignNamesKeyPath();
// The value names under which the company and application names are remembered.
//@{
inline const QString CompanyValueName = QStringLiteral("RegCompanyNameString");
inline const QString ApplicationValueName = QStringLiteral("RegAppNameString");
//@}


// How OpenKeyLevels ended: the key is open, a level is missing, or the store cannot be
// used.
enum class TKeyOpening { Opened, Missing, Unusable };

// Opens Levels below the current user's root one level at a time, creating missing
// ones when CanCreate is set. Every level is checked: a level that is empty or holds a
// "\" (which would open several levels, or none) counts as missing, and after any
// failure no key is left open, so a later write fails instead of landing on an upper
// level. A store that cannot be used gives Unusable.
TKeyOpening OpenKeyLevels(vcl::TRegistry& Registry, const QStringList& Levels, bool CanCreate);
// Whether Name can be one level of a key path.
bool IsKeyLevelName(const QString& Name);

// Reads the thirteen values from the open key in their fixed order, each on its own:
// a failed read does not stop the rest. False when any read failed (a missing or
// mistyped number or flag, a string of another type, a store that fails).
bool ReadFormValues(vcl::TRegistry& Registry, TStoredFormValues& Values);
// Writes the thirteen values in the same order, each on its own; false when any failed.
bool WriteFormValues(vcl::TRegistry& Registry, const TFormState& State);

// Where a window with Bounds goes on screens with the usable areas Screens. A window that
// shows less than a grip of itself (MinVisibleWidth by MinVisibleHeight, or all of it
// when smaller) on every screen, as when it was saved on a monitor that is no longer
// attached, is moved onto the screen nearest to it, inside its usable area as far as
// its size allows; its size is kept. Other windows, and any window when there are no
// screens, stay where they are.
QRect PlaceOnScreens(const QRect& Bounds, const QList<QRect>& Screens);
// The same on the usable areas of the screens the application has now.
QRect PlaceOnScreens(const QRect& Bounds);
// The grip PlaceOnScreens keeps visible, in pixels.
//@{
inline constexpr int MinVisibleWidth = 64;
inline constexpr int MinVisibleHeight = 20;
//@}


} // namespace Qvsaveform
