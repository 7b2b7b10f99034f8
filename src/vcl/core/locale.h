#pragma once
// The user's and the system's language and their date and time texts, read from the
// locale environment, with the original platform's language numbers and call shapes.
#include "vcl/core/sysutils.h"
#include <QString>
#include <cstdint>

namespace vcl {

using LANGID = uint16_t;
using LCID = uint32_t;

constexpr LANGID MAKELANGID(unsigned Primary, unsigned Sub) { return static_cast<LANGID>((Sub << 10) | Primary); }
constexpr unsigned PRIMARYLANGID(LANGID Lang) { return Lang & 0x3FF; }
constexpr unsigned SUBLANGID(LANGID Lang) { return Lang >> 10; }

constexpr unsigned LANG_NEUTRAL = 0x00;
constexpr unsigned LANG_GERMAN = 0x07;
constexpr unsigned LANG_ENGLISH = 0x09;
constexpr unsigned LANG_SPANISH = 0x0A;
constexpr unsigned LANG_FRENCH = 0x0C;
constexpr unsigned LANG_ITALIAN = 0x10;

constexpr LCID LOCALE_USER_DEFAULT = 0x400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x800;

// Flags of GetDateFormat and GetTimeFormat.
constexpr uint32_t DATE_SHORTDATE = 0x1;
constexpr uint32_t DATE_LONGDATE = 0x2;
constexpr uint32_t TIME_NOSECONDS = 0x2;

struct SYSTEMTIME {
    uint16_t wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};

// The language number of a locale name such as "de_DE.UTF-8@euro": "C", "POSIX" and
// empty give English (United States) 0x0409; a known language with a territory the
// table lacks gives that language's default; anything else LANG_NEUTRAL (0).
LANGID LangIDFromLocaleName(const QString& Name);
// The locale name of a language number ("de_DE" for 0x0407); empty when unknown.
QString LocaleNameFromLangID(LANGID Lang);

// The language of the user's messages, in the order the C library looks for it.
LANGID GetUserDefaultLangID();
// The language the system was set up with.
LANGID GetSystemDefaultLangID();

// Date and time texts in the locale's manner. Locale is LOCALE_USER_DEFAULT (or 0),
// LOCALE_SYSTEM_DEFAULT or a language number; Date null means now; a null Format means
// the locale's own picture (short or long date by Flags; the time with or without
// seconds). A Format is the platform's picture: d dd ddd dddd, M MM MMM MMMM, y yy
// yyyy, h hh (12-hour), H HH, m mm, s ss, t tt, quoted literals. An invalid date or
// time gives empty text.
QString GetDateFormat(LCID Locale, uint32_t Flags, const SYSTEMTIME* Date, const QString& Format = QString());
QString GetTimeFormat(LCID Locale, uint32_t Flags, const SYSTEMTIME* Time, const QString& Format = QString());

// A format table with the date and time formats, names and separators of the user's
// locale (LOCALE_USER_DEFAULT) or another; every other field keeps its fixed default.
TFormatSettings LocaleFormatSettings(LCID Locale = LOCALE_USER_DEFAULT);

// FormatDateTime by the given table instead of the process-wide one (it lives with the
// other date pictures in sysutils_datetime.cpp).
QString FormatDateTime(const QString& Fmt, TDateTime DateTime, const TFormatSettings& Settings);

} // namespace vcl
