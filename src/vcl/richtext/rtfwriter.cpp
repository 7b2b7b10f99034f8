#include "rtfwriter.h"

#include "rtfcodepages.h"
#include "rtfgroupstate.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>

namespace vcl {

namespace {

using namespace vcl::rtf;

// The size written for runs whose size the document does not give in points.
constexpr double FallbackPointSize = 12.0;
// CSS pixels are 1/96 inch, points 1/72.
constexpr double PointsPerPixel = 72.0 / 96.0;

int Twips(qreal Pixels) { return qRound(Pixels * TwipsPerPixel); }

class TRtfWriter {
public:
    explicit TRtfWriter(const QTextDocument& Document) : FDocument(Document) {}

    QByteArray Write();

private:
    QString FamilyOf(const QTextCharFormat& Format) const;
    double PointSizeOf(const QTextCharFormat& Format) const;
    void CollectTables();
    void AddFont(const QString& Family);
    void AddColor(const QBrush& Brush);
    int ColorIndex(const QBrush& Brush) const;
    void WriteTables();
    void WriteBlock(const QTextBlock& Block);
    void WriteParagraphFormat(const QTextBlockFormat& Format);
    void WriteRun(const QString& Text, const QTextCharFormat& Format);
    void WriteText(const QString& Text);
    void WriteChar(char16_t Char);

