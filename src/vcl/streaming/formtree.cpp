#include "vcl/streaming/formtree.h"

#include "vcl/streaming/formfile.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vcl::formfile {

namespace {

// How deep objects and list values may nest, together. Real forms stay far below; the
// bound keeps a hostile file from exhausting the stack of the recursive parser.
constexpr int MaxNesting = 256;

// A hand-written scanner and recursive-descent parser; every fault names its line.
class Parser {
public:
    explicit Parser(const QString& text) : FText(text) {}

    Object ParseRoot() { return Whole([this] { return ParseObject(); }, QStringLiteral("Text after the end of the form")); }
    Value ParseLoneValue() { return Whole([this] { return ParseValue(); }, QStringLiteral("Text after the value")); }

private:
    // What Parse reads, which must be all of the text.
    template <class F>
    auto Whole(F&& Parse, const QString& TrailingText) -> decltype(Parse())
    {
        auto result = Parse();
        SkipBlanks();
        if (FPos < FText.size())
            Fail(TrailingText);
        return result;
    }

    [[noreturn]] void Fail(const QString& message) const { throw EFormFileError(FLine, message); }

    // Counts one level of nesting while it lives; refuses a level beyond MaxNesting.
    class Nested {
    public:
        explicit Nested(Parser& P) : FParser(P)
        {
            if (++FParser.FDepth > MaxNesting)
                FParser.Fail(QStringLiteral("Nesting deeper than %1 levels").arg(MaxNesting));
        }
        ~Nested() { --FParser.FDepth; }
        Nested(const Nested&) = delete;
        Nested& operator=(const Nested&) = delete;

    private:
        Parser& FParser;
    };

    QChar Peek() const { return FPos < FText.size() ? FText[FPos] : QChar(); }
    bool AtEnd() const { return FPos >= FText.size(); }

    void SkipBlanks()
    {
        while (!AtEnd()) {
            const QChar c = FText[FPos];
            if (c == u'\n') {
                ++FLine;
                ++FPos;
            } else if (c.isSpace()) {
                ++FPos;
            } else {
                break;
            }
        }
    }

    static bool IsIdentStart(QChar c) { return c.isLetter() || c == u'_'; }
    static bool IsIdentChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

    QString Ident()
    {
        SkipBlanks();
        if (AtEnd() || !IsIdentStart(Peek()))
            Fail(QStringLiteral("Identifier expected"));
        const qsizetype start = FPos;
        while (!AtEnd() && IsIdentChar(Peek()))
            ++FPos;
        return FText.mid(start, FPos - start);
    }

    // An identifier with dots: "Font.Name".
    QString QualifiedIdent()
    {
        QString name = Ident();
        while (Peek() == u'.') {
            ++FPos;
            name += u'.' + Ident();
        }
        return name;
    }

    void Expect(QChar symbol)
    {
        SkipBlanks();
        if (Peek() != symbol)
            Fail(QStringLiteral("'%1' expected").arg(symbol));
        ++FPos;
    }

    bool PeekWord(const QString& word)
    {
        SkipBlanks();
        if (!FText.mid(FPos, word.size()).startsWith(word, Qt::CaseInsensitive))
            return false;
        const qsizetype after = FPos + word.size();
        return after >= FText.size() || !IsIdentChar(FText[after]);
    }

    Object ParseObject()
    {
        const Nested level(*this);
        SkipBlanks();
        Object object;
        object.Line = FLine;
        if (!PeekWord(QStringLiteral("object")) && !PeekWord(QStringLiteral("inherited")))
            Fail(QStringLiteral("'object' expected"));
        Ident();
        QString first = Ident();
        SkipBlanks();
        if (Peek() == u':') {
            ++FPos;
            object.Name = first;
            object.ClassName = Ident();
        } else {
            object.ClassName = first;
        }
        for (;;) {
            SkipBlanks();
            if (AtEnd())
                Fail(QStringLiteral("'end' expected"));
            if (PeekWord(QStringLiteral("end"))) {
                Ident();
                return object;
            }
            if (PeekWord(QStringLiteral("object")) || PeekWord(QStringLiteral("inherited"))) {
                object.Children.push_back(ParseObject());
                continue;
            }
            if (!object.Children.empty())
                Fail(QStringLiteral("'end' expected"));
            Property property;
            property.Line = FLine;
            property.Name = QualifiedIdent();
            Expect(u'=');
            property.Data = ParseValue();
            object.Properties.push_back(std::move(property));
        }
    }

