#pragma once
// Splits RTF bytes into groups, control words, control symbols and text, reading only
// inside the data it was given.
#include <QByteArrayView>
#include <QString>

namespace vcl::rtf {

struct TRtfToken {
    enum Kind {
        End,          // the data is used up
        GroupStart,   // {
        GroupEnd,     // }
        ControlWord,  // \name or \nameN; Name and, with HasParameter, Parameter
        ControlSymbol, // \ and one character other than a letter or '
        HexByte,      // \'hh; Byte
        Text,         // a run of bytes that are neither markup nor line ends; Bytes
        Error,        // malformed markup; Message, and Offset where it starts
    };
    Kind Type = End;
    QByteArrayView Name;
    bool HasParameter = false;
    int Parameter = 0;
    unsigned char Byte = 0;
    QByteArrayView Bytes;
    QString Message;
    qsizetype Offset = 0;
};

class TRtfTokenizer {
public:
    // Word names longer than this are refused; the format allows 32 letters.
    static constexpr int MaxWordLength = 32;
    // Parameters longer than this are refused; ten digits hold every 32-bit value.
    static constexpr int MaxParameterDigits = 10;

    explicit TRtfTokenizer(QByteArrayView Data) : FData(Data) {}

    TRtfToken Next();
    // Steps over Count bytes of \binN data, or to the end of the data when fewer remain.
    void SkipBinary(qsizetype Count);
    qsizetype Offset() const { return FPos; }

private:
    TRtfToken ReadControl();
    TRtfToken ReadWord(qsizetype Start);
    TRtfToken ReadText();
    TRtfToken Fail(qsizetype Start, const QString& Message);
    bool AtEnd() const { return FPos >= FData.size(); }
    unsigned char Peek() const { return static_cast<unsigned char>(FData[FPos]); }

    QByteArrayView FData;
    qsizetype FPos = 0;
};

} // namespace vcl::rtf
