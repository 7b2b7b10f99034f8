#include "fuzztargets.h"

#include "platform/ftp/ftplisting.h"
#include "shell/masksearch.h"
#include "utilities/qvscontrols.h"
#include "vcl/core/sysutils.h"
#include "vcl/registry/inidocument.h"
#include "vcl/registry/regexport.h"
#include "vcl/richtext/rtfreader.h"
#include "vcl/richtext/rtfwriter.h"
#include "vcl/streaming/formfile.h"
#include "vcl/streaming/formtree.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>

namespace qvfuzz {

namespace {

QByteArray Bytes(const uint8_t* Data, size_t Size)
{
    return QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size));
}

void Check(bool Holds, const char* What)
{
    if (Holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", What);
    std::abort();
}

// NaN never equals itself; two NaNs are the same value here.
bool SameFloat(long double A, long double B) { return A == B || (A != A && B != B); }

// Written is what Read gave back after writing.
bool SameValue(const vcl::formfile::Value& Read, const vcl::formfile::Value& Written)
{
    // The writer gives integral floating values in their shortest form ("2"), which the
    // reader takes as an integer; reading a property converts it back.
    if (Read.Type == vcl::formfile::Value::Float && Written.Type == vcl::formfile::Value::Integer)
        return Read.FloatValue == static_cast<long double>(Written.IntValue);
    const auto& A = Read;
    const auto& B = Written;
    if (A.Type != B.Type || A.IntValue != B.IntValue || !SameFloat(A.FloatValue, B.FloatValue) || A.Text != B.Text
        || A.Names != B.Names || A.Bytes != B.Bytes || A.Items.size() != B.Items.size())
        return false;
    for (size_t i = 0; i < A.Items.size(); ++i)
        if (!SameValue(A.Items[i], B.Items[i]))
            return false;
    return true;
}

// Every property value the parser accepted is written as the writer would and read back.
void CheckValuesRoundTrip(const vcl::formfile::Object& Node)
{
    for (const auto& property : Node.Properties) {
        const QString text = QStringLiteral("object X: T\n  P = %1\nend\n").arg(vcl::formfile::Render(property.Data, 2));
        const vcl::formfile::Object again = vcl::formfile::Parse(text);
        Check(again.Properties.size() == 1 && SameValue(property.Data, again.Properties[0].Data),
              "a form-file value does not read back as written");
    }
    for (const auto& child : Node.Children)
        CheckValuesRoundTrip(child);
}

} // namespace

void FuzzFormFile(const uint8_t* Data, size_t Size)
{
    vcl::formfile::Object tree;
    try {
        tree = vcl::formfile::Parse(QString::fromUtf8(Bytes(Data, Size)));
    } catch (const vcl::EFormFileError& e) {
        Check(e.Line() >= 1, "a form-file error names no line");
        return;
    }
    CheckValuesRoundTrip(tree);
}

void FuzzIniDocument(const uint8_t* Data, size_t Size)
{
    vcl::TIniDocument document;
    document.SetData(Bytes(Data, Size));
    const QByteArray written = document.Data();
    // Every key listed can be read, and writing what was read changes nothing.
    for (const QString& section : document.Sections())
        for (const QString& key : document.Keys(section))
            Check(document.Value(section, key).has_value(), "a listed INI key has no value");
    vcl::TIniDocument again;
    again.SetData(written);
    Check(again.Data() == written, "an INI document does not write back what it read");
    try {
        document.SetValue(QStringLiteral("fuzz"), QStringLiteral("key"), QStringLiteral("value"));
        Check(document.Value(QStringLiteral("fuzz"), QStringLiteral("key")) == QStringLiteral("value"),
              "an INI value written does not read back");
    } catch (const vcl::EIniFileException&) {
    }
}

