#pragma once
// A readable text form of registry keys that keeps every value's type, for export and
// import (the qvreg tool):
//
//   QvKit Registry Export 1
//
//   [HKEY_CURRENT_USER\Software\Vendor]
//   @="the default value"
//   "Title"="a \"quoted\" word, a backslash \\ and a line\nbreak"
//   "Path"=expand:"$HOME/docs"
//   "Count"=dword:0000002a
//   "Columns"=hex:78,00,3c,00
//
// Every key gets a header, so empty keys survive a round trip. Lines starting with ";"
// are comments. Strings escape \\, \", \n, \r, \t and other control characters as \xHH.
#include "vcl/registry/reghive.h"

#include <QString>
#include <utility>
#include <vector>

namespace vcl {

inline constexpr char RegistryExportSignature[] = "QvKit Registry Export 1";

// A full key name: the root key's name (full or abbreviated) and the path below it.
struct TRegKeyName {
    HKEY Root = HKEY_CURRENT_USER;
    QString Path;
};

// Splits "[hive\]path"; without a known hive name in front, the path is taken to be
// below HKEY_CURRENT_USER.
TRegKeyName ParseRegKeyName(const QString& Name);

// One value in the export syntax: "Name"=... or @=... for the default value.
QString FormatRegValue(const QString& Name, const TRegValue& Value);

// The key and everything below it in the export syntax, with the signature line
// first. Raises ERegistryException when the key does not exist.
QString ExportRegistryKey(const TRegKeyName& Key);

struct TRegImportCount {
    int Keys = 0;
    int Values = 0;
};

// One [key] line of an import text with the values that follow it.
struct TRegImportBlock {
    int Line = 0;
    TRegKeyName Key;
    std::vector<std::pair<QString, TRegValue>> Values;
};

// Reads an import text without writing anything; raises ERegistryException naming the
// line of the first fault.
std::vector<TRegImportBlock> ParseRegistryText(const QString& Text);

// Reads the whole text first and writes only when all of it is valid; raises
// ERegistryException naming the line of the first fault.
TRegImportCount ImportRegistryText(const QString& Text);

} // namespace vcl
