#pragma once
// Qvmysys: TqvMySystem, a non-visual component whose read-only properties and methods
// answer questions about the machine (user, computer, directories, times, drives,
// memory, processor, version, file facts) and offer a few actions (an about box,
// formatting a drive through the desktop's disk utility, shutting down).
//
// On Linux the mounted volumes stand in for drives (the root volume is C, see
// platform/system/drives.h); queries that have no Linux counterpart give the fallback
// value their description names, as noted at each.
#include "platform/win32types.h"
#include "vcl/core/classes.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/iconhandles.h"

#include <QObject>
#include <array>

namespace Qvmysys {
Q_NAMESPACE

enum TTimeOfWhat { ftCreationTime, ftLastAccessTime, ftLastWriteTime };
Q_ENUM_NS(TTimeOfWhat)
enum TFileTimeComparision { ftError, ftFileOneIsOlder, ftFileTimesAreEqual, ftFileTwoIsOlder };
Q_ENUM_NS(TFileTimeComparision)
// In the order of the values of the original's drive-type query (0 to 6).
enum TDriveType { dtUnknown, dtNoDrive, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM };
Q_ENUM_NS(TDriveType)
// The standard version-information keys: the name without "is".
enum TInformationStrings {
    isCompanyName, isFileDescription, isFileVersion, isInternalName, isLegalCopyright,
    isOriginalFilename, isProductName, isProductVersion, isComments, isLegalTrademarks
};
Q_ENUM_NS(TInformationStrings)

struct TVolumeInfo {
    QString VolumeName;
    platform::DWORD SerialNumber = 0;
    platform::DWORD MaximumComponentLength = 0;
    platform::DWORD FileSystemFlags = 0;
    QString FileSystemName;
};

// The first eleven members of a file's fixed version information.
struct TFixedFileInfo {
    platform::DWORD dwSignature = 0, dwStrucVersion = 0, dwFileVersionMS = 0, dwFileVersionLS = 0,
                    dwProductVersionMS = 0, dwProductVersionLS = 0, dwFileFlagsMask = 0, dwFileFlags = 0,
                    dwFileOS = 0, dwFileType = 0, dwFileSubtype = 0;
};

// The version text: Platform + " Version " + Major.Minor + "\r\n (Build " + Build + ": " +
// ServiceText + ")".
QString FormatVersionText(const QString& Platform, unsigned Major, unsigned Minor, unsigned Build,
    const QString& ServiceText);
// The processor text of the original's processor numbers: 386, 486, "Pentium" for 586,
// "MIPS" for 4000, "ALPHA" for 21064; empty for any other number.
QString ProcessorTypeText(unsigned ProcessorType);
// The letters whose bits are set, "A" for bit 0 up to "Z" for bit 25.
QString DriveLettersOf(uint32_t Mask);
// A file time (100-nanosecond counts since 1601) as a date-time value.
vcl::TDateTime FileTimeToDateTime(uint64_t FileTime);

class TqvMySystem : public QObject, public vcl::TComponent {
    Q_OBJECT
    Q_PROPERTY(QString UserName READ UserName STORED false)
    Q_PROPERTY(QString ComputerName READ ComputerName STORED false)
    Q_PROPERTY(QString WindowsDirectory READ WindowsDirectory STORED false)
    Q_PROPERTY(QString SystemDirectory READ SystemDirectory STORED false)
    Q_PROPERTY(QString SystemTime READ SystemTime STORED false)
    Q_PROPERTY(QString LocalTime READ LocalTime STORED false)
    Q_PROPERTY(QString CurrentDirectory READ CurrentDirectory STORED false)
    Q_PROPERTY(QString TempPath READ TempPath STORED false)
    Q_PROPERTY(QString LogicalDrives READ LogicalDrives STORED false)
    Q_PROPERTY(unsigned PageSize READ PageSize STORED false)
    Q_PROPERTY(QString ProcessorType READ ProcessorType STORED false)
    Q_PROPERTY(unsigned NumberOfProcessors READ NumberOfProcessors STORED false)
    Q_PROPERTY(QString OSVersion READ OSVersion STORED false)
    Q_PROPERTY(quint32 dwMemoryLoad READ dwMemoryLoad STORED false)
    Q_PROPERTY(quint64 dwTotalPhys READ dwTotalPhys STORED false)
    Q_PROPERTY(quint64 dwAvailPhys READ dwAvailPhys STORED false)
    Q_PROPERTY(quint64 dwTotalPageFile READ dwTotalPageFile STORED false)
    Q_PROPERTY(quint64 dwAvailPageFile READ dwAvailPageFile STORED false)
    Q_PROPERTY(quint64 dwTotalVirtual READ dwTotalVirtual STORED false)
    Q_PROPERTY(quint64 dwAvailVirtual READ dwAvailVirtual STORED false)

public:
    explicit TqvMySystem(vcl::TComponent* AOwner);

