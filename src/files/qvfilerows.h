#pragma once
// The rows of the file list view apart from the control: reading a directory into
// entries, the texts of a row's columns, and the order rows sort in.
#include "files/qvfilectrls.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace Qvfilectrls {

// Attribute bits of an entry, with the platform's numbers. Linux has no such bits, so
// they are read from what stands for them: read-only is "the owner has no write
// permission" (so it holds for root as well),
// hidden is a name starting with ".", system is anything but a file, a folder or a link
// (devices, pipes, sockets). Linux keeps no archive bit, so faArchive is never set.
//@{
constexpr uint32_t faReadOnly = 0x01, faHidden = 0x02, faSystem = 0x04, faDirectory = 0x10, faArchive = 0x20;
//@}

// One directory entry as the list shows it. Sizes are 64-bit: files over 4 GiB keep
// their size.
struct TFileEntry {
    QString Name; // The name as shown (without the folder).
    QString Path; // The full path.
    int64_t Size = 0; // Size in bytes (0 for folders).
    QDateTime Modified; // invalid when unknown
    uint32_t Attributes = 0; // Attribute bits (faReadOnly ...).
    QString LinkTarget; // the resolved target of a symbolic link to a file; else empty
};

// The entries of Directory: first the folders, then the files that match one of the
// masks of MaskText (each file once, even when several masks match it), skipping "."
// and ".." and every entry carrying a read-only, hidden or system bit that Allowed
// lacks. An unreadable or missing directory gives no entries.
std::vector<TFileEntry> ReadDirectory(const QString& Directory, const QString& MaskText, TFileListViewAttrs Allowed);

// "1,234" for 1234 (the locale-independent separator of the framework's format), " "
// for 0.
QString FileSizeText(int64_t Size);
// A drive's capacity: "###,###,### Kb" up to 10000 KB, "###,###,### Mb" above, "0 Kb"
// for none (kilobytes and megabytes rounded down).
QString DriveSizeText(int64_t Bytes);
// "d", "r", "h", "s", "a" for the bits that are set, in that order, then one space.
QString AttributeText(uint32_t Attributes);
// The local time of Modified in the user's locale: short date, a space, the time.
QString DateText(const QDateTime& Modified);

// What a row is compared by. The attribute text's first letter ranks desktop rows ("X")
// before folders ("d") before everything else, in both directions of sorting.
struct TRowKey {
    QString Caption; // The row's caption (the name).
    int64_t Size = -1; // -1: not known
    QString TypeName; // The type text of the row.
    QDateTime Modified; // invalid: not known
    QString AttributeText; // The attribute text: a letter per bit (d, r, h, s, a) and a space; "X" first for desktop rows.
};

// The size of a row's size text ("1,234" or " "), -1 when the text holds no number.
int64_t SizeOfText(const QString& Text);
// Negative, zero or positive as A sorts before, with or after B under By: a strict weak
// ordering (equal keys compare equal both ways). Names, types and attribute texts
// compare without case first, then with case; sizes as numbers; dates newest first for
// sbDate. The Inv keys reverse the key's order, but rows whose date is not known stay
// after the others and desktop rows and folders stay first.
int CompareRows(const TRowKey& A, const TRowKey& B, TSortedBy By);

// The platform's drive-type code of a mounted volume from its file system type and
// mount point: 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk.
int DriveTypeOf(const QByteArray& FileSystemType, const QString& MountPoint);

} // namespace Qvfilectrls
