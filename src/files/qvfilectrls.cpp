#include "files/qvfilectrls.h"

#include "vcl/core/locale.h"
#include "vcl/core/unitstartup.h"

namespace Qvfilectrls {

static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvfilectrls"), {});

unsigned PrimaryLanguageOf(TFileViewLanguage Language)
{
    switch (Language) {
    case lnEnglish: return vcl::LANG_ENGLISH;
    case lnItalian: return vcl::LANG_ITALIAN;
    case lnFrench: return vcl::LANG_FRENCH;
    case lnGerman: return vcl::LANG_GERMAN;
    case lnSpanish: return vcl::LANG_SPANISH;
    case lnUserDefault: return vcl::PRIMARYLANGID(vcl::GetUserDefaultLangID());
    case lnSystemDefault: break;
    }
    return vcl::PRIMARYLANGID(vcl::GetSystemDefaultLangID());
}

int TextBaseOf(TFileViewLanguage Language, const vcl::TStringTable& Table)
{
    const int base = int(PrimaryLanguageOf(Language)) * 100;
    return Table.Find(base + txHeader).isEmpty() ? FallbackTextBase : base;
}

QString FileListText(int Base, TTextOffset Offset)
{
    return vcl::LoadResString(Base + Offset);
}

QString DriveTypeText(int Base, int Code)
{
    constexpr int LastDriveType = 6;
    return vcl::LoadResString(Base + txDriveUnknown + ((Code < 0 || Code > LastDriveType) ? 0 : Code));
}

} // namespace Qvfilectrls