    QString UserName() const;
    QString ComputerName() const;
    // Linux has no Windows or system directory: both give the fallback, empty text.
    QString WindowsDirectory() const { return {}; }
    QString SystemDirectory() const { return {}; }
    QString SystemTime() const;
    QString LocalTime() const;
    QString CurrentDirectory() const;
    QString TempPath() const;
    QString LogicalDrives() const;
    unsigned PageSize() const { return FPageSize; }
    QString ProcessorType() const { return FProcessorType; }
    unsigned NumberOfProcessors() const { return FNumberOfProcessors; }
    QString OSVersion() const { return myGetVersion(); }
    // Index 1 to 7 reads the memory figures in the order of the properties below;
    // any other index gives 0. Sizes are bytes in 64 bits.
    uint64_t myGlobalMemoryStatus(int Index) const;
    quint32 dwMemoryLoad() const { return static_cast<quint32>(myGlobalMemoryStatus(1)); }
    quint64 dwTotalPhys() const { return myGlobalMemoryStatus(2); }
    quint64 dwAvailPhys() const { return myGlobalMemoryStatus(3); }
    quint64 dwTotalPageFile() const { return myGlobalMemoryStatus(4); }
    quint64 dwAvailPageFile() const { return myGlobalMemoryStatus(5); }
    quint64 dwTotalVirtual() const { return myGlobalMemoryStatus(6); }
    quint64 dwAvailVirtual() const { return myGlobalMemoryStatus(7); }
    QString myGetVersion() const;

    // Linux files carry no version resource: the record comes back as given and every
    // key reads empty.
    TFixedFileInfo FileInfo(const QString& FileName, const TFixedFileInfo& Record = {}) const;
    QString GetFileInformation(const QString& FileName, TInformationStrings Key) const;
    // The chosen time in local time; zero when the file cannot be opened for reading.
    platform::FILETIME myGetFileTime(const QString& FileName, TTimeOfWhat Which) const;
    // As a date-time value; 31 December 9999 when the file cannot be opened.
    vcl::TDateTime GetFileTime(const QString& FileName, TTimeOfWhat Which) const;
    TFileTimeComparision CompareFileTime(const QString& FileOne, const QString& FileTwo, TTimeOfWhat Which) const;
    // A modal about box captioned "About " + Title, with the application's icon.
    void ShellAbout(const QString& Title, const QString& Text) const;
    // The picture of an icon or image file; null when the file holds none. Free the
    // handle with vcl::DestroyIcon.
    vcl::HICON ExtractIcon(const QString& FileName) const;
    // The icon of the file's type from the icon theme, else the style's file icon.
    vcl::HICON ExtractAssociatedIcon(const QString& FileName) const;
    // Bytes free on the drive, in 64 bits; -1 when there is no such drive.
    int64_t GetFreeDiskSpace(QChar Drive) const;
    // -1 when the file cannot be opened for reading.
    int64_t FileSize(const QString& FileName) const;
    // Linux has no short names: an existing path comes back unchanged, any other empty.
    QString GetShortPathName(const QString& Path) const;
    TVolumeInfo GetVolumeInformation(QChar Drive) const;
    QString GetFullPathName(const QString& FileName) const;
    QString FindExecutable(const QString& FileName) const;
    TDriveType DriveType(QChar Drive) const;
    // Never formats: removable and fixed drives open the desktop's disk utility when one
    // is installed (and do nothing otherwise); other drives raise Exception.
    void FormatDrive(QChar Drive) const;
    // Powers the machine off (forced) through the session service, after checking that
    // the service answers and allows it; each failed step shows a message box captioned
    // "Exit Error" that names the step.
    void ShutDown() const;

    // Reads the page size and the processors.
    void Loaded() override;

private:
    unsigned FPageSize = 0;
    QString FProcessorType;
    unsigned FNumberOfProcessors = 0;
};

} // namespace Qvmysys
