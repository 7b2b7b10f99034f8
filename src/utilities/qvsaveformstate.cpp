#include "utilities/qvsaveformstate.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <utility>

namespace Qvsaveform {

namespace {

const std::array<const char*, 4> FormStyleNames = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
const std::array<const char*, 3> WindowStateNames = {"wsNormal", "wsMinimized", "wsMaximized"};

struct BorderIconValue {
    const char* Name;
    vcl::TBorderIconItem Icon;
};
const std::array<BorderIconValue, 4> BorderIconValues = {{
    {"biSystemMenu", vcl::biSystemMenu},
    {"biMinimize", vcl::biMinimize},
    {"biMaximize", vcl::biMaximize},
    {"biHelp", vcl::biHelp},
}};

template <size_t N>
int IndexOfName(const std::array<const char*, N>& Names, const QString& Text)
{
    for (size_t i = 0; i < N; ++i)
        if (Text == QLatin1String(Names[i]))
            return int(i);
    return -1;
}

// Runs one registry access; a failure is noted in Failed and the caller goes on.
template <class F>
void Guarded(bool& Failed, F&& Access)
{
    try {
        std::forward<F>(Access)();
    } catch (const vcl::Exception&) {
        Failed = true;
    }
}

QString Name(const char* Text) { return QString::fromLatin1(Text); }

bool ShowsAGrip(const QRect& Bounds, const QRect& Screen)
{
    const QRect visible = Bounds.intersected(Screen);
    return visible.width() >= std::min(Bounds.width(), MinVisibleWidth)
        && visible.height() >= std::min(Bounds.height(), MinVisibleHeight) && !visible.isEmpty();
}

// Squared distance between two rectangles (0 when they overlap), in 64 bits: stored
// positions may lie anywhere in the 32-bit range.
int64_t DistanceSquared(const QRect& A, const QRect& B)
{
    auto gap = [](int64_t lowA, int64_t highA, int64_t lowB, int64_t highB) {
        return std::max<int64_t>({0, lowB - highA, lowA - highB});
    };
    const int64_t dx = gap(A.left(), A.right(), B.left(), B.right());
    const int64_t dy = gap(A.top(), A.bottom(), B.top(), B.bottom());
    return dx * dx + dy * dy;
}

// The first coordinate at which Length fits inside [Low, Low + Room), or Low when it
// does not fit at all (the window's top left corner stays reachable).
int Clamp(int64_t Position, int Length, int Low, int Room)
{
    const int64_t highest = int64_t(Low) + std::max(0, Room - Length);
    return int(std::clamp<int64_t>(Position, Low, highest));
}

} // namespace

QRect PlaceOnScreens(const QRect& Bounds, const QList<QRect>& Screens)
{
    if (Screens.isEmpty() || std::any_of(Screens.begin(), Screens.end(), [&](const QRect& s) { return ShowsAGrip(Bounds, s); }))
        return Bounds;
    const QRect nearest = *std::min_element(Screens.begin(), Screens.end(), [&](const QRect& a, const QRect& b) {
        return DistanceSquared(Bounds, a) < DistanceSquared(Bounds, b);
    });
    return QRect(Clamp(Bounds.x(), Bounds.width(), nearest.x(), nearest.width()),
        Clamp(Bounds.y(), Bounds.height(), nearest.y(), nearest.height()), Bounds.width(), Bounds.height());
}

QRect PlaceOnScreens(const QRect& Bounds)
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return PlaceOnScreens(Bounds, areas);
}

QString FormStyleName(vcl::TFormStyle Style) { return Name(FormStyleNames.at(size_t(Style))); }

QString WindowStateName(vcl::TWindowState State) { return Name(WindowStateNames.at(size_t(State))); }

std::optional<vcl::TFormStyle> FormStyleFromName(const QString& Text)
{
    const int index = IndexOfName(FormStyleNames, Text);
    return index < 0 ? std::nullopt : std::optional(vcl::TFormStyle(index));
}

std::optional<vcl::TWindowState> WindowStateFromName(const QString& Text)
{
    const int index = IndexOfName(WindowStateNames, Text);
    return index < 0 ? std::nullopt : std::optional(vcl::TWindowState(index));
}

TFormState CurrentFormState(const vcl::TControl& Owner)
{
    TFormState state;
    if (const auto* form = dynamic_cast<const vcl::TCustomForm*>(&Owner)) {
        state.BorderIcons = form->BorderIcons();
        state.FormStyle = form->FormStyle();
        state.PixelsPerInch = form->PixelsPerInch();
        state.WindowState = form->WindowState();
    }
    state.Height = Owner.Height();
    state.Left = Owner.Left();
    state.Name = Owner.Name();
    state.ShowHint = Owner.ShowHint();
    state.Top = Owner.Top();
    state.Width = Owner.Width();
    return state;
}

