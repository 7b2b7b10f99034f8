#include "rtftokenizer.h"

#include <climits>

namespace vcl::rtf {

namespace {

bool IsLetter(unsigned char C) { return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z'); }
bool IsDigit(unsigned char C) { return C >= '0' && C <= '9'; }

int HexValue(unsigned char C)
{
    if (IsDigit(C))
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

} // namespace

TRtfToken TRtfTokenizer::Next()
{
    // Line ends are only there to keep lines short; they are no part of the text.
    while (!AtEnd() && (Peek() == '\r' || Peek() == '\n'))
        ++FPos;
    TRtfToken token;
    token.Offset = FPos;
    if (AtEnd())
        return token;
    switch (Peek()) {
    case '{':
        ++FPos;
        token.Type = TRtfToken::GroupStart;
        return token;
    case '}':
        ++FPos;
        token.Type = TRtfToken::GroupEnd;
        return token;
    case '\\': return ReadControl();
    default: return ReadText();
    }
}

void TRtfTokenizer::SkipBinary(qsizetype Count)
{
    FPos += qBound(qsizetype(0), Count, FData.size() - FPos);
}

TRtfToken TRtfTokenizer::ReadText()
{
    TRtfToken token;
    token.Type = TRtfToken::Text;
    token.Offset = FPos;
    const qsizetype start = FPos;
    while (!AtEnd()) {
        const unsigned char c = Peek();
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n')
            break;
        ++FPos;
    }
    token.Bytes = FData.sliced(start, FPos - start);
    return token;
}

TRtfToken TRtfTokenizer::ReadControl()
{
    const qsizetype start = FPos++;
    TRtfToken token;
    token.Offset = start;
    if (AtEnd()) // a lone backslash at the very end: nothing follows it
        return token;
    const unsigned char c = Peek();
    if (IsLetter(c))
        return ReadWord(start);
    ++FPos;
    if (c != '\'') {
        token.Type = TRtfToken::ControlSymbol;
        token.Byte = c;
        return token;
    }
    const int high = AtEnd() ? -1 : HexValue(Peek());
    const int low = FPos + 1 < FData.size() ? HexValue(static_cast<unsigned char>(FData[FPos + 1])) : -1;
    if (high < 0 || low < 0)
        return Fail(start, QStringLiteral("\\' is not followed by two hexadecimal digits"));
    FPos += 2;
    token.Type = TRtfToken::HexByte;
    token.Byte = static_cast<unsigned char>(high * 16 + low);
    return token;
}

TRtfToken TRtfTokenizer::ReadWord(qsizetype Start)
{
    const qsizetype nameStart = FPos;
    while (!AtEnd() && IsLetter(Peek()))
        ++FPos;
    if (FPos - nameStart > MaxWordLength)
        return Fail(Start, QStringLiteral("a control word is longer than %1 letters").arg(MaxWordLength));
    TRtfToken token;
    token.Type = TRtfToken::ControlWord;
    token.Offset = Start;
    token.Name = FData.sliced(nameStart, FPos - nameStart);
    const bool negative = !AtEnd() && Peek() == '-';
    const qsizetype digitsStart = FPos + (negative ? 1 : 0);
    qsizetype end = digitsStart;
    while (end < FData.size() && IsDigit(static_cast<unsigned char>(FData[end])))
        ++end;
    if (end - digitsStart > MaxParameterDigits)
        return Fail(Start, QStringLiteral("a control word's number is longer than %1 digits").arg(MaxParameterDigits));
    if (end > digitsStart) {
        qint64 value = 0;
        for (qsizetype i = digitsStart; i < end; ++i)
            value = value * 10 + (FData[i] - '0');
        // Ten digits may exceed 32 bits; such a value is taken at the nearest bound.
        value = qBound(qint64(INT_MIN), negative ? -value : value, qint64(INT_MAX));
        token.HasParameter = true;
        token.Parameter = int(value);
        FPos = end;
    }
    if (!AtEnd() && Peek() == ' ') // the space that ends a word belongs to it
        ++FPos;
    return token;
}

TRtfToken TRtfTokenizer::Fail(qsizetype Start, const QString& Message)
{
    TRtfToken token;
    token.Type = TRtfToken::Error;
    token.Offset = Start;
    token.Message = Message;
    return token;
}

} // namespace vcl::rtf
