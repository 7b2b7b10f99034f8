// Text output and measurement of the drawing engine.
#include "vcl/graphics/gdi.h"

#include "vcl/graphics/gdiengine.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace vcl {

using namespace gdiengine;

namespace {

QFont FontOf(const TDeviceContext& DC)
{
    return DC.Font ? DC.Font->Font : QFont(TFont::DefaultName());
}

int Escapement(const TDeviceContext& DC)
{
    return DC.Font ? DC.Font->LogFont.lfEscapement : 0;
}

// Draws Text with its cell's top-left corner at (X, Y), rotated by the font's
// escapement; the cell is filled with the background colour first when Opaque.
// Monochrome surfaces get their touched pixels snapped back to black and white.
void PaintText(TDeviceContext& DC, int X, int Y, const QString& Text, const QRect* Clip, bool Opaque)
{
    QImage* image = DC.Surface();
    if (!image || Text.isEmpty())
        return;
    const QRegion drawable = DrawableRegion(DC);
    const QRegion clip = Clip ? drawable.intersected(*Clip) : drawable;
    if (clip.isEmpty())
        return;
    const QFont font = FontOf(DC);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(Text);
    const int height = metrics.height();
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setClipRegion(clip);
    painter.translate(X, Y);
    const int escapement = Escapement(DC);
    if (escapement != 0)
        painter.rotate(-escapement / 10.0);
    const bool mono = DC.Monochrome();
    if (Opaque)
        painter.fillRect(QRect(0, 0, width, height), QColor::fromRgb(SurfacePixel(DC.BkColor, mono)));
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(SurfacePixel(DC.TextColor, mono)));
    painter.drawText(0, metrics.ascent(), Text);
    const QRect touched = painter.transform().mapRect(QRect(0, 0, width, height)).adjusted(-2, -2, 2, 2);
    painter.end();
    if (mono)
        for (const QRect& area : clip.intersected(touched))
            SnapToMonochrome(*image, area);
}

struct PrefixedText {
    QString Text;
    int Underline = -1; // index of the character after the first single '&'
};

// Removes accelerator prefixes: "&x" underlines x, "&&" is a literal '&'.
PrefixedText StripPrefix(const QString& Text)
{
    PrefixedText result;
    for (int i = 0; i < Text.size(); ++i) {
        if (Text[i] == QLatin1Char('&') && i + 1 < Text.size()) {
            ++i;
            if (Text[i] != QLatin1Char('&') && result.Underline < 0)
                result.Underline = int(result.Text.size());
        } else if (Text[i] == QLatin1Char('&')) {
            continue;
        }
        result.Text += Text[i];
    }
    return result;
}

// Width of a line with tabs expanded to stops every eight average character widths.
int LineWidth(const QFontMetrics& Metrics, const QString& Line, bool ExpandTabs)
{
    if (!ExpandTabs || !Line.contains(QLatin1Char('\t')))
        return Metrics.horizontalAdvance(Line);
    const int stop = std::max(1, 8 * Metrics.averageCharWidth());
    int x = 0;
    const QStringList parts = Line.split(QLatin1Char('\t'));
    for (int i = 0; i < parts.size(); ++i) {
        x += Metrics.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size())
            x = (x / stop + 1) * stop;
    }
    return x;
}

// Breaks a line at spaces so that each piece fits Width (a word wider than Width
// stays whole on a line of its own).
QStringList WrapLine(const QFontMetrics& Metrics, const QString& Line, int Width, bool ExpandTabs)
{
    QStringList lines;
    QString current;
    const QStringList words = Line.split(QLatin1Char(' '));
    for (const QString& word : words) {
        const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (!current.isEmpty() && LineWidth(Metrics, candidate, ExpandTabs) > Width) {
            lines << current;
            current = word;
        } else {
            current = candidate;
        }
    }
    lines << current;
    return lines;
}

// Shortens a line to fit Width, ending it in "...".
QString EndEllipsis(const QFontMetrics& Metrics, const QString& Line, int Width)
{
    if (Metrics.horizontalAdvance(Line) <= Width)
        return Line;
    const QString dots = QStringLiteral("...");
    QString kept = Line;
    while (!kept.isEmpty() && Metrics.horizontalAdvance(kept + dots) > Width)
        kept.chop(1);
    return kept + dots;
}