QStringList ApplicationKeyPath(const QString& Company, const QString& Application)
{
    return {QStringLiteral("Software"), Company, Application};
}

QStringList FormKeyPath(const QString& Company, const QString& Application, const QString& Form)
{
    return ApplicationKeyPath(Company, Application) << Form;
}

QStringList RememberedNamesKeyPath()
{
    return {QStringLiteral("Software"), QStringLiteral("Quillbrook"), QStringLiteral("qvSaveForm")};
}

QStringList DesignNamesKeyPath()
{
    return {QStringLiteral("Software"), QStringLiteral("Quillbrook 1"), QStringLiteral("qvSaveForm")};
}

bool IsKeyLevelName(const QString& Name)
{
    return !Name.isEmpty() && !Name.contains(QLatin1Char('\\')) && vcl::TRegistry::IsValidKeyPath(Name);
}

TKeyOpening OpenKeyLevels(vcl::TRegistry& Registry, const QStringList& Levels, bool CanCreate)
{
    Registry.CloseKey();
    try {
        for (const QString& level : Levels) {
            if (!IsKeyLevelName(level) || !Registry.OpenKey(level, CanCreate)) {
                Registry.CloseKey();
                return TKeyOpening::Missing;
            }
        }
    } catch (const vcl::ERegistryException&) {
        Registry.CloseKey();
        return TKeyOpening::Unusable;
    }
    return Levels.isEmpty() ? TKeyOpening::Missing : TKeyOpening::Opened;
}

bool ReadFormValues(vcl::TRegistry& Registry, TStoredFormValues& Values)
{
    bool failed = false;
    TFormState& state = Values.State;
    Guarded(failed, [&] { Values.FormStyleText = Registry.ReadString(QStringLiteral("FormStyle")); });
    state.BorderIcons = {};
    for (const BorderIconValue& icon : BorderIconValues)
        Guarded(failed, [&] { state.BorderIcons.setFlag(icon.Icon, Registry.ReadBool(Name(icon.Name))); });
    Guarded(failed, [&] { state.Height = Registry.ReadInteger(QStringLiteral("Height")); });
    Guarded(failed, [&] { state.Name = Registry.ReadString(QStringLiteral("Name")); });
    Guarded(failed, [&] { state.PixelsPerInch = Registry.ReadInteger(QStringLiteral("PixelsPerInch")); });
    Guarded(failed, [&] { state.ShowHint = Registry.ReadBool(QStringLiteral("ShowHint")); });
    Guarded(failed, [&] { state.Left = Registry.ReadInteger(QStringLiteral("Left")); });
    Guarded(failed, [&] { state.Top = Registry.ReadInteger(QStringLiteral("Top")); });
    Guarded(failed, [&] { state.Width = Registry.ReadInteger(QStringLiteral("Width")); });
    Guarded(failed, [&] { Values.WindowStateText = Registry.ReadString(QStringLiteral("WindowState")); });
    return !failed;
}

bool WriteFormValues(vcl::TRegistry& Registry, const TFormState& State)
{
    bool failed = false;
    Guarded(failed, [&] { Registry.WriteString(QStringLiteral("FormStyle"), FormStyleName(State.FormStyle)); });
    for (const BorderIconValue& icon : BorderIconValues)
        Guarded(failed, [&] { Registry.WriteBool(Name(icon.Name), State.BorderIcons.testFlag(icon.Icon)); });
    Guarded(failed, [&] { Registry.WriteInteger(QStringLiteral("Height"), State.Height); });
    Guarded(failed, [&] { Registry.WriteString(QStringLiteral("Name"), State.Name); });
    Guarded(failed, [&] { Registry.WriteInteger(QStringLiteral("PixelsPerInch"), State.PixelsPerInch); });
    Guarded(failed, [&] { Registry.WriteBool(QStringLiteral("ShowHint"), State.ShowHint); });
    Guarded(failed, [&] { Registry.WriteInteger(QStringLiteral("Left"), State.Left); });
    Guarded(failed, [&] { Registry.WriteInteger(QStringLiteral("Top"), State.Top); });
    Guarded(failed, [&] { Registry.WriteInteger(QStringLiteral("Width"), State.Width); });
    Guarded(failed, [&] { Registry.WriteString(QStringLiteral("WindowState"), WindowStateName(State.WindowState)); });
    return !failed;
}

} // namespace Qvsaveform
