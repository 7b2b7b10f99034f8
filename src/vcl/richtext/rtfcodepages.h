#pragma once
// The single-byte code pages RTF files name (\ansicpg, \fcharset, \mac, \pc, \pca),
// decoded by tables of their own so that no converter library is needed.
#include <QChar>
#include <optional>

namespace vcl::rtf {

// Code page 1252 (Western), what a file that names none is written in.
constexpr int DefaultCodePage = 1252;

// The character byte Byte stands for in CodePage. Bytes below 0x80 are ASCII in every
// supported page; a page without a table here (the multi-byte Asian pages among them) is
// read as 1252, since writers of such files also give each character as \uN.
char16_t DecodeByte(int CodePage, unsigned char Byte);

// The code page a font's \fcharsetN selects; 0 (ANSI) and unknown sets give DocumentCodePage.
int CodePageOfCharset(int Charset, int DocumentCodePage);

// The code page 1252 byte for Char, if it has one.
std::optional<unsigned char> EncodeCp1252(QChar Char);

} // namespace vcl::rtf