void PaintLine(TDeviceContext& DC, const QFontMetrics& Metrics, int X, int Y, const QString& Line, bool ExpandTabs,
    const QRect* Clip)
{
    const bool opaque = DC.BkMode == OPAQUE;
    if (!ExpandTabs || !Line.contains(QLatin1Char('\t'))) {
        PaintText(DC, X, Y, Line, Clip, opaque);
        return;
    }
    const int stop = std::max(1, 8 * Metrics.averageCharWidth());
    int x = 0;
    const QStringList parts = Line.split(QLatin1Char('\t'));
    for (int i = 0; i < parts.size(); ++i) {
        PaintText(DC, X + x, Y, parts[i], Clip, opaque);
        x += Metrics.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size())
            x = (x / stop + 1) * stop;
    }
}

// The lines DrawText shows: one line for DT_SINGLELINE (line breaks become spaces),
// else one per line break, wrapped at Width with DT_WORDBREAK; each shortened with an
// ellipsis to Width with DT_END_ELLIPSIS.
QStringList LayoutLines(const QFontMetrics& Metrics, const QString& Text, int Width, UINT Format)
{
    const bool tabs = Format & DT_EXPANDTABS;
    QStringList lines;
    if (Format & DT_SINGLELINE) {
        QString single = Text;
        single.replace(QLatin1String("\r\n"), QLatin1String(" "));
        single.replace(QLatin1Char('\n'), QLatin1Char(' '));
        single.replace(QLatin1Char('\r'), QLatin1Char(' '));
        lines << single;
    } else {
        QString body = Text;
        body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        for (const QString& line : body.split(QLatin1Char('\n'))) {
            if (Format & DT_WORDBREAK)
                lines << WrapLine(Metrics, line, Width, tabs);
            else
                lines << line;
        }
    }
    if (Format & DT_END_ELLIPSIS)
        for (QString& line : lines)
            line = EndEllipsis(Metrics, line, Width);
    return lines;
}

// The top of the first line: a single line may be centred or set at the bottom.
int TextTop(const TRect& Rect, int TextHeight, UINT Format)
{
    if (!(Format & DT_SINGLELINE))
        return Rect.Top;
    if (Format & DT_VCENTER)
        return Rect.Top + (Rect.Bottom - Rect.Top - TextHeight) / 2;
    if (Format & DT_BOTTOM)
        return Rect.Bottom - TextHeight;
    return Rect.Top;
}

// The left end of a line LineWidth wide: left, centred or right aligned.
int LineLeft(const TRect& Rect, int LineWidth, UINT Format)
{
    if (Format & DT_CENTER)
        return Rect.Left + (Rect.Right - Rect.Left - LineWidth) / 2;
    if (Format & DT_RIGHT)
        return Rect.Right - LineWidth;
    return Rect.Left;
}

// Underlines character At of Line, drawn at (X, Y) in the text colour, cut to Rect
// unless the text is unclipped.
void UnderlineCharacter(HDC DC, const QFontMetrics& Metrics, int X, int Y, const QString& Line, int At,
    const TRect& Rect, bool Clipped)
{
    const int ux = X + Metrics.horizontalAdvance(Line.left(At));
    const int uw = Metrics.horizontalAdvance(Line.mid(At, 1));
    TGdiBrush brush(BS_SOLID, DC->TextColor);
    TRect bar{ux, Y + Metrics.ascent() + 1, ux + uw, Y + Metrics.ascent() + 2};
    if (Clipped) {
        bar.Left = std::max(bar.Left, Rect.Left);
        bar.Right = std::min(bar.Right, Rect.Right);
    }
    if (bar.Right > bar.Left)
        FillRect(DC, bar, &brush);
}

// The bounding box of Lines set from Rect's top-left corner (DT_CALCRECT).
int MeasureLines(const QFontMetrics& Metrics, const QStringList& Lines, int LineHeight, bool ExpandTabs, TRect& Rect)
{
    int widest = 0;
    for (const QString& line : Lines)
        widest = std::max(widest, LineWidth(Metrics, line, ExpandTabs));
    Rect.Right = Rect.Left + widest;
    Rect.Bottom = Rect.Top + LineHeight * int(Lines.size());
    return Rect.Bottom - Rect.Top;
}

} // namespace

