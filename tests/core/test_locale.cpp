#include "vcl/core/locale.h"

#include <gtest/gtest.h>
#include <map>

using namespace vcl;

namespace {

using TVariables = std::map<QByteArray, QByteArray>;

// Sets the locale variables for one case (the others unset) and puts back the
// process's own values afterwards.
class TLocaleEnvironment {
public:
    explicit TLocaleEnvironment(const TVariables& values)
    {
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LC_TIME", "LANG"}) {
            FSaved[name] = qgetenv(name);
            FWasSet[name] = qEnvironmentVariableIsSet(name);
            qunsetenv(name);
        }
        for (const auto& [name, value] : values)
            qputenv(name.constData(), value);
    }
    ~TLocaleEnvironment()
    {
        for (const auto& [name, value] : FSaved)
            FWasSet[name] ? qputenv(name.constData(), value) : qunsetenv(name.constData());
    }

private:
    std::map<QByteArray, QByteArray> FSaved;
    std::map<QByteArray, bool> FWasSet;
};

// Tuesday 5 March 2024, 14:07:09.
const SYSTEMTIME Afternoon = {2024, 3, 2, 5, 14, 7, 9, 0};
const SYSTEMTIME Morning = {2024, 3, 2, 5, 9, 5, 3, 0};

} // namespace

TEST(Locale, LanguageNumbersFollowTheMessagesVariablesAndLocaleNamesMapToThem)
{
    const struct { TVariables Env; LANGID User; LANGID System; } cases[] = {
        {{}, 0x0409, 0x0409},
        {{{"LANG", "de_DE.UTF-8"}}, 0x0407, 0x0407},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "fr_FR:de"}}, 0x040C, 0x0409},
        {{{"LANG", "C"}, {"LANGUAGE", "fr"}}, 0x0409, 0x0409}, // LANGUAGE is ignored under C
        {{{"LC_ALL", "it_IT.UTF-8"}, {"LANG", "de_DE"}}, 0x0410, 0x0410},
        {{{"LC_MESSAGES", "nl_NL.UTF-8"}, {"LANG", "da_DK"}}, 0x0413, 0x0406},
        {{{"LANG", "pt_BR.UTF-8"}}, 0x0416, 0x0416},
        {{{"LANG", "xx_YY.UTF-8"}}, LANG_NEUTRAL, LANG_NEUTRAL},
        {{{"LANG", ""}, {"LC_ALL", "POSIX"}}, 0x0409, 0x0409},
    };
    for (const auto& c : cases) {
        TLocaleEnvironment env(c.Env);
        EXPECT_EQ(GetUserDefaultLangID(), c.User) << (c.Env.empty() ? "" : c.Env.begin()->second.constData());
        EXPECT_EQ(GetSystemDefaultLangID(), c.System);
    }

    // Locale names map to the platform's language numbers.
    const struct { const char* Name; LANGID Lang; } names[] = {
        {"en_US", 0x0409}, {"de_DE.UTF-8@euro", 0x0407}, {"fr_FR", 0x040C}, {"es_ES", 0x0C0A},
        {"es", 0x0C0A}, {"es_MX", 0x080A}, {"it_IT", 0x0410}, {"nl_NL", 0x0413}, {"da_DK", 0x0406},
        {"pt_BR", 0x0416}, {"pt", 0x0416}, {"en-GB", 0x0809}, {"de_LU", 0x0407}, {"C.UTF-8", 0x0409},
        {"", 0x0409}, {"sr_RS", 0}, {"zz", 0},
    };
    for (const auto& c : names)
        EXPECT_EQ(LangIDFromLocaleName(c.Name), c.Lang) << c.Name;
    EXPECT_EQ(PRIMARYLANGID(0x0C0A), LANG_SPANISH);
    EXPECT_EQ(SUBLANGID(0x0C0A), 3u);
    EXPECT_EQ(MAKELANGID(LANG_GERMAN, 1), 0x0407);
    EXPECT_EQ(LocaleNameFromLangID(0x040C), "fr_FR");
}

