#pragma once
// The link parser's reading side: splits a hypertext file into lines at any line end
// (CR LF, LF or CR) while streaming it in blocks, checks each line is UTF-8, and takes
// the first link target of every line that holds "href=" in any letter case.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QIODevice;

namespace Qvlinkparser {

// The link target of one line, or an empty optional-like flag when the line has no
// "href=". The line must be valid UTF-8; positions count characters, not bytes:
// - the target starts one character after "href=" (the opening quote, whatever it is;
//   an unquoted target therefore loses its first character);
// - it ends before the next double quote, or before the line's last character when no
//   double quote follows (a single quote never ends it);
// - a target that begins with a quote loses its first and last character.
// An empty quoted target (href="") is empty wherever it stands on the line.
bool ExtractLink(QByteArrayView Line, QString& Target);

// Why a scan stopped early; Ok when it read the whole input.
enum class TScanError { Ok, Unreadable, InvalidUtf8 };

// What a scan found.
struct TScanResult {
    TScanError Error = TScanError::Ok; // Ok, or why the scan stopped.
    int64_t Line = 0;         // 1-based line of an encoding fault
    QString Message;          // what went wrong, for the user
};

// Reads Device to its end in blocks, calling Found for each line's link in file
// order. Time and memory grow linearly with the input and the longest line: a line
// is searched once, however many blocks it spans.
TScanResult ScanLinks(QIODevice& Device, const std::function<void(const QString& Target)>& Found);

// True when Bytes is well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool IsValidUtf8(QByteArrayView Bytes);

} // namespace Qvlinkparser
