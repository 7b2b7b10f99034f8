#include "vcl/graphics/fontenum.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>

namespace vcl {

namespace {

// The size the metrics of an enumerated font are given for: the platform reports
// outline fonts at their design size; a 16-pixel font stands in for it here.
constexpr int EnumPixelSize = 16;

NEWTEXTMETRIC MetricsOf(const QFont& Font, uint8_t PitchAndFamily)
{
    const QFontMetrics m(Font);
    NEWTEXTMETRIC metrics;
    metrics.tmHeight = m.height();
    metrics.tmAscent = m.ascent();
    metrics.tmDescent = m.descent();
    metrics.tmInternalLeading = std::max(0, m.height() - Font.pixelSize());
    metrics.tmExternalLeading = std::max(0, m.leading());
    metrics.tmAveCharWidth = m.averageCharWidth();
    metrics.tmMaxCharWidth = m.maxWidth();
    metrics.tmWeight = Font.weight() >= QFont::DemiBold ? 700 : 400;
    metrics.tmItalic = Font.italic() ? 1 : 0;
    metrics.tmPitchAndFamily = PitchAndFamily;
    return metrics;
}

ENUMLOGFONT EnumLogFontOf(const QString& Family, const QString& Style, const NEWTEXTMETRIC& Metrics)
{
    ENUMLOGFONT font;
    font.elfLogFont.lfHeight = Metrics.tmHeight;
    font.elfLogFont.lfWeight = Metrics.tmWeight;
    font.elfLogFont.lfItalic = Metrics.tmItalic;
    font.elfLogFont.lfPitchAndFamily = Metrics.tmPitchAndFamily;
    font.elfLogFont.lfFaceName = Family.left(LF_FACESIZE - 1);
    font.elfFullName = Style.isEmpty() ? Family : Family + u' ' + Style;
    font.elfStyle = Style;
    return font;
}

// One callback for Family in Style (empty: the family's regular face).
int Report(const QString& Family, const QString& Style, const FONTENUMPROC& Proc, LPARAM Data)
{
    QFont font = Style.isEmpty() ? QFont(Family) : QFontDatabase::font(Family, Style, EnumPixelSize);
    font.setPixelSize(EnumPixelSize);
    const NEWTEXTMETRIC metrics = MetricsOf(font, PitchAndFamilyOf(Family));
    return Proc(EnumLogFontOf(Family, Style, metrics), metrics, FontTypeOf(Family), Data);
}

} // namespace

QStringList InstalledFontFamilies()
{
    QStringList families;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family))
            families.append(family);
    families.sort(Qt::CaseInsensitive);
    return families;
}

int FontTypeOf(const QString& Family)
{
    return QFontDatabase::isSmoothlyScalable(Family) ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE;
}

uint8_t PitchAndFamilyOf(const QString& Family)
{
    uint8_t bits = QFontDatabase::isFixedPitch(Family) ? 0 : TMPF_FIXED_PITCH;
    if (QFontDatabase::isSmoothlyScalable(Family))
        bits |= TMPF_TRUETYPE | TMPF_VECTOR;
    return bits;
}

int EnumFontFamilies(HDC DC, const QString& Family, const FONTENUMPROC& Proc, LPARAM Data)
{
    if (DC == nullptr || !Proc)
        return 0;
    int result = 0;
    if (Family.isEmpty()) {
        for (const QString& family : InstalledFontFamilies())
            if ((result = Report(family, QString(), Proc, Data)) == 0)
                break;
        return result;
    }
    if (!QFontDatabase::families().contains(Family, Qt::CaseInsensitive))
        return 0;
    for (const QString& style : QFontDatabase::styles(Family))
        if ((result = Report(Family, style, Proc, Data)) == 0)
            break;
    return result;
}

} // namespace vcl
