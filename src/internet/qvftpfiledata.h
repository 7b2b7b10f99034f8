#pragma once
// The record behind each row of the FTP browser, and how a directory entry of the
// server becomes a row's texts: size in kilobytes, date, type name, link target.
#include "platform/win32types.h"
#include "vcl/core/types.h"

#include <QHash>
#include <QString>
#include <cstdint>

namespace Qvftpshell {

// One per list row.
class TExtraFileData : public vcl::TObject {
public:
    // Kilobytes as shown for a file; -1 for a folder row; 0 for the parent row "..".
    int64_t Size = 0;
    // A folder, a link, or the parent row.
    bool IsDirectory = false;
    // An entry the listing marked as a symbolic link.
    bool IsLink = false;
    QString LinkTarget; // The link's target as the listing gave it.

    // Whether the row named Name is the parent row "..".
    bool IsRoot(const QString& Name) const { return IsDirectory && Name == QLatin1String(".."); }
    // Every row but the parent row may be deleted.
    bool CanDelete(const QString& Name) const { return !IsRoot(Name); }
    // Every row but the parent row may be renamed.
    bool CanRename(const QString& Name) const { return !IsRoot(Name); }
};

// A file's size as the list shows it: kilobytes (a started kilobyte counts as one,
// an empty file too), truncated for sorting and rounded with thousands separators
// for the text ("1 KB", "2 KB" for 1536 bytes, "1,234,568 KB").
struct TSizeText {
    int64_t Kilobytes = 0; // Whole kilobytes, for sorting.
    QString Text; // The rounded kilobytes as shown, e.g. "2 KB".
};
// The size of a file of Bytes bytes as the list shows it.
TSizeText SizeText(uint64_t Bytes);

// The link target a listing put after the name's terminating zero as "-> target";
// empty when the entry is no link.
QString LinkTargetOf(const platform::WIN32_FIND_DATAA& Entry);
// Whether the entry holds "-> target" after its name, inside the name field.
bool IsLinkEntry(const platform::WIN32_FIND_DATAA& Entry);

// The short date and the time with seconds, from the entry's time taken as it stands
// (no conversion to local time); empty without a time.
QString EntryDateText(const platform::FILETIME& Time);

// The size and date texts of one listing's rows, each distinct value formatted once:
// a listing repeats dates (servers give minutes or days) and, in kilobytes, sizes.
class TEntryTexts {
public:
    // SizeText(Bytes), formatted once per half kilobyte.
    TSizeText Size(uint64_t Bytes);
    // EntryDateText(Time), formatted once per second.
    QString Date(const platform::FILETIME& Time);

private:
    QHash<uint64_t, QString> FSizes; // by half kilobyte
    QHash<uint64_t, QString> FDates; // by second
};

// Why Name may not become a local file name, empty when it may: a server-supplied
// name holding "/", "\", NUL or "..", or empty, would name a file outside the folder
// chosen for it.
QString UnsafeLocalName(const QString& Name);

// The type names of files and folders from HKEY_CLASSES_ROOT, remembered per
// extension for the life of the object (one listing).
class TFileTypeNames {
public:
    // The type name HKEY_CLASSES_ROOT gives Name's extension (from its last dot on) or,
    // for a folder, the class "Folder"; "EXT file" when the extension has no key, empty
    // when the class has none.
    QString TypeName(const QString& Name, bool IsDirectory);

private:
    QString Lookup(const QString& Extension, bool IsDirectory) const;
    QHash<QString, QString> FFiles;
    QHash<QString, QString> FFolders;
};

} // namespace Qvftpshell
