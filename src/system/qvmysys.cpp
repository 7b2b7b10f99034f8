#include "system/qvmysys.h"

#include "platform/system/drives.h"
#include "platform/system/filefacts.h"
#include "platform/system/sessioncontrol.h"
#include "platform/system/sysqueries.h"
#include "vcl/controls/application.h"
#include "vcl/core/unitstartup.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QStyle>
#include <QApplication>

namespace Qvmysys {

namespace sys = platform::system;

// The unit has empty start-up and shut-down bodies.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvmysys"), {});

namespace {

constexpr int IconSize = 32;
// 100-nanosecond intervals in a day, and the days from 1 January 1601 to the
// date-time origin 30 December 1899 (worked out with Python's datetime).
constexpr long double FileTimeTicksPerDay = 864000000000.0L;
constexpr long double DaysFrom1601To1899 = 109205.0L;

sys::TFileTimeKind KindOf(TTimeOfWhat Which)
{
    switch (Which) {
    case ftCreationTime: return sys::TFileTimeKind::Creation;
    case ftLastAccessTime: return sys::TFileTimeKind::LastAccess;
    case ftLastWriteTime: break;
    }
    return sys::TFileTimeKind::LastWrite;
}

uint64_t LocalFileTime(const QString& FileName, TTimeOfWhat Which)
{
    const std::optional<uint64_t> utc = sys::FileTimeOf(FileName, KindOf(Which));
    return utc ? sys::FileTimeToLocal(*utc) : 0;
}

vcl::TDateTime DateTimeOf(const QDateTime& Moment)
{
    const QDate date = Moment.date();
    const QTime time = Moment.time();
    return vcl::EncodeDate(date.year(), date.month(), date.day())
        + vcl::EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
}

void ShowExitError(const QString& Step)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Exit Error"), Step, QMessageBox::Ok);
    box.exec();
}

} // namespace

QString FormatVersionText(const QString& Platform, unsigned Major, unsigned Minor, unsigned Build,
    const QString& ServiceText)
{
    return QStringLiteral("%1 Version %2.%3\r\n (Build %4: %5)").arg(Platform).arg(Major).arg(Minor).arg(Build).arg(ServiceText);
}

QString ProcessorTypeText(unsigned ProcessorType)
{
    switch (ProcessorType) {
    case 386: return QStringLiteral("386");
    case 486: return QStringLiteral("486");
    case 586: return QStringLiteral("Pentium");
    case 4000: return QStringLiteral("MIPS");
    case 21064: return QStringLiteral("ALPHA");
    default: return {};
    }
}

QString DriveLettersOf(uint32_t Mask)
{
    QString letters;
    for (int n = 0; n < 26; ++n)
        if (Mask & (uint32_t(1) << n))
            letters += QLatin1Char(char('A' + n));
    return letters;
}

vcl::TDateTime FileTimeToDateTime(uint64_t FileTime)
{
    return static_cast<vcl::TDateTime>(static_cast<long double>(FileTime) / FileTimeTicksPerDay - DaysFrom1601To1899);
}

TqvMySystem::TqvMySystem(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner)
{
    // Read at creation as well as in Loaded: a component made in code is never loaded,
    // and page size 0 or no processors would be plainly wrong.
    ReadProcessorInfo();
}

void TqvMySystem::Loaded()
{
    vcl::TComponent::Loaded();
    ReadProcessorInfo();
}

void TqvMySystem::ReadProcessorInfo()
{
    const sys::TProcessorInfo info = sys::ProcessorInfo();
    FPageSize = info.PageSize;
    FNumberOfProcessors = info.NumberOfProcessors;
    // The table names no 64-bit processor; rather than stay empty on every machine of
    // today, an unnamed processor reads as the kernel's machine name ("x86_64").
    FProcessorType = ProcessorTypeText(info.ProcessorType);
    if (FProcessorType.isEmpty())
        FProcessorType = info.Machine;
}

