#include "lists/qvcolornames.h"

#include "lists/qvcolorcombo.h"
#include "vcl/controls/listitems.h"

namespace Qvcolorcombobox {

const std::array<QString, TColorNames::StandardColorCount>& TColorNames::BuiltInNames()
{
    static const std::array<QString, StandardColorCount> names{QStringLiteral("Black"), QStringLiteral("Maroon"),
        QStringLiteral("Green"), QStringLiteral("Olive"), QStringLiteral("Navy"), QStringLiteral("Purple"),
        QStringLiteral("Teal"), QStringLiteral("Gray"), QStringLiteral("Silver"), QStringLiteral("Red"),
        QStringLiteral("Lime"), QStringLiteral("Yellow"), QStringLiteral("Blue"), QStringLiteral("Fuchsia"),
        QStringLiteral("Aqua"), QStringLiteral("White")};
    return names;
}

TColorNames::TColorNames(TqvColorCombo* AOwner)
    : FOwner(AOwner)
    , FDefault(QStringLiteral("Assigned"))
    , FCustom(QStringLiteral("Custom"))
    , FStandard(BuiltInNames())
{
}

void TColorNames::SetDefault(const QString& Value)
{
    FDefault = Value;
    if (FOwner != nullptr)
        FOwner->RenameEntry(FOwner->DefaultEntryIndex(), Value);
}

void TColorNames::SetCustom(const QString& Value)
{
    FCustom = Value;
    if (FOwner != nullptr)
        FOwner->RenameEntry(FOwner->CustomEntryIndex(), Value);
}

const QString& TColorNames::GetStandardColor(int Index) const
{
    if (Index < 0 || Index >= StandardColorCount)
        throw vcl::EListError(QStringLiteral("Standard colour index out of bounds (%1)").arg(Index));
    return FStandard[size_t(Index)];
}

void TColorNames::SetStandardColor(int Index, const QString& Value)
{
    GetStandardColor(Index);
    FStandard[size_t(Index)] = Value;
    if (FOwner != nullptr)
        FOwner->RenameEntry(FOwner->StandardEntryIndex(Index), Value);
}

// Every name is copied, also those of entries the owner does not list now, so that a
// name survives until the entry is shown again.
void TColorNames::Assign(const vcl::TPersistent* Source)
{
    const auto* names = dynamic_cast<const TColorNames*>(Source);
    if (names == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetDefault(names->FDefault);
    SetCustom(names->FCustom);
    for (int i = 0; i < StandardColorCount; ++i)
        SetStandardColor(i, names->FStandard[size_t(i)]);
}

} // namespace Qvcolorcombobox