int DrawText(HDC DC, const QString& Text, int Count, TRect& Rect, UINT Format)
{
    if (!DC)
        return 0;
    const QString text = Count < 0 ? Text : Text.left(Count);
    const PrefixedText prefixed = (Format & DT_NOPREFIX) ? PrefixedText{text, -1} : StripPrefix(text);
    const QFontMetrics metrics(FontOf(*DC));
    const bool tabs = Format & DT_EXPANDTABS;
    const int lineHeight = metrics.height() + ((Format & DT_EXTERNALLEADING) ? metrics.leading() : 0);
    const QStringList lines = LayoutLines(metrics, prefixed.Text, Rect.Right - Rect.Left, Format);
    if (Format & DT_CALCRECT)
        return MeasureLines(metrics, lines, lineHeight, tabs, Rect);

    int y = TextTop(Rect, lineHeight * int(lines.size()), Format);
    const QRect clip = Rect.ToQRect();
    const bool clipped = !(Format & DT_NOCLIP);
    int consumed = 0; // characters of the earlier lines, to place the underline
    for (const QString& line : lines) {
        const int x = LineLeft(Rect, LineWidth(metrics, line, tabs), Format);
        PaintLine(*DC, metrics, x, y, line, tabs, clipped ? &clip : nullptr);
        const int at = prefixed.Underline - consumed;
        if (!(Format & DT_HIDEPREFIX) && prefixed.Underline >= 0 && at >= 0 && at < line.size())
            UnderlineCharacter(DC, metrics, x, y, line, at, Rect, clipped);
        consumed += int(line.size());
        y += lineHeight;
    }
    return y - Rect.Top;
}

BOOL TextOut(HDC DC, int X, int Y, const QString& Text, int Count)
{
    return ExtTextOut(DC, X, Y, 0, nullptr, Text, Count);
}

BOOL ExtTextOut(HDC DC, int X, int Y, UINT Options, const TRect* Rect, const QString& Text, int Count)
{
    if (!DC)
        return false;
    const QString text = Count < 0 ? Text : Text.left(Count);
    if (Rect && (Options & ETO_OPAQUE)) {
        TGdiBrush back(BS_SOLID, DC->BkColor);
        FillRect(DC, *Rect, &back);
    }
    const QRect clip = Rect ? Rect->ToQRect() : QRect();
    PaintText(*DC, X, Y, text, (Rect && (Options & ETO_CLIPPED)) ? &clip : nullptr, DC->BkMode == OPAQUE);
    return true;
}

BOOL GetTextExtentPoint32(HDC DC, const QString& Text, int Count, TSize& Size)
{
    if (!DC)
        return false;
    const QFontMetrics metrics(FontOf(*DC));
    const QString text = Count < 0 ? Text : Text.left(Count);
    Size = {metrics.horizontalAdvance(text), metrics.height()};
    return true;
}

TEXTMETRIC TextMetricsOf(const QFont& Font)
{
    const QFontMetrics m(Font);
    TEXTMETRIC metrics;
    metrics.tmHeight = m.height();
    metrics.tmAscent = m.ascent();
    metrics.tmDescent = m.descent();
    metrics.tmInternalLeading = std::max(0, m.height() - Font.pixelSize());
    metrics.tmExternalLeading = std::max(0, m.leading());
    metrics.tmAveCharWidth = m.averageCharWidth();
    metrics.tmMaxCharWidth = m.maxWidth();
    metrics.tmWeight = Font.bold() ? 700 : 400;
    metrics.tmItalic = Font.italic() ? 1 : 0;
    metrics.tmUnderlined = Font.underline() ? 1 : 0;
    metrics.tmStruckOut = Font.strikeOut() ? 1 : 0;
    metrics.tmPitchAndFamily = Font.fixedPitch() ? 0 : 1; // the platform sets bit 0 for variable pitch
    return metrics;
}

BOOL GetTextMetrics(HDC DC, TEXTMETRIC& Metrics)
{
    if (!DC)
        return false;
    Metrics = TextMetricsOf(FontOf(*DC));
    Metrics.tmCharSet = DC->Font ? DC->Font->LogFont.lfCharSet : 1;
    return true;
}

} // namespace vcl