    Value ParseValue()
    {
        SkipBlanks();
        Value v;
        v.Line = FLine;
        const QChar c = Peek();
        if (c == u'\'' || c == u'#')
            StringValue(v);
        else if (c == u'[')
            SetValue(v);
        else if (c == u'(')
            ListValue(v);
        else if (c == u'{')
            BinaryValue(v);
        else if (c == u'-' || c == u'+' || c == u'$' || c.isDigit())
            NumberValue(v);
        else if (IsIdentStart(c))
            IdentValue(v);
        else
            Fail(QStringLiteral("Invalid property value"));
        return v;
    }

    void IdentValue(Value& v)
    {
        v.Type = Value::Ident;
        v.Text = QualifiedIdent();
    }

    void StringValue(Value& v)
    {
        v.Type = Value::String;
        v.Text = StringLiteral();
        // Long strings continue on the next line after "+".
        for (;;) {
            SkipBlanks();
            if (Peek() != u'+')
                break;
            ++FPos;
            SkipBlanks();
            v.Text += StringLiteral();
        }
    }

    void SetValue(Value& v)
    {
        ++FPos;
        v.Type = Value::Set;
        SkipBlanks();
        if (Peek() == u']') {
            ++FPos;
            return;
        }
        for (;;) {
            v.Names.push_back(Ident());
            SkipBlanks();
            if (Peek() == u']') {
                ++FPos;
                break;
            }
            Expect(u',');
        }
    }

    void ListValue(Value& v)
    {
        const Nested level(*this);
        ++FPos;
        v.Type = Value::List;
        for (;;) {
            SkipBlanks();
            if (AtEnd())
                Fail(QStringLiteral("')' expected"));
            if (Peek() == u')') {
                ++FPos;
                break;
            }
            v.Items.push_back(ParseValue());
        }
    }

    void BinaryValue(Value& v)
    {
        ++FPos;
        v.Type = Value::Binary;
        QByteArray hex;
        for (;;) {
            if (AtEnd())
                Fail(QStringLiteral("'}' expected"));
            const QChar h = FText[FPos++];
            if (h == u'}')
                break;
            if (h == u'\n')
                ++FLine;
            if (h.isSpace())
                continue;
            if (h.unicode() > 127 || !isxdigit(h.unicode()))
                Fail(QStringLiteral("Invalid binary value"));
            hex.append(char(h.unicode()));
        }
        if (hex.size() % 2 != 0)
            Fail(QStringLiteral("Invalid binary value"));
        v.Bytes = QByteArray::fromHex(hex);
    }

    void NumberValue(Value& v)
    {
        const qsizetype start = FPos;
        bool negative = false;
        if (Peek() == u'-' || Peek() == u'+') {
            negative = Peek() == u'-';
            ++FPos;
        }
        if (Peek() == u'$') {
            ++FPos;
            const qsizetype digits = FPos;
            while (!AtEnd() && Peek().unicode() < 128 && isxdigit(Peek().unicode()))
                ++FPos;
            bool ok = false;
            const qulonglong value = FText.mid(digits, FPos - digits).toULongLong(&ok, 16);
            if (!ok)
                Fail(QStringLiteral("Invalid integer value"));
            v.Type = Value::Integer;
            // $FFFFFFFF-style values are 32-bit patterns, as the original writes colours.
            v.IntValue = value <= 0xFFFFFFFFull ? int64_t(int32_t(uint32_t(value))) : int64_t(value);
            if (negative)
                v.IntValue = -v.IntValue;
            return;
        }
        bool isFloat = false;
        while (!AtEnd()) {
            const QChar d = Peek();
            if (d.isDigit()) {
                ++FPos;
            } else if (d == u'.' || d == u'e' || d == u'E'
                || ((d == u'-' || d == u'+') && (FText[FPos - 1] == u'e' || FText[FPos - 1] == u'E'))) {
                isFloat = true;
                ++FPos;
            } else {
                break;
            }
        }
        const QString text = FText.mid(start, FPos - start);
        bool ok = false;
        if (isFloat) {
            // strtold keeps the 80-bit precision of extended values.
            const QByteArray latin = text.toLatin1();
            char* end = nullptr;
            v.Type = Value::Float;
            v.FloatValue = std::strtold(latin.constData(), &end);
            // A value beyond the extended range would be infinite, which no form file spells.
            ok = end == latin.constData() + latin.size() && !std::isinf(v.FloatValue);
        } else {
            v.Type = Value::Integer;
            v.IntValue = text.toLongLong(&ok);
        }
        if (!ok)
            Fail(QStringLiteral("Invalid number '%1'").arg(text));
    }

