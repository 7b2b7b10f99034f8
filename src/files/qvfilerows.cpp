#include "files/qvfilerows.h"

#include "shell/masksearch.h"
#include "vcl/core/locale.h"
#include "vcl/core/strings.h"
#include "vcl/core/sysutils.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace Qvfilectrls {

namespace {

uint32_t AttributesOf(const QFileInfo& Info)
{
    uint32_t bits = 0;
    if (Info.isDir())
        bits |= faDirectory;
    if (!Info.permissions().testFlag(QFileDevice::WriteOwner))
        bits |= faReadOnly;
    if (Info.fileName().startsWith(u'.'))
        bits |= faHidden;
    if (Info.exists() && !Info.isDir() && !Info.isFile())
        bits |= faSystem;
    return bits;
}

bool Allows(TFileListViewAttrs Allowed, uint32_t Attributes)
{
    const uint32_t forbidden = (Allowed.testFlag(flvReadOnly) ? 0 : faReadOnly)
        | (Allowed.testFlag(flvHidden) ? 0 : faHidden) | (Allowed.testFlag(flvSystem) ? 0 : faSystem);
    return (Attributes & forbidden) == 0;
}

TFileEntry EntryOf(const QFileInfo& Info)
{
    TFileEntry entry;
    entry.Name = Info.fileName();
    entry.Path = Info.filePath();
    entry.Attributes = AttributesOf(Info);
    entry.Modified = Info.lastModified(); // invalid for a link whose target is gone
    if (Info.isFile())
        entry.Size = Info.size();
    if (Info.isSymLink() && Info.isFile())
        entry.LinkTarget = Info.symLinkTarget();
    return entry;
}

// Case-blind first, so "apple" comes before "Banana", then by case so that no two
// different texts compare equal.
int CompareText(const QString& A, const QString& B)
{
    const int blind = QString::compare(A, B, Qt::CaseInsensitive);
    return blind != 0 ? blind : QString::compare(A, B, Qt::CaseSensitive);
}

int CompareNumbers(int64_t A, int64_t B)
{
    return (A > B) - (A < B);
}

// The rank of a row's kind: desktop rows, then folders, then the rest.
int KindRank(const QString& AttributeText)
{
    if (AttributeText.startsWith(u'X'))
        return 0;
    return AttributeText.startsWith(u'd') ? 1 : 2;
}

int CompareDates(const QDateTime& A, const QDateTime& B)
{
    if (A == B)
        return 0;
    return A > B ? -1 : 1; // newest first
}

} // namespace

std::vector<TFileEntry> ReadDirectory(const QString& Directory, const QString& MaskText, TFileListViewAttrs Allowed)
{
    std::vector<TFileEntry> entries;
    const QDir dir(Directory);
    if (Directory.isEmpty() || !dir.exists())
        return entries;
    const QFileInfoList infos = dir.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::DirsFirst);
    for (const QFileInfo& info : infos)
        if (info.isDir() && Allows(Allowed, AttributesOf(info)))
            entries.push_back(EntryOf(info));
    vcl::TStringList masks;
    Masksearch::BuildMask(MaskText, masks);
    // The masks are tried in turn, as the list groups files by mask; a file that more
    // than one mask matches is listed once, under the first.
    QSet<QString> listed;
    for (int m = 0; m < masks.Count(); ++m) {
        vcl::TStringList one;
        one.Add(masks.Strings(m));
        for (const QFileInfo& info : infos) {
            // The mask is tested against the name, never the whole path.
            if (info.isDir() || listed.contains(info.fileName()) || !Masksearch::FileMatches(info.fileName(), &one))
                continue;
            if (!Allows(Allowed, AttributesOf(info)))
                continue;
            listed.insert(info.fileName());
            entries.push_back(EntryOf(info));
        }
    }
    return entries;
}

QString FileSizeText(int64_t Size)
{
    return Size == 0 ? QStringLiteral(" ") : vcl::FormatFloat(QStringLiteral("###,###,###,###"), Size);
}

QString DriveSizeText(int64_t Bytes)
{
    constexpr int64_t KilobyteLimit = 10000;
    const int64_t kilobytes = Bytes / 1024;
    if (kilobytes <= 0)
        return QStringLiteral("0 Kb");
    if (kilobytes <= KilobyteLimit)
        return vcl::FormatFloat(QStringLiteral("###,###,### Kb"), kilobytes);
    return vcl::FormatFloat(QStringLiteral("###,###,### Mb"), kilobytes / 1024);
}

QString AttributeText(uint32_t Attributes)
{
    QString text;
    const std::pair<uint32_t, char16_t> letters[] = {
        {faDirectory, u'd'}, {faReadOnly, u'r'}, {faHidden, u'h'}, {faSystem, u's'}, {faArchive, u'a'}};
    for (const auto& [bit, letter] : letters)
        if (Attributes & bit)
            text += QChar(letter);
    return text + u' ';
}

QString DateText(const QDateTime& Modified)
{
    if (!Modified.isValid())
        return QString();
    const QDateTime local = Modified.toLocalTime();
    const vcl::SYSTEMTIME time{uint16_t(local.date().year()), uint16_t(local.date().month()),
        uint16_t(local.date().dayOfWeek() % 7), uint16_t(local.date().day()), uint16_t(local.time().hour()),
        uint16_t(local.time().minute()), uint16_t(local.time().second()), 0};
    return vcl::GetDateFormat(vcl::LOCALE_USER_DEFAULT, vcl::DATE_SHORTDATE, &time) + u' '
        + vcl::GetTimeFormat(vcl::LOCALE_USER_DEFAULT, 0, &time);
}

int64_t SizeOfText(const QString& Text)
{
    QString digits = Text.section(u' ', 0, 0);
    digits.remove(u',');
    bool ok = false;
    const int64_t size = digits.toLongLong(&ok);
    return ok ? size : -1;
}

int CompareRows(const TRowKey& A, const TRowKey& B, TSortedBy By)
{
    const int rank = KindRank(A.AttributeText) - KindRank(B.AttributeText);
    if (rank != 0)
        return rank;
    const int key = int(By) % SortKeyCount;
    if (key == sbDate && A.Modified.isValid() != B.Modified.isValid())
        return A.Modified.isValid() ? -1 : 1; // an unknown date goes after the other
    int result = 0;
    switch (key) {
    case sbName: result = CompareText(A.Caption, B.Caption); break;
    case sbSize: result = CompareNumbers(A.Size, B.Size); break;
    case sbType: result = CompareText(A.TypeName, B.TypeName); break;
    case sbDate: result = CompareDates(A.Modified, B.Modified); break;
    default: result = CompareText(A.AttributeText, B.AttributeText); break;
    }
    return int(By) >= SortKeyCount ? -result : result;
}

int DriveTypeOf(const QByteArray& FileSystemType, const QString& MountPoint)
{
    enum { Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };
    static const QSet<QByteArray> remote{"nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs", "9p", "afs"};
    if (FileSystemType == "tmpfs" || FileSystemType == "ramfs")
        return RamDisk;
    if (FileSystemType == "iso9660" || FileSystemType == "udf")
        return CdRom;
    if (remote.contains(FileSystemType))
        return Remote;
    if (MountPoint.startsWith(QLatin1String("/media/")) || MountPoint.startsWith(QLatin1String("/run/media/")))
        return Removable;
    return Fixed;
}

} // namespace Qvfilectrls
