#include "internet/qvftpfiledata.h"

#include "vcl/core/sysutils.h"
#include "vcl/registry/registry.h"

#include <QDateTime>
#include <cstring>

namespace Qvftpshell {

namespace {

constexpr char LinkMarker[] = "-> ";
constexpr size_t LinkMarkerLength = sizeof LinkMarker - 1;
// 100-nanosecond ticks between 1601-01-01 and 1970-01-01.
constexpr uint64_t EpochOffsetTicks = 116444736000000000ULL;
constexpr uint64_t TicksPerMillisecond = 10000;
constexpr uint64_t TicksPerSecond = 10000000;
// Sizes below this many bytes round their kilobytes exactly from the half kilobyte
// they fall in (halves away from zero); larger ones carry too many digits for that.
constexpr uint64_t CachedSizeLimit = uint64_t(1) << 50;

// Where the zero ending the name lies, or MAX_PATH when the field holds none.
size_t NameEnd(const platform::WIN32_FIND_DATAA& Entry)
{
    const void* zero = std::memchr(Entry.cFileName, 0, platform::MAX_PATH);
    return zero ? size_t(static_cast<const char*>(zero) - Entry.cFileName) : platform::MAX_PATH;
}

} // namespace

TSizeText SizeText(uint64_t Bytes)
{
    const long double kilobytes = std::max<long double>(static_cast<long double>(Bytes) / 1024.0L, 1.0L);
    return {static_cast<int64_t>(kilobytes), vcl::FormatFloat(QStringLiteral("#,##0"), kilobytes) + QStringLiteral(" KB")};
}

bool IsLinkEntry(const platform::WIN32_FIND_DATAA& Entry)
{
    const size_t end = NameEnd(Entry);
    // The marker and at least one byte of target must fit inside the field.
    if (end + 1 + LinkMarkerLength >= platform::MAX_PATH)
        return false;
    const char* after = Entry.cFileName + end + 1;
    return std::memcmp(after, LinkMarker, LinkMarkerLength) == 0 && after[LinkMarkerLength] != 0;
}

QString LinkTargetOf(const platform::WIN32_FIND_DATAA& Entry)
{
    if (!IsLinkEntry(Entry))
        return {};
    const char* target = Entry.cFileName + NameEnd(Entry) + 1 + LinkMarkerLength;
    const char* fieldEnd = Entry.cFileName + platform::MAX_PATH;
    const void* zero = std::memchr(target, 0, size_t(fieldEnd - target));
    const char* end = zero ? static_cast<const char*>(zero) : fieldEnd;
    return QString::fromUtf8(target, end - target);
}

QString EntryDateText(const platform::FILETIME& Time)
{
    const uint64_t ticks = (uint64_t(Time.dwHighDateTime) << 32) | Time.dwLowDateTime;
    if (ticks < EpochOffsetTicks)
        return {}; // no time in the listing (or one before 1970, which no server sends)
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(qint64((ticks - EpochOffsetTicks) / TicksPerMillisecond), Qt::UTC);
    const QDate date = utc.date();
    const QTime time = utc.time();
    // The calendar fields as they stand, without a time zone in between; always with
    // the time, also at midnight, so that every row reads back the same way.
    const vcl::TDateTime value = vcl::EncodeDate(date.year(), date.month(), date.day())
        + vcl::EncodeTime(time.hour(), time.minute(), time.second(), 0);
    return vcl::FormatDateTime(QStringLiteral("ddddd hh:nn:ss"), value);
}

TSizeText TEntryTexts::Size(uint64_t Bytes)
{
    if (Bytes >= CachedSizeLimit)
        return SizeText(Bytes);
    const int64_t kilobytes = std::max<int64_t>(int64_t(Bytes / 1024), 1);
    const uint64_t halfKilobytes = Bytes / 512;
    if (const auto found = FSizes.constFind(halfKilobytes); found != FSizes.constEnd())
        return {kilobytes, found.value()};
    return {kilobytes, FSizes.insert(halfKilobytes, SizeText(Bytes).Text).value()};
}

QString TEntryTexts::Date(const platform::FILETIME& Time)
{
    // The text shows whole seconds, so every time within one second reads the same.
    const uint64_t seconds = ((uint64_t(Time.dwHighDateTime) << 32) | Time.dwLowDateTime) / TicksPerSecond;
    if (const auto found = FDates.constFind(seconds); found != FDates.constEnd())
        return found.value();
    return FDates.insert(seconds, EntryDateText(Time)).value();
}

QString UnsafeLocalName(const QString& Name)
{
    if (Name.isEmpty() || Name.contains(QLatin1Char('/')) || Name.contains(QLatin1Char('\\'))
        || Name.contains(QChar(0)) || Name.contains(QLatin1String("..")))
        return QStringLiteral("Refusing to download \"%1\": the server's name is no plain file name").arg(Name);
    return {};
}

QString TFileTypeNames::TypeName(const QString& Name, bool IsDirectory)
{
    // The extension with its dot: what follows the last dot.
    const qsizetype dot = Name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : Name.mid(dot);
    QHash<QString, QString>& cache = IsDirectory ? FFolders : FFiles;
    const auto found = cache.constFind(extension);
    if (found != cache.constEnd())
        return found.value();
    return cache.insert(extension, Lookup(extension, IsDirectory)).value();
}

QString TFileTypeNames::Lookup(const QString& Extension, bool IsDirectory) const
{
    vcl::TRegistry registry;
    registry.SetRootKey(vcl::HKEY_CLASSES_ROOT);
    // The empty extension opens the root itself.
    if (!registry.OpenKeyReadOnly(Extension))
        return Extension.mid(1).toUpper() + QStringLiteral(" file");
    QString className = registry.ReadString(QString());
    registry.CloseKey();
    if (IsDirectory)
        className = QStringLiteral("Folder");
    if (!registry.OpenKeyReadOnly(className))
        return {};
    return registry.ReadString(QString());
}

} // namespace Qvftpshell
