#include "rtfgroupstate.h"

namespace vcl::rtf {

namespace {

double Pixels(int Twips) { return Twips / TwipsPerPixel; }

} // namespace

int TDocumentTables::CodePageOf(const TCharState& Char) const
{
    const auto font = Fonts.constFind(Char.Font < 0 ? DefaultFont : Char.Font);
    return font == Fonts.cend() || font->CodePage == 0 ? CodePage : font->CodePage;
}

QTextCharFormat TDocumentTables::CharFormat(const TCharState& Char) const
{
    QTextCharFormat format;
    const auto font = Fonts.constFind(Char.Font < 0 ? DefaultFont : Char.Font);
    if (font != Fonts.cend() && !font->Name.isEmpty())
        format.setFontFamilies(QStringList{font->Name});
    format.setFontPointSize(Char.HalfPoints / 2.0);
    if (Char.Bold)
        format.setFontWeight(QFont::Bold);
    if (Char.Italic)
        format.setFontItalic(true);
    if (Char.Underline)
        format.setFontUnderline(true);
    if (Char.Strike)
        format.setFontStrikeOut(true);
    if (Char.Foreground > 0 && Char.Foreground < Colors.size() && Colors[Char.Foreground].isValid())
        format.setForeground(Colors[Char.Foreground]);
    if (Char.Highlight > 0 && Char.Highlight < Colors.size() && Colors[Char.Highlight].isValid())
        format.setBackground(Colors[Char.Highlight]);
    return format;
}

QTextBlockFormat BlockFormat(const TParaState& Para)
{
    QTextBlockFormat format;
    format.setAlignment(Para.Alignment);
    format.setLeftMargin(Pixels(Para.LeftTwips));
    format.setRightMargin(Pixels(Para.RightTwips));
    format.setTextIndent(Pixels(Para.FirstLineTwips));
    format.setTopMargin(Pixels(Para.BeforeTwips));
    format.setBottomMargin(Pixels(Para.AfterTwips));
    if (!Para.Tabs.isEmpty())
        format.setTabPositions(Para.Tabs);
    return format;
}

} // namespace vcl::rtf
