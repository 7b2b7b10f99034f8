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

// Which of a file's three times GetFileTime and CompareFileTime read.
enum TTimeOfWhat { ftCreationTime, ftLastAccessTime, ftLastWriteTime };
Q_ENUM_NS(TTimeOfWhat)
// The result of CompareFileTime; ftError when a file cannot be opened.
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

// A volume's facts, as GetVolumeInformation gives them.
struct TVolumeInfo {
    QString VolumeName; // The volume's label.
    platform::DWORD SerialNumber = 0; // The volume's serial number.
    platform::DWORD MaximumComponentLength = 0; // The longest file name the file system takes.
    platform::DWORD FileSystemFlags = 0; // The file system's flags.
    QString FileSystemName; // The file system's name.
};

// The first eleven members of a file's fixed version information.
struct TFixedFileInfo {
    // The record's fields, named and ordered as the platform's version record.
    //@{
    platform::DWORD dwSignature = 0, dwStrucVersion = 0, dwFileVersionMS = 0, dwFileVersionLS = 0,
                    dwProductVersionMS = 0, dwProductVersionLS = 0, dwFileFlagsMask = 0, dwFileFlags = 0,
                    dwFileOS = 0, dwFileType = 0, dwFileSubtype = 0;
    //@}
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

// A non-visual component that reports the user, the machine, its memory, drives and
// files (read-only properties, read when asked), and offers the file and shell calls
// that go with them.
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
    // Creates the component, owned (and freed) by AOwner, with PageSize, ProcessorType
    // and NumberOfProcessors read from the system.
    explicit TqvMySystem(vcl::TComponent* AOwner);

    // The user's login name, at most 20 characters.
    QString UserName() const;
    QString ComputerName() const; // The host name, at most 15 characters.
    // Linux has no Windows or system directory: both give the fallback, empty text.
    QString WindowsDirectory() const { return {}; }
    QString SystemDirectory() const { return {}; } // (see WindowsDirectory)
    // The time now in UTC, as date and time text.
    QString SystemTime() const;
    QString LocalTime() const; // The local time now, as date and time text.
    QString CurrentDirectory() const; // The process's current directory.
    QString TempPath() const; // The folder for temporary files.
    QString LogicalDrives() const; // The drive letters in use: C is the root, the other mounted volumes follow.
    unsigned PageSize() const { return FPageSize; } // The memory page size in bytes.
    QString ProcessorType() const { return FProcessorType; } // The processor's name (the machine name from uname for processors without a number).
    unsigned NumberOfProcessors() const { return FNumberOfProcessors; } // The number of processors.
    QString OSVersion() const { return myGetVersion(); } // The system's version text (see FormatVersionText).
    // Index 1 to 7 reads the memory figures in the order of the properties below;
    // any other index gives 0. Sizes are bytes in 64 bits.
    uint64_t myGlobalMemoryStatus(int Index) const;
    quint32 dwMemoryLoad() const { return static_cast<quint32>(myGlobalMemoryStatus(1)); } // Memory in use, in percent.
    quint64 dwTotalPhys() const { return myGlobalMemoryStatus(2); } // Physical memory in bytes.
    quint64 dwAvailPhys() const { return myGlobalMemoryStatus(3); } // Free physical memory in bytes.
    quint64 dwTotalPageFile() const { return myGlobalMemoryStatus(4); } // Swap plus physical memory in bytes.
    quint64 dwAvailPageFile() const { return myGlobalMemoryStatus(5); } // Free swap plus free physical memory in bytes.
    quint64 dwTotalVirtual() const { return myGlobalMemoryStatus(6); } // The address space a process may use, in bytes.
    quint64 dwAvailVirtual() const { return myGlobalMemoryStatus(7); } // The part of it still free, in bytes.
    // The version text, as OSVersion.
    QString myGetVersion() const;

    // Linux files carry no version resource: the record comes back as given and every
    // key reads empty.
    TFixedFileInfo FileInfo(const QString& FileName, const TFixedFileInfo& Record = {}) const;
    // Empty: Linux files carry no version resource.
    QString GetFileInformation(const QString& FileName, TInformationStrings Key) const;
    // The chosen time in local time; zero when the file cannot be opened for reading.
    platform::FILETIME myGetFileTime(const QString& FileName, TTimeOfWhat Which) const;
    // As a date-time value; 31 December 9999 when the file cannot be opened.
    vcl::TDateTime GetFileTime(const QString& FileName, TTimeOfWhat Which) const;
    // Which of two files is older by the chosen time; ftError when either cannot be opened.
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
    // The facts of the volume mounted as Drive; an empty record for an unknown drive.
    TVolumeInfo GetVolumeInformation(QChar Drive) const;
    QString GetFullPathName(const QString& FileName) const; // The absolute, cleaned path of FileName (empty for an empty name).
    QString FindExecutable(const QString& FileName) const; // The program the desktop opens FileName with; the text ERROR_FILE_NOT_FOUND when there is none.
    TDriveType DriveType(QChar Drive) const; // The kind of drive; dtNoDrive for a letter with nothing mounted.
    // Never formats: removable and fixed drives open the desktop's disk utility when one
    // is installed (and do nothing otherwise); other drives raise Exception.
    void FormatDrive(QChar Drive) const;
    // Powers the machine off (forced) through the session service, after checking that
    // the service answers and allows it; each failed step shows a message box captioned
    // "Exit Error" that names the step.
    void ShutDown() const;

    // Reads the page size and the processors again.
    void Loaded() override;

private:
    void ReadProcessorInfo();

    unsigned FPageSize = 0;
    QString FProcessorType;
    unsigned FNumberOfProcessors = 0;
};

} // namespace Qvmysys