// The expected texts are the usual conventions of each country, written out by hand.
TEST(Locale, DefaultDateAndTimeTextsFollowLang)
{
    const struct { const char* Lang; const char* Short; const char* Long; const char* Time; const char* TimeSec; } cases[] = {
        {"en_US.UTF-8", "3/5/24", "Tuesday, March 5, 2024", "2:07 PM", "2:07:09 PM"},
        {"de_DE.UTF-8", "05.03.24", "Dienstag, 5. März 2024", "14:07", "14:07:09"},
        {"fr_FR.UTF-8", "05/03/2024", "mardi 5 mars 2024", "14:07", "14:07:09"},
        {"es_ES.UTF-8", "5/3/24", "martes, 5 de marzo de 2024", "14:07", "14:07:09"},
        {"C", "3/5/24", "Tuesday, March 5, 2024", "2:07 PM", "2:07:09 PM"},
    };
    for (const auto& c : cases) {
        TLocaleEnvironment env(TVariables{{"LANG", c.Lang}});
        EXPECT_EQ(GetDateFormat(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &Afternoon), QString::fromUtf8(c.Short)) << c.Lang;
        EXPECT_EQ(GetDateFormat(0, DATE_LONGDATE, &Afternoon), QString::fromUtf8(c.Long)) << c.Lang;
        EXPECT_EQ(GetTimeFormat(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &Afternoon), c.Time) << c.Lang;
        EXPECT_EQ(GetTimeFormat(LOCALE_SYSTEM_DEFAULT, 0, &Afternoon), c.TimeSec) << c.Lang;
    }
}

TEST(Locale, GivenPicturesAndLocaleNumbers)
{
    TLocaleEnvironment env(TVariables{{"LANG", "de_DE.UTF-8"}});
    const struct { LCID Locale; bool Date; uint32_t Flags; const SYSTEMTIME* At; const char* Picture; const char* Text; } cases[] = {
        {LOCALE_USER_DEFAULT, true, 0, &Afternoon, "dddd',' d MMMM yyyy", "Dienstag, 5 März 2024"},
        {LOCALE_USER_DEFAULT, true, 0, &Afternoon, "'Tag ''d''' d yy-MM-dd", "Tag 'd' 5 24-03-05"},
        {0x0409, true, 0, &Afternoon, "ddd d MMMM y", "Tue 5 March 24"},
        {0x0409, false, 0, &Morning, "hh:mm:ss tt", "09:05:03 AM"},
        {0x0409, false, 0, &Afternoon, "h:mm t", "2:07 P"},
        {0x0409, false, TIME_NOSECONDS, &Afternoon, "hh:mm:ss tt", "02:07 PM"},
        {LOCALE_USER_DEFAULT, false, 0, &Morning, "H 'Uhr' mm", "9 Uhr 05"},
        {0x0407, true, DATE_LONGDATE, &Afternoon, nullptr, "Dienstag, 5. März 2024"},
        {0x0499, true, 0, &Afternoon, nullptr, ""}, // no such language
    };
    for (const auto& c : cases) {
        const QString picture = c.Picture ? QString::fromUtf8(c.Picture) : QString();
        const QString text = c.Date ? GetDateFormat(c.Locale, c.Flags, c.At, picture) : GetTimeFormat(c.Locale, c.Flags, c.At, picture);
        EXPECT_EQ(text, QString::fromUtf8(c.Text)) << (c.Picture ? c.Picture : "default");
    }
    const SYSTEMTIME badDate = {2024, 13, 0, 5, 10, 0, 0, 0};
    const SYSTEMTIME badTime = {2024, 3, 2, 5, 24, 0, 0, 0};
    EXPECT_EQ(GetDateFormat(LOCALE_USER_DEFAULT, 0, &badDate), QString());
    EXPECT_EQ(GetTimeFormat(LOCALE_USER_DEFAULT, 0, &badTime), QString());
    EXPECT_FALSE(GetDateFormat(LOCALE_USER_DEFAULT, 0, nullptr).isEmpty()); // today
}

TEST(Locale, FormatDateTimeWithTheUsersTableLeavesTheFixedTableAlone)
{
    const TDateTime at = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
    const struct { const char* Lang; const char* ShortDate; const char* ShortTime; const char* Text; const char* All; } cases[] = {
        {"en_US.UTF-8", "m/d/yy", "h:nn ampm", "3/5/24 2:07 PM", "3/5/24 2:07:09 PM"},
        {"de_DE.UTF-8", "dd/mm/yy", "hh:nn", "05.03.24 14:07", "05.03.24 14:07:09"},
    };
    for (const auto& c : cases) {
        TLocaleEnvironment env(TVariables{{"LANG", c.Lang}});
        const TFormatSettings user = LocaleFormatSettings();
        EXPECT_EQ(user.ShortDateFormat, c.ShortDate) << c.Lang;
        EXPECT_EQ(user.ShortTimeFormat, c.ShortTime) << c.Lang;
        EXPECT_EQ(FormatDateTime("ddddd t", at, user), c.Text) << c.Lang;
        EXPECT_EQ(FormatDateTime("c", at, user), c.All) << c.Lang;
        EXPECT_EQ(FormatDateTime("ddddd t", at), "3/5/2024 2:07 PM") << c.Lang;
    }
    TLocaleEnvironment env(TVariables{{"LANG", "de_DE.UTF-8"}});
    EXPECT_EQ(FormatDateTime("dddd d mmmm", at, LocaleFormatSettings()), QString::fromUtf8("Dienstag 5 März"));
}