QString TqvMySystem::UserName() const { return sys::UserName(); }
QString TqvMySystem::ComputerName() const { return sys::ComputerName(); }
QString TqvMySystem::SystemTime() const { return vcl::DateTimeToStr(DateTimeOf(QDateTime::currentDateTimeUtc())); }
QString TqvMySystem::LocalTime() const { return vcl::DateTimeToStr(DateTimeOf(QDateTime::currentDateTime())); }
QString TqvMySystem::CurrentDirectory() const { return sys::CurrentDirectory(); }
QString TqvMySystem::TempPath() const { return sys::TempPath(); }
QString TqvMySystem::LogicalDrives() const { return DriveLettersOf(sys::LogicalDriveMask(sys::Drives())); }

uint64_t TqvMySystem::myGlobalMemoryStatus(int Index) const
{
    if (Index < 1 || Index > 7)
        return 0;
    const sys::TMemoryStatus s = sys::MemoryStatus();
    const std::array<uint64_t, 7> figures{
        s.MemoryLoad, s.TotalPhys, s.AvailPhys, s.TotalPageFile, s.AvailPageFile, s.TotalVirtual, s.AvailVirtual};
    return figures[static_cast<size_t>(Index - 1)];
}

QString TqvMySystem::myGetVersion() const
{
    sys::TVersionInfo info;
    if (!sys::VersionInfo(info))
        return {};
    return FormatVersionText(info.PlatformName, info.Major, info.Minor, info.Build, info.ServiceText);
}

TFixedFileInfo TqvMySystem::FileInfo(const QString&, const TFixedFileInfo& Record) const { return Record; }

QString TqvMySystem::GetFileInformation(const QString&, TInformationStrings) const { return {}; }

platform::FILETIME TqvMySystem::myGetFileTime(const QString& FileName, TTimeOfWhat Which) const
{
    const uint64_t local = LocalFileTime(FileName, Which);
    return {static_cast<platform::DWORD>(local), static_cast<platform::DWORD>(local >> 32)};
}

vcl::TDateTime TqvMySystem::GetFileTime(const QString& FileName, TTimeOfWhat Which) const
{
    // A file that cannot be opened has no time: a zero would read as 1 January 1601,
    // a date that looks real, so it gives the "cannot be converted" date instead.
    const uint64_t local = LocalFileTime(FileName, Which);
    return local == 0 ? vcl::EncodeDate(9999, 12, 31) : FileTimeToDateTime(local);
}

TFileTimeComparision TqvMySystem::CompareFileTime(const QString& FileOne, const QString& FileTwo, TTimeOfWhat Which) const
{
    const uint64_t one = LocalFileTime(FileOne, Which);
    const uint64_t two = LocalFileTime(FileTwo, Which);
    return one < two ? ftFileOneIsOlder : one == two ? ftFileTimesAreEqual : ftFileTwoIsOlder;
}

void TqvMySystem::ShellAbout(const QString& Title, const QString& Text) const
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About ") + Title, Title, QMessageBox::Ok);
    box.setInformativeText(Text);
    const QIcon icon = vcl::Application()->Icon().isNull() ? vcl::StandardApplicationIcon() : vcl::Application()->Icon();
    box.setIconPixmap(icon.pixmap(IconSize, IconSize));
    box.exec();
}

vcl::HICON TqvMySystem::ExtractIcon(const QString& FileName) const
{
    QImageReader reader(FileName);
    const QImage image = reader.read();
    return image.isNull() ? nullptr : vcl::CreateIconFrom(QIcon(QPixmap::fromImage(image)), IconSize, IconSize);
}

