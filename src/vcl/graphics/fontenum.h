#pragma once
// Font-family enumeration as the platform offers it: one call per family (or per style of
// one family) with its logical font, its text metrics and its kind, from Qt's font
// database. Screen and printer contexts see the same families: printing goes through the
// same font configuration here.
#include "vcl/graphics/gdi.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace vcl {

// Bits of TEXTMETRIC::tmPitchAndFamily. The fixed-pitch bit set means VARIABLE pitch, as
// on the original platform.
enum : uint8_t { TMPF_FIXED_PITCH = 0x01, TMPF_VECTOR = 0x02, TMPF_TRUETYPE = 0x04, TMPF_DEVICE = 0x08 };
// The kinds reported to an enumeration callback.
enum : int { RASTER_FONTTYPE = 0x1, DEVICE_FONTTYPE = 0x2, TRUETYPE_FONTTYPE = 0x4 };

struct ENUMLOGFONT {
    LOGFONT elfLogFont;
    QString elfFullName;
    QString elfStyle;
};
using NEWTEXTMETRIC = TEXTMETRIC;
using LPARAM = intptr_t;

// Called once per family or style; returning 0 stops the enumeration.
using FONTENUMPROC = std::function<int(const ENUMLOGFONT& LogFont, const NEWTEXTMETRIC& Metrics, int FontType, LPARAM Data)>;

// With Family empty, calls Proc once per installed family (sorted, face names cut to
// LF_FACESIZE - 1 characters); with a family name, once per style of that family.
// Returns the last value Proc returned, or 0 when it was never called (no context, an
// unknown family).
int EnumFontFamilies(HDC DC, const QString& Family, const FONTENUMPROC& Proc, LPARAM Data);

// The kind of a family: TRUETYPE_FONTTYPE for outline fonts, RASTER_FONTTYPE for bitmap
// fonts.
int FontTypeOf(const QString& Family);
// The platform's pitch-and-family bits of a family: TMPF_TRUETYPE for outline fonts,
// TMPF_FIXED_PITCH unless the family is fixed pitch.
uint8_t PitchAndFamilyOf(const QString& Family);

// The installed families that applications may choose (private system families left
// out), sorted without regard to case.
QStringList InstalledFontFamilies();

} // namespace vcl