    QString StringLiteral()
    {
        QString result;
        bool any = false;
        for (;;) {
            if (Peek() == u'\'') {
                ++FPos;
                for (;;) {
                    if (AtEnd() || Peek() == u'\n')
                        Fail(QStringLiteral("Unterminated string"));
                    const QChar ch = FText[FPos++];
                    if (ch == u'\'') {
                        if (Peek() == u'\'') {
                            result += u'\'';
                            ++FPos;
                            continue;
                        }
                        break;
                    }
                    result += ch;
                }
                any = true;
            } else if (Peek() == u'#') {
                ++FPos;
                const qsizetype digits = FPos;
                while (!AtEnd() && Peek().isDigit())
                    ++FPos;
                bool ok = false;
                const uint code = FText.mid(digits, FPos - digits).toUInt(&ok);
                if (!ok || code > 0x10FFFF)
                    Fail(QStringLiteral("Invalid character code"));
                result += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
                any = true;
            } else {
                break;
            }
        }
        if (!any)
            Fail(QStringLiteral("String expected"));
        return result;
    }

    const QString& FText;
    qsizetype FPos = 0;
    int FLine = 1;
    int FDepth = 0;
};

} // namespace

Object Parse(const QString& Text)
{
    return Parser(Text).ParseRoot();
}

Value ParseValue(const QString& Text)
{
    return Parser(Text).ParseLoneValue();
}

QString QuoteString(const QString& S)
{
    if (S.isEmpty())
        return QStringLiteral("''");
    QString out;
    bool inQuotes = false;
    for (const QChar c : S) {
        if (c.unicode() < 32) {
            if (inQuotes) {
                out += u'\'';
                inQuotes = false;
            }
            out += u'#' + QString::number(c.unicode());
            continue;
        }
        if (!inQuotes) {
            out += u'\'';
            inQuotes = true;
        }
        out += c;
        if (c == u'\'')
            out += u'\'';
    }
    if (inQuotes)
        out += u'\'';
    return out;
}

QString Render(const Value& V, int Indent)
{
    const QString pad(Indent + 2, u' ');
    switch (V.Type) {
    case Value::Integer:
        return QString::number(V.IntValue);
    case Value::Float: {
        // Values that a double holds exactly are written in their shortest form; other
        // extended values with all 21 significant digits.
        const double asDouble = double(V.FloatValue);
        if (static_cast<long double>(asDouble) == V.FloatValue)
            return QString::number(asDouble, 'g', QLocale::FloatingPointShortest);
        // The C library formats all 64 bits of the significand (QString::asprintf would
        // go through double).
        char text[64];
        std::snprintf(text, sizeof text, "%.21Lg", V.FloatValue);
        return QString::fromLatin1(text);
    }
    case Value::String:
        return QuoteString(V.Text);
    case Value::Ident:
        return V.Text;
    case Value::Set:
        return u'[' + V.Names.join(QStringLiteral(", ")) + u']';
    case Value::List: {
        QString out = QStringLiteral("(");
        for (const Value& item : V.Items)
            out += u'\n' + pad + Render(item, Indent + 2);
        return out + u')';
    }
    case Value::Binary: {
        QString out = QStringLiteral("{");
        const QString hex = QString::fromLatin1(V.Bytes.toHex().toUpper());
        for (qsizetype i = 0; i < hex.size(); i += 64)
            out += u'\n' + pad + hex.mid(i, 64);
        return out + u'}';
    }
    }
    return {};
}

} // namespace vcl::formfile
