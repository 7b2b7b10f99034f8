#include "utilities/qvlinkscanner.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>

namespace Qvlinkparser {

namespace {

// Blocks read at a time; a line longer than a block is carried over whole.
constexpr int64_t BlockSize = 1 << 20;

bool IsContinuation(char Byte) { return (uchar(Byte) & 0xC0) == 0x80; }

// The byte index of the character after the one starting at Pos.
qsizetype NextChar(QByteArrayView Text, qsizetype Pos)
{
    ++Pos;
    while (Pos < Text.size() && IsContinuation(Text[Pos]))
        ++Pos;
    return Pos;
}

// The byte index where the last character of Text starts (0 for empty text).
qsizetype LastChar(QByteArrayView Text)
{
    qsizetype pos = Text.size() - 1;
    while (pos > 0 && IsContinuation(Text[pos]))
        --pos;
    return std::max<qsizetype>(pos, 0);
}

// The first "href=" in any letter case, found from its '=' (rarer than 'h' in text).
qsizetype FindHref(QByteArrayView Line)
{
    const char* data = Line.data();
    qsizetype from = 4;
    while (from < Line.size()) {
        const void* hit = std::memchr(data + from, '=', size_t(Line.size() - from));
        if (hit == nullptr)
            return -1;
        const qsizetype eq = static_cast<const char*>(hit) - data;
        if ((data[eq - 4] | 0x20) == 'h' && (data[eq - 3] | 0x20) == 'r' && (data[eq - 2] | 0x20) == 'e'
            && (data[eq - 1] | 0x20) == 'f')
            return eq - 4;
        from = eq + 1;
    }
    return -1;
}

} // namespace

bool ExtractLink(QByteArrayView Line, QString& Target)
{
    const qsizetype href = FindHref(Line);
    if (href < 0)
        return false;
    Target.clear();
    const qsizetype quote = href + 5;
    if (quote >= Line.size())
        return true;
    const qsizetype start = NextChar(Line, quote);
    if (start >= Line.size())
        return true;
    // The closing double quote is looked for from the target's first character on, so
    // that href="" is empty even when more text follows on the line.
    const qsizetype close = Line.indexOf('"', start);
    const qsizetype end = close >= 0 ? close : start + LastChar(Line.sliced(start));
    QByteArrayView target = Line.sliced(start, end - start);
    if (!target.isEmpty() && (target.front() == '"' || target.front() == '\'')) {
        target = target.sliced(1);
        target = target.first(target.isEmpty() ? 0 : LastChar(target));
    }
    Target = QString::fromUtf8(target);
    return true;
}

bool IsValidUtf8(QByteArrayView Bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(Bytes.data());
    const uchar* end = p + Bytes.size();
    while (p < end) {
        // Eight ASCII bytes at a time: the common case in markup.
        uint64_t word;
        if (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080ull) == 0)) {
            p += 8;
            continue;
        }
        const uchar lead = *p;
        int length;
        uint32_t cp;
        if (lead < 0x80) {
            ++p;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, cp = lead & 0x07;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        // Overlong three- and four-byte forms, surrogates, and values past U+10FFFF.
        if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))
            || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

namespace {

// Splits the bytes read so far into lines. Buffer[Consumed..] is the unfinished rest;
// Searched is how far the current line was already searched for its end, so that a
// long line spanning many blocks is searched once.
class TLineSplitter {
public:
    // The next complete line, or false when the rest needs more input (AtEnd: the
    // rest is the last line).
    bool Next(QByteArrayView& Line, bool AtEnd)
    {
        const qsizetype size = FBuffer.size();
        if (FConsumed >= size)
            return false;
        const char* data = FBuffer.constData();
        const qsizetype cr = FindFrom(FNextCR, '\r', data, size);
        const qsizetype lf = FindFrom(FNextLF, '\n', data, size);
        const qsizetype stop = std::min(cr, lf);
        if (stop == size) {
            if (!AtEnd)
                return false;
            Line = QByteArrayView(data + FConsumed, size - FConsumed);
            FConsumed = size;
            return true;
        }
        qsizetype after = stop + 1;
        if (data[stop] == '\r') {
            if (after == size && !AtEnd)
                return false; // a CR at the end of the block may be the first half of CR LF
            if (after < size && data[after] == '\n')
                ++after;
        }
        Line = QByteArrayView(data + FConsumed, stop - FConsumed);
        FConsumed = after;
        return true;
    }

    // Appends a block, first dropping the consumed bytes when they are most of the
    // buffer (so each byte is moved a bounded number of times).
    void Append(const char* Data, qsizetype Size)
    {
        if (FConsumed > FBuffer.size() / 2) {
            FBuffer.remove(0, FConsumed);
            FNextCR = FNextCR >= 0 ? FNextCR - FConsumed : -1;
            FNextLF = FNextLF >= 0 ? FNextLF - FConsumed : -1;
            FSearchedCR = std::max<qsizetype>(FSearchedCR - FConsumed, 0);
            FSearchedLF = std::max<qsizetype>(FSearchedLF - FConsumed, 0);
            FConsumed = 0;
        }
        FBuffer.append(Data, Size);
    }

private:
    // The position of the next Byte at or after FConsumed (size when none yet), found
    // by memchr from where the last search for it stopped.
    qsizetype FindFrom(qsizetype& Next, char Byte, const char* Data, qsizetype Size)
    {
        qsizetype& searched = Byte == '\r' ? FSearchedCR : FSearchedLF;
        if (Next >= FConsumed)
            return Next;
        const qsizetype from = std::max(searched, FConsumed);
        const void* hit = std::memchr(Data + from, Byte, size_t(Size - from));
        if (hit == nullptr) {
            searched = Size;
            Next = -1;
            return Size;
        }
        Next = static_cast<const char*>(hit) - Data;
        searched = Next;
        return Next;
    }

    QByteArray FBuffer;
    qsizetype FConsumed = 0;
    qsizetype FNextCR = -1;
    qsizetype FNextLF = -1;
    qsizetype FSearchedCR = 0;
    qsizetype FSearchedLF = 0;
};

} // namespace

TScanResult ScanLinks(QIODevice& Device, const std::function<void(const QString& Target)>& Found)
{
    TLineSplitter lines;
    QByteArray block(BlockSize, Qt::Uninitialized);
    QString target;
    int64_t lineNumber = 0;
    bool atEnd = false;
    while (!atEnd) {
        const qint64 got = Device.read(block.data(), BlockSize);
        if (got < 0)
            return {TScanError::Unreadable, lineNumber, Device.errorString()};
        atEnd = got == 0;
        lines.Append(block.constData(), got);
        QByteArrayView line;
        while (lines.Next(line, atEnd)) {
            ++lineNumber;
            if (!IsValidUtf8(line))
                return {TScanError::InvalidUtf8, lineNumber,
                    QStringLiteral("line %1 is not valid UTF-8 text").arg(lineNumber)};
            if (ExtractLink(line, target))
                Found(target);
        }
    }
    return {};
}

} // namespace Qvlinkparser