void FuzzRegImport(const uint8_t* Data, size_t Size)
{
    std::vector<vcl::TRegImportBlock> blocks;
    try {
        blocks = vcl::ParseRegistryText(QString::fromUtf8(Bytes(Data, Size)));
    } catch (const vcl::ERegistryException&) {
        return;
    }
    // Every value read is exported and read again unchanged.
    for (const auto& block : blocks)
        for (const auto& [name, value] : block.Values) {
            const QString text = QLatin1String(vcl::RegistryExportSignature) + QStringLiteral("\n[HKCU\\K]\n")
                                 + vcl::FormatRegValue(name, value) + QLatin1Char('\n');
            const auto again = vcl::ParseRegistryText(text);
            Check(again.size() == 1 && again[0].Values.size() == 1 && again[0].Values[0].first == name
                      && again[0].Values[0].second == value,
                  "a registry value does not read back as exported");
        }
}

void FuzzFtpListing(const uint8_t* Data, size_t Size)
{
    const QByteArray listing = Bytes(Data, Size);
    const QDateTime now(QDate(2024, 6, 15), QTime(12, 0), Qt::UTC);
    for (const auto format : {platform::ftp::ListingFormat::Mlsd, platform::ftp::ListingFormat::List})
        for (const auto& entry : platform::ftp::ParseListing(listing, format, now)) {
            Check(!entry.Name.isEmpty() && entry.Name != "." && entry.Name != "..", "a listing gave a bad name");
            Check(entry.Size >= 0, "a listing gave a negative size");
        }
}

// The first line is the format line, the rest the expression.
void FuzzCalc(const uint8_t* Data, size_t Size)
{
    const QString text = QString::fromUtf8(Bytes(Data, Size));
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    Qvscontrols::TqvCalc calc;
    calc.OnFindUserFunc = [](vcl::TObject*, const QString& Name) { return Name.startsWith(QLatin1Char('u')); };
    if (lineEnd >= 0)
        calc.SetFormatLine(text.left(lineEnd));
    const QString expression = text.mid(lineEnd + 1);
    calc.SetCalcLine(expression);
    Check(calc.WhereIsLastError() >= 1 && calc.WhereIsLastError() <= calc.CalcLine().size() + 1,
          "the calculator's error position is outside its line");
    (void)calc.Number();
    (void)calc.RegisterA();
}

// The first line is the mask text, every further line a file name.
void FuzzMask(const uint8_t* Data, size_t Size)
{
    const QStringList lines = QString::fromUtf8(Bytes(Data, Size)).split(QLatin1Char('\n'));
    vcl::TStringList masks;
    Masksearch::BuildMask(lines.front(), masks);
    vcl::TStringList everything;
    Masksearch::BuildMask(QStringLiteral("*"), everything);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const bool matches = Masksearch::FileMatches(lines[i], &masks);
        bool any = false;
        QString name = vcl::AnsiLowerCase(lines[i]);
        if (!name.contains(QLatin1Char('.')))
            name += QLatin1Char('.');
        for (int m = 0; m < masks.Count(); ++m)
            any = Masksearch::MatchOneMask(name, masks[m]) || any;
        Check(matches == any, "FileMatches disagrees with the masks one by one");
        Check(Masksearch::FileMatches(lines[i], &everything), "a name does not match \"*\"");
    }
}

// Whatever was read, also before a fault, writes out and reads back to the same text.
void FuzzRtf(const uint8_t* Data, size_t Size)
{
    QTextDocument document;
    const vcl::TRtfReadResult result = vcl::ReadRtf(QByteArrayView(Data, qsizetype(Size)), document);
    Check(result.ok == result.error.isEmpty(), "an RTF result is ok with an error, or failed without one");
    Check(result.ok ? result.errorOffset == -1 : result.errorOffset >= 0 && size_t(result.errorOffset) <= Size,
          "an RTF error offset outside the data");
    QTextDocument again;
    const vcl::TRtfReadResult back = vcl::ReadRtf(vcl::WriteRtf(document), again);
    Check(back.ok && !back.truncated, "RTF from the writer does not read back in full");
    Check(again.toRawText() == document.toRawText(), "RTF text changes when written and read again");
}

const std::vector<FuzzTarget>& FuzzTargets()
{
    static const std::vector<FuzzTarget> targets{
        {"formfile", FuzzFormFile}, {"inidocument", FuzzIniDocument}, {"regimport", FuzzRegImport},
        {"ftplisting", FuzzFtpListing}, {"calc", FuzzCalc}, {"mask", FuzzMask}, {"rtf", FuzzRtf},
    };
    return targets;
}

} // namespace qvfuzz