vcl::HICON TqvMySystem::ExtractAssociatedIcon(const QString& FileName) const
{
    const QFileInfo file(FileName);
    if (!file.exists())
        return nullptr;
    QIcon icon = QIcon::fromTheme(QMimeDatabase().mimeTypeForFile(file).iconName());
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(file.isDir() ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    return vcl::CreateIconFrom(icon, IconSize, IconSize);
}

int64_t TqvMySystem::GetFreeDiskSpace(QChar Drive) const
{
    const std::optional<sys::TDrive> drive = sys::FindDrive(sys::Drives(), Drive);
    const std::optional<uint64_t> free = drive ? sys::FreeBytes(drive->MountPoint) : std::nullopt;
    return free ? static_cast<int64_t>(std::min<uint64_t>(*free, INT64_MAX)) : -1;
}

int64_t TqvMySystem::FileSize(const QString& FileName) const { return sys::FileSizeOf(FileName).value_or(-1); }

QString TqvMySystem::GetShortPathName(const QString& Path) const
{
    return QFileInfo::exists(Path) ? sys::FitBuffer(Path, sys::PathBuffer) : QString();
}

TVolumeInfo TqvMySystem::GetVolumeInformation(QChar Drive) const
{
    const std::optional<sys::TDrive> drive = sys::FindDrive(sys::Drives(), Drive);
    const std::optional<sys::TVolumeFacts> facts = drive ? sys::VolumeFacts(*drive) : std::nullopt;
    if (!facts)
        return {};
    return {facts->VolumeName, facts->SerialNumber, facts->MaximumComponentLength, facts->FileSystemFlags,
        facts->FileSystemName};
}

QString TqvMySystem::GetFullPathName(const QString& FileName) const
{
    if (FileName.isEmpty())
        return {};
    return sys::FitBuffer(QDir::cleanPath(QDir::current().absoluteFilePath(FileName)), sys::PathBuffer);
}

QString TqvMySystem::FindExecutable(const QString& FileName) const
{
    return sys::FindExecutableFor(FileName, QDir::currentPath()).value_or(QStringLiteral("ERROR_FILE_NOT_FOUND"));
}

TDriveType TqvMySystem::DriveType(QChar Drive) const
{
    const std::optional<sys::TDrive> drive = sys::FindDrive(sys::Drives(), Drive);
    return drive ? static_cast<TDriveType>(drive->Kind) : dtNoDrive;
}

void TqvMySystem::FormatDrive(QChar Drive) const
{
    switch (DriveType(Drive.toUpper())) {
    case dtFloppy:
    case dtFixed:
        if (const std::optional<QString> utility = sys::DiskUtility())
            QProcess::startDetached(*utility, {});
        return;
    case dtUnknown: throw vcl::Exception(QStringLiteral("Cannot determine drive type") + QLatin1Char('.'));
    case dtNoDrive: throw vcl::Exception(QStringLiteral("Specified drive does not exist") + QLatin1Char('.'));
    case dtNetwork: throw vcl::Exception(QStringLiteral("Cannot format a ") + QStringLiteral("Network Drive") + QLatin1Char('.'));
    case dtCDROM: throw vcl::Exception(QStringLiteral("Cannot format a ") + QStringLiteral("CD-ROM Drive") + QLatin1Char('.'));
    case dtRAM: throw vcl::Exception(QStringLiteral("Cannot format a ") + QStringLiteral("RAM Drive") + QLatin1Char('.'));
    }
}

void TqvMySystem::ShutDown() const
{
    // The session service stands where the original opened the process's token, and
    // its "may I" answer where it looked up and enabled the shutdown privilege.
    sys::ISessionControl& session = sys::SessionControl();
    if (!session.Reachable())
        return ShowExitError(QStringLiteral("OpenProcessToken() Failed"));
    const QString allowed = session.CanDo(sys::TSessionAction::PowerOff);
    if (allowed.isEmpty())
        return ShowExitError(QStringLiteral("LookupPrivilegeValue() Failed"));
    if (allowed != QLatin1String("yes") && allowed != QLatin1String("challenge"))
        return ShowExitError(QStringLiteral("AdjustTokenPrivileges() Failed"));
    if (!sys::ExitWindowsEx(session, sys::EWX_SHUTDOWN | sys::EWX_FORCE).Ok())
        ShowExitError(QStringLiteral("ExitWindowsEx() Failed"));
}

} // namespace Qvmysys
