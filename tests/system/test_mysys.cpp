// System queries: fixed buffers, /proc/meminfo, version and processor texts, drive
// letters and kinds, file times, sizes and programs, FormatDrive's refusals. Expected
// values are worked out by hand in the comments beside them.
#include "platform/system/drives.h"
#include "platform/system/filefacts.h"
#include "platform/system/sysqueries.h"
#include "controls/waituntil.h"
#include "system/qvmysys.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QFile>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utime.h>

using namespace Qvmysys;
namespace sys = platform::system;

namespace {

TEST(MySys, TextsKeepTheirBufferLimits)
{
    // A 21-character buffer holds 20 characters and the zero.
    EXPECT_EQ(sys::FitBuffer(QString(20, 'u'), sys::UserNameBuffer), QString(20, 'u'));
    EXPECT_EQ(sys::FitBuffer(QString(21, 'u'), sys::UserNameBuffer), "");
    EXPECT_EQ(sys::FitBuffer(QString(15, 'h'), sys::ComputerNameBuffer), QString(15, 'h'));
    EXPECT_EQ(sys::FitBuffer(QString(16, 'h'), sys::ComputerNameBuffer), "");
    TqvMySystem system(nullptr);
    EXPECT_EQ(system.GetFullPathName("/a/b/../" + QString(300, 'x')), ""); // longer than 260
    EXPECT_EQ(system.GetFullPathName("/a/b/../c"), "/a/c");
    EXPECT_EQ(system.GetFullPathName(""), "");
    EXPECT_TRUE(system.TempPath().endsWith('/'));
    EXPECT_EQ(system.WindowsDirectory(), "");
}

TEST(MySys, MemInfoIsReadIntoSixtyFourBits)
{
    // 64 GiB of memory (67108864 kB), a quarter available: load 75%. The page file is
    // the commit limit, 70000000 kB, less 20000000 kB committed.
    const QByteArray text = "MemTotal:       67108864 kB\n"
                            "MemFree:         1000000 kB\n"
                            "MemAvailable:   16777216 kB\n"
                            "SwapTotal:       2097152 kB\n"
                            "SwapFree:        2097152 kB\n"
                            "CommitLimit:    70000000 kB\n"
                            "Committed_AS:   20000000 kB\n";
    const sys::TMemoryStatus s = sys::ParseMemInfo(text);
    EXPECT_EQ(s.TotalPhys, 68719476736ULL);
    EXPECT_EQ(s.AvailPhys, 17179869184ULL);
    EXPECT_EQ(s.MemoryLoad, 75u);
    EXPECT_EQ(s.TotalPageFile, 71680000000ULL);
    EXPECT_EQ(s.AvailPageFile, 51200000000ULL);

    const struct {
        const char* Name;
        QByteArray Text;
        uint64_t Total, Avail;
        uint32_t Load;
        uint64_t PageTotal;
    } odd[] = {
        {"empty", "", 0, 0, 0, 0},
        // Available above total is cut to total: 0% load.
        {"avail above total", "MemTotal: 1000 kB\nMemAvailable: 5000 kB\n", 1024000, 1024000, 0, 1024000},
        // 999 of 1000 kB in use: 99.9% rounds down to 99.
        {"round down", "MemTotal: 1000 kB\nMemAvailable: 1 kB\n", 1024000, 1024, 99, 1024000},
        // A kB figure that would overflow 64 bits, and lines without numbers, are ignored.
        {"overflow", "MemTotal: 18446744073709551615 kB\nMemAvailable: x kB\nnonsense\n:\n", 0, 0, 0, 0},
        // Without a commit limit the page file is memory plus swap (2 + 3 kB).
        {"no commit limit", "MemTotal: 2 kB\nMemAvailable: 2 kB\nSwapTotal: 3 kB\nSwapFree: 1 kB\n", 2048, 2048, 0, 5120},
    };
    for (const auto& c : odd) {
        SCOPED_TRACE(c.Name);
        const sys::TMemoryStatus r = sys::ParseMemInfo(c.Text);
        EXPECT_EQ(r.TotalPhys, c.Total);
        EXPECT_EQ(r.AvailPhys, c.Avail);
        EXPECT_EQ(r.MemoryLoad, c.Load);
        EXPECT_EQ(r.TotalPageFile, c.PageTotal);
    }
    TqvMySystem system(nullptr);
    EXPECT_EQ(system.myGlobalMemoryStatus(0), 0u);
    EXPECT_EQ(system.myGlobalMemoryStatus(8), 0u);
    EXPECT_GT(system.dwTotalPhys(), 0u);
    EXPECT_LE(system.dwMemoryLoad(), 100u);
}

TEST(MySys, VersionAndProcessorTextsAndFieldsFilledByLoaded)
{
    EXPECT_EQ(FormatVersionText("Windows NT", 4, 0, 1381, "Service Pack 3"),
        "Windows NT Version 4.0\r\n (Build 1381: Service Pack 3)");
    const struct {
        QByteArray Release;
        unsigned Major, Minor, Build;
    } releases[] = {{"6.1.0-18-amd64", 6, 1, 0}, {"5.15", 5, 15, 0}, {"4.19.282-1", 4, 19, 282}, {"abc", 0, 0, 0},
        {"7.x.3", 7, 0, 0}, {"12345678901.2.3", 0, 0, 0}};
    for (const auto& r : releases) {
        SCOPED_TRACE(r.Release.constData());
        sys::TVersionInfo info;
        info.Build = 77;
        sys::ParseRelease(r.Release, info);
        EXPECT_EQ(info.Major, r.Major);
        EXPECT_EQ(info.Minor, r.Minor);
        EXPECT_EQ(info.Build, r.Build);
    }
    const std::pair<unsigned, const char*> processors[] = {
        {386, "386"}, {486, "486"}, {586, "Pentium"}, {4000, "MIPS"}, {21064, "ALPHA"}, {8664, ""}, {0, ""}};
    for (const auto& [type, text] : processors)
        EXPECT_EQ(ProcessorTypeText(type), text) << type;
    EXPECT_EQ(sys::ProcessorTypeOf("i686"), 586u);
    EXPECT_EQ(sys::ProcessorTypeOf("x86_64"), 8664u);
    EXPECT_EQ(sys::ProcessorTypeOf("riscv64"), 0u);
    TqvMySystem system(nullptr);
    EXPECT_TRUE(system.OSVersion().startsWith("Linux Version "));
    // The processor fields are read at creation; a form file is not needed.
    EXPECT_EQ(system.PageSize(), static_cast<unsigned>(sysconf(_SC_PAGESIZE)));
    EXPECT_EQ(system.NumberOfProcessors(), static_cast<unsigned>(sysconf(_SC_NPROCESSORS_ONLN)));
    EXPECT_FALSE(system.ProcessorType().isEmpty());
}

TEST(MySys, VolumesBecomeDrivesFromCWithTheRootAsCAndMissingDrivesFail)
{
    // Bits 0, 2 and 3 set: drives A, C and D.
    EXPECT_EQ(DriveLettersOf(0b1101), "ACD");
    EXPECT_EQ(DriveLettersOf(0), "");
    EXPECT_EQ(DriveLettersOf(0xFFFFFFFF), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");

    std::vector<platform::shell::TMountedVolume> volumes{{"/", "ext4", false}, {"/media/u/STICK", "vfat", true},
        {"/mnt/cd", "iso9660", true}, {"/net", "nfs4", false}, {"/ram", "tmpfs", false}, {"/odd", "", false}};
    const std::vector<sys::TDrive> drives = sys::AssignDriveLetters(volumes);
    const std::pair<char, sys::TDriveKind> expected[] = {{'C', sys::TDriveKind::Fixed}, {'D', sys::TDriveKind::Removable},
        {'E', sys::TDriveKind::CDRom}, {'F', sys::TDriveKind::Remote}, {'G', sys::TDriveKind::RamDisk},
        {'H', sys::TDriveKind::Unknown}};
    ASSERT_EQ(drives.size(), std::size(expected));
    for (size_t i = 0; i < drives.size(); ++i) {
        EXPECT_EQ(drives[i].Letter, expected[i].first);
        EXPECT_EQ(drives[i].Kind, expected[i].second);
    }
    // C to H: bits 2 to 7.
    EXPECT_EQ(sys::LogicalDriveMask(drives), 0xFCu);
    EXPECT_EQ(sys::FindDrive(drives, 'e')->MountPoint, "/mnt/cd");
    EXPECT_FALSE(sys::FindDrive(drives, 'A'));
    // 30 volumes: only C to Z (24) get letters.
    EXPECT_EQ(sys::AssignDriveLetters(std::vector<platform::shell::TMountedVolume>(30, volumes[0])).size(), 24u);

    EXPECT_EQ(sys::VolumeFlags("ext4", false), 0x7u);
    EXPECT_EQ(sys::VolumeFlags("vfat", true), 0x80006u);

    // The root is drive C; missing drives fail.
    TqvMySystem system(nullptr);
    EXPECT_TRUE(system.LogicalDrives().startsWith("C"));
    EXPECT_EQ(system.DriveType('c'), dtFixed);
    EXPECT_EQ(system.DriveType('A'), dtNoDrive);
    EXPECT_EQ(system.GetFreeDiskSpace('A'), -1);
    // Against Qt's own reading of the root volume; other programs may write meanwhile,
    // so the two need only agree within a gigabyte.
    const int64_t free = system.GetFreeDiskSpace('C');
    EXPECT_NEAR(static_cast<double>(free), static_cast<double>(QStorageInfo::root().bytesAvailable()), 1e9);
    const TVolumeInfo root = system.GetVolumeInformation('C');
    EXPECT_GT(root.MaximumComponentLength, 0u);
    EXPECT_FALSE(root.FileSystemName.isEmpty());
    EXPECT_EQ(system.GetVolumeInformation('B').FileSystemName, "");
    try {
        system.FormatDrive('b');
        ADD_FAILURE() << "no exception";
    } catch (const vcl::Exception& e) {
        EXPECT_EQ(e.Message(), "Specified drive does not exist.");
    }
}

TEST(MySys, FileTimesSizesAndMissingFiles)
{
    QTemporaryDir dir;
    const QString older = dir.filePath("older.txt"), newer = dir.filePath("newer.txt"), missing = dir.filePath("none");
    for (const QString& name : {older, newer}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("12345");
    }
    // Write times 1 January 2001 00:00:00 and 00:00:10 UTC (978307200 since 1970).
    const utimbuf first{978307200, 978307200}, second{978307210, 978307210};
    ASSERT_EQ(utime(QFile::encodeName(older).constData(), &first), 0);
    ASSERT_EQ(utime(QFile::encodeName(newer).constData(), &second), 0);
    TqvMySystem system(nullptr);
    const std::tuple<QString, QString, TFileTimeComparision> comparisons[] = {
        {older, older, ftFileTimesAreEqual}, {missing, missing, ftFileTimesAreEqual},
        {older, newer, ftFileOneIsOlder}, {newer, older, ftFileTwoIsOlder}, {missing, older, ftFileOneIsOlder}};
    for (const auto& [one, two, result] : comparisons)
        EXPECT_EQ(system.CompareFileTime(one, two, ftLastWriteTime), result) << one.toStdString() << two.toStdString();

    // 978307200 s after 1970 is 116444736000000000 + 9783072000000000 ticks since 1601, before
    // the move into local time.
    const auto utc = sys::FileTimeOf(older, sys::TFileTimeKind::LastWrite);
    ASSERT_TRUE(utc);
    EXPECT_EQ(*utc, 126227808000000000ULL);
    // 1 January 2001 is day 36892 after 30 December 1899.
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(126227808000000000ULL), 36892.0);
    const platform::FILETIME none = system.myGetFileTime(missing, ftCreationTime);
    EXPECT_EQ(none.dwLowDateTime | none.dwHighDateTime, 0u);
    EXPECT_EQ(system.GetFileTime(missing, ftLastWriteTime), vcl::EncodeDate(9999, 12, 31));
    EXPECT_EQ(system.FileSize(older), 5);
    EXPECT_EQ(system.FileSize(missing), -1);
    EXPECT_EQ(system.FileSize(dir.path()), -1);
    EXPECT_EQ(system.GetShortPathName(older), older);
    EXPECT_EQ(system.GetShortPathName(missing), "");
    TFixedFileInfo record;
    record.dwSignature = 0xFEEF04BD;
    EXPECT_EQ(system.FileInfo(older, record).dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(system.GetFileInformation(older, isCompanyName), "");
}

TEST(MySys, FindExecutableFollowsTheDesktopDefault)
{
    QTemporaryDir home;
    const QString config = home.filePath("config"), data = home.filePath("data");
    QDir().mkpath(config);
    QDir().mkpath(data + "/applications");
    auto write = [](const QString& name, const QByteArray& text) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write(config + "/mimeapps.list", "[Default Applications]\ntext/plain=viewer.desktop;\n");
    write(data + "/applications/viewer.desktop", "[Desktop Entry]\nName=Viewer\nExec=sh -c true %f\n");
    write(home.filePath("notes.txt"), "hello");
    write(home.filePath("data.unknownext"), QByteArray(64, '\x01'));
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", home.filePath("none").toLocal8Bit());
    // The system folders hold only the MIME database (which Qt finds through them), so
    // no application installed on this machine can answer.
    QDir().mkpath(home.filePath("system"));
    QFile::link("/usr/share/mime", home.filePath("system/mime"));
    qputenv("XDG_DATA_DIRS", home.filePath("system").toLocal8Bit());
    TqvMySystem system(nullptr);
    EXPECT_EQ(system.FindExecutable(home.filePath("notes.txt")), QStandardPaths::findExecutable("sh"));
    EXPECT_EQ(system.FindExecutable(home.filePath("data.unknownext")), "ERROR_FILE_NOT_FOUND");
    EXPECT_EQ(system.FindExecutable(home.filePath("missing.txt")), "ERROR_FILE_NOT_FOUND");
    const QString sh = QStandardPaths::findExecutable("sh");
    EXPECT_EQ(system.FindExecutable(sh), QFileInfo(sh).absoluteFilePath());
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"})
        qunsetenv(name);
}

TEST(MySys, FormatDriveNeverFormats)
{
    // A fake disk utility on the path that only leaves a mark, and a volume table of each kind.
    QTemporaryDir bin;
    const QString mark = bin.filePath("opened");
    {
        QFile tool(bin.filePath("gnome-disks"));
        ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n/usr/bin/touch '" + QFile::encodeName(mark) + "'\n");
        tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    const auto previous = sys::SetVolumeSource([] {
        return std::vector<platform::shell::TMountedVolume>{{"/", "ext4", false}, {"/media/x", "vfat", true},
            {"/mnt/cd", "iso9660", false}, {"/net", "cifs", false}, {"/ram", "ramfs", false}, {"/what", "", false}};
    });
    TqvMySystem system(nullptr);
    const std::pair<char, const char*> refused[] = {{'e', "Cannot format a CD-ROM Drive."},
        {'F', "Cannot format a Network Drive."}, {'G', "Cannot format a RAM Drive."},
        {'H', "Cannot determine drive type."}, {'Q', "Specified drive does not exist."}};
    for (const auto& [letter, message] : refused) {
        try {
            system.FormatDrive(letter);
            ADD_FAILURE() << "no exception for " << letter;
        } catch (const vcl::Exception& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }
    EXPECT_FALSE(QFile::exists(mark));
    system.FormatDrive('D'); // removable: the disk utility opens, nothing else happens
    EXPECT_TRUE(WaitUntil([&] { return QFile::exists(mark); }, 30000));
    QFile::remove(mark);
    qputenv("PATH", QFile::encodeName(QDir(bin.path()).filePath("empty")));
    system.FormatDrive('C'); // fixed, and no utility installed: nothing at all
    EXPECT_FALSE(QFile::exists(mark));
    EXPECT_EQ(system.LogicalDrives(), "CDEFGH");
    qputenv("PATH", path);
    sys::SetVolumeSource(previous);
}

TEST(MySys, IconsAndAboutBox)
{
    QTemporaryDir dir;
    QImage red(8, 8, QImage::Format_ARGB32);
    red.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(red.save(dir.filePath("red.png")));
    QFile text(dir.filePath("plain.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no picture");
    text.close();
    TqvMySystem system(nullptr);
    // The picture scaled to the 32-pixel icon size: still red everywhere.
    vcl::HICON icon = system.ExtractIcon(dir.filePath("red.png"));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Image.size(), QSize(32, 32));
    EXPECT_EQ(icon->Image.pixel(16, 16), qRgb(255, 0, 0));
    vcl::DestroyIcon(icon);
    EXPECT_EQ(system.ExtractIcon(dir.filePath("plain.txt")), nullptr);
    EXPECT_EQ(system.ExtractAssociatedIcon(dir.filePath("none")), nullptr);
    vcl::HICON associated = system.ExtractAssociatedIcon(dir.filePath("plain.txt"));
    ASSERT_NE(associated, nullptr);
    vcl::DestroyIcon(associated);

    QStringList seen;
    WhenFound<QMessageBox>([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
        [&seen](QMessageBox* box) {
            seen = {box->windowTitle(), box->text(), box->informativeText()};
            box->accept();
        });
    system.ShellAbout("QvKit", "Components for Qt");
    EXPECT_EQ(seen, (QStringList{"About QvKit", "QvKit", "Components for Qt"}));
}

} // namespace