    const QTextDocument& FDocument;
    QStringList FFonts;
    QHash<QString, int> FFontIndexes;
    QList<QColor> FColors; // the colour table from index 1; 0 is the automatic colour
    QHash<QRgb, int> FColorIndexes;
    QByteArray FOut;
};

QByteArray TRtfWriter::Write()
{
    CollectTables();
    FOut += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
    WriteTables();
    for (QTextBlock block = FDocument.begin(); block.isValid(); block = block.next())
        WriteBlock(block);
    FOut += "}\n";
    return FOut;
}

QString TRtfWriter::FamilyOf(const QTextCharFormat& Format) const
{
    const QStringList families = Format.fontFamilies().toStringList();
    return families.isEmpty() || families.front().isEmpty() ? FDocument.defaultFont().family() : families.front();
}

double TRtfWriter::PointSizeOf(const QTextCharFormat& Format) const
{
    if (Format.fontPointSize() > 0)
        return Format.fontPointSize();
    if (Format.hasProperty(QTextFormat::FontPixelSize))
        return Format.intProperty(QTextFormat::FontPixelSize) * PointsPerPixel;
    const double documentSize = FDocument.defaultFont().pointSizeF();
    return documentSize > 0 ? documentSize : FallbackPointSize;
}

// Fonts and colours in the order the text first uses them; the document's font first.
void TRtfWriter::CollectTables()
{
    AddFont(FamilyOf(QTextCharFormat()));
    for (QTextBlock block = FDocument.begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            AddFont(FamilyOf(format));
            AddColor(format.foreground());
            AddColor(format.background());
        }
}

void TRtfWriter::AddFont(const QString& Family)
{
    if (FFontIndexes.contains(Family))
        return;
    FFontIndexes.insert(Family, int(FFonts.size()));
    FFonts.append(Family);
}

void TRtfWriter::AddColor(const QBrush& Brush)
{
    if (Brush.style() == Qt::NoBrush || FColorIndexes.contains(Brush.color().rgb()))
        return;
    FColors.append(Brush.color().toRgb());
    FColorIndexes.insert(Brush.color().rgb(), int(FColors.size()));
}

int TRtfWriter::ColorIndex(const QBrush& Brush) const
{
    return Brush.style() == Qt::NoBrush ? 0 : FColorIndexes.value(Brush.color().rgb());
}

void TRtfWriter::WriteTables()
{
    FOut += "{\\fonttbl";
    for (qsizetype i = 0; i < FFonts.size(); ++i) {
        FOut += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        // A ';' would end the name early; it is written as a byte escape instead.
        for (const QChar c : FFonts[i])
            c == QLatin1Char(';') ? void(FOut += "\\'3b") : WriteChar(c.unicode());
        FOut += ";}";
    }
    FOut += "}\n{\\colortbl;";
    for (const QColor& color : FColors)
        FOut += "\\red" + QByteArray::number(color.red()) + "\\green" + QByteArray::number(color.green()) + "\\blue"
                + QByteArray::number(color.blue()) + ';';
    FOut += "}\n";
}

void TRtfWriter::WriteBlock(const QTextBlock& Block)
{
    WriteParagraphFormat(Block.blockFormat());
    for (auto fragment = Block.begin(); !fragment.atEnd(); ++fragment)
        WriteRun(fragment.fragment().text(), fragment.fragment().charFormat());
    // Every paragraph ends with \par; the reader opens no empty paragraph after the last.
    FOut += "\\par\n";
}

void TRtfWriter::WriteParagraphFormat(const QTextBlockFormat& Format)
{
    FOut += "\\pard";
    switch (Format.alignment() & Qt::AlignHorizontal_Mask) {
    case Qt::AlignRight: FOut += "\\qr"; break;
    case Qt::AlignHCenter: FOut += "\\qc"; break;
    case Qt::AlignJustify: FOut += "\\qj"; break;
    default: FOut += "\\ql"; break;
    }
    const qreal left = Format.leftMargin() + Format.indent() * FDocument.indentWidth();
    const std::pair<const char*, int> lengths[] = {
        {"\\li", Twips(left)},
        {"\\ri", Twips(Format.rightMargin())},
        {"\\fi", Twips(Format.textIndent())},
        {"\\sb", Twips(Format.topMargin())},
        {"\\sa", Twips(Format.bottomMargin())},
    };
    for (const auto& [word, value] : lengths)
        if (value != 0)
            FOut += word + QByteArray::number(value);
    for (const QTextOption::Tab& tab : Format.tabPositions()) {
        static const char* const kinds[] = {"", "\\tqr", "\\tqc", "\\tqdec"}; // in QTextOption::TabType order
        FOut += kinds[tab.type] + QByteArrayLiteral("\\tx") + QByteArray::number(Twips(tab.position));
    }
    FOut += ' ';
}

void TRtfWriter::WriteRun(const QString& Text, const QTextCharFormat& Format)
{
    FOut += "{\\f" + QByteArray::number(FFontIndexes.value(FamilyOf(Format))) + "\\fs"
            + QByteArray::number(qRound(PointSizeOf(Format) * 2));
    if (Format.fontWeight() >= QFont::DemiBold)
        FOut += "\\b";
    if (Format.fontItalic())
        FOut += "\\i";
    if (Format.fontUnderline())
        FOut += "\\ul";
    if (Format.fontStrikeOut())
        FOut += "\\strike";
    if (const int color = ColorIndex(Format.foreground()))
        FOut += "\\cf" + QByteArray::number(color);
    if (const int color = ColorIndex(Format.background()))
        FOut += "\\highlight" + QByteArray::number(color);
    FOut += ' ';
    WriteText(Text);
    FOut += '}';
}

void TRtfWriter::WriteText(const QString& Text)
{
    for (const QChar c : Text) {
        switch (c.unicode()) {
        case u'\t': FOut += "\\tab "; break;
        case QChar::LineSeparator: FOut += "\\line "; break;
        case QChar::Nbsp: FOut += "\\~"; break;
        case QChar::SoftHyphen: FOut += "\\-"; break;
        case u'\u2011': FOut += "\\_"; break;
        case QChar::ObjectReplacementCharacter: break; // an image: not written
        default:
            if (c.unicode() >= 0x20)
                WriteChar(c.unicode());
        }
    }
}

void TRtfWriter::WriteChar(char16_t Char)
{
    if (Char == u'\\' || Char == u'{' || Char == u'}') {
        FOut += '\\';
        FOut += char(Char);
    } else if (Char >= 0x20 && Char < 0x7F) {
        FOut += char(Char);
    } else if (const auto byte = EncodeCp1252(QChar(Char)); byte && Char >= 0x20) {
        FOut += "\\'" + QByteArray::number(*byte, 16).rightJustified(2, '0');
    } else {
        // \u takes a signed 16-bit number; "?" is what readers without Unicode show.
        FOut += "\\u" + QByteArray::number(int(qint16(Char))) + '?';
    }
}

} // namespace

QByteArray WriteRtf(const QTextDocument& Document)
{
    return TRtfWriter(Document).Write();
}

} // namespace vcl
