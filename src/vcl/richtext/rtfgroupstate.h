#pragma once
// The formatting an RTF group carries, and how it becomes Qt text formats.
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextOption>

namespace vcl::rtf {

// Twips (1/1440 inch) per unit of the text document, whose lengths are pixels at 96 dpi.
constexpr double TwipsPerPixel = 15.0;
// Half-points: the size \fs gives when a file says none (12 points).
constexpr int DefaultHalfPoints = 24;

struct TCharState {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strike = false;
    int Font = -1; // -1: the document's default font (\deff)
    int HalfPoints = DefaultHalfPoints;
    int Foreground = 0; // colour table indexes; 0 is the automatic colour
    int Highlight = 0;
    bool operator==(const TCharState&) const = default;
};

struct TParaState {
    Qt::Alignment Alignment = Qt::AlignLeft;
    int LeftTwips = 0;
    int RightTwips = 0;
    int FirstLineTwips = 0;
    int BeforeTwips = 0;
    int AfterTwips = 0;
    QList<QTextOption::Tab> Tabs;
    QTextOption::TabType NextTabType = QTextOption::LeftTab; // set by \tqr, \tqc, \tqdec for the next \tx
};

enum class TDestination { Text, FontTable, ColorTable };

struct TGroupState {
    TCharState Char;
    TParaState Para;
    TDestination Destination = TDestination::Text;
    int UnicodeSkip = 1; // \ucN: bytes of fallback that follow each \uN
};

struct TFontEntry {
    QString Name;
    int CodePage = 0;
};

// The font and colour tables, and the document code page, as read so far.
struct TDocumentTables {
    int CodePage = 1252;
    int DefaultFont = 0;
    QHash<int, TFontEntry> Fonts;
    QList<QColor> Colors; // an invalid colour is the automatic colour

    int CodePageOf(const TCharState& Char) const;
    QTextCharFormat CharFormat(const TCharState& Char) const;
};

QTextBlockFormat BlockFormat(const TParaState& Para);

} // namespace vcl::rtf
