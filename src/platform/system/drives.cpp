#include "platform/system/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <algorithm>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace platform::system {

namespace {

constexpr char FirstVolumeLetter = 'C';
constexpr uint32_t CaseSensitiveSearch = 0x1, CasePreservedNames = 0x2, UnicodeOnDisk = 0x4;
constexpr uint32_t ReadOnlyVolume = 0x80000;

bool IsOneOf(const QByteArray& value, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* name) { return value == name; });
}

} // namespace

TDriveKind KindOfVolume(const QByteArray& fileSystem, bool removable)
{
    if (IsOneOf(fileSystem, {"iso9660", "udf"}))
        return TDriveKind::CDRom;
    if (IsOneOf(fileSystem, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "9p", "afs", "ceph", "glusterfs"}))
        return TDriveKind::Remote;
    if (IsOneOf(fileSystem, {"tmpfs", "ramfs"}))
        return TDriveKind::RamDisk;
    if (removable)
        return TDriveKind::Removable;
    return fileSystem.isEmpty() ? TDriveKind::Unknown : TDriveKind::Fixed;
}

std::vector<TDrive> AssignDriveLetters(const std::vector<platform::shell::TMountedVolume>& volumes)
{
    std::vector<TDrive> drives;
    char letter = FirstVolumeLetter;
    for (const auto& volume : volumes) {
        if (letter > 'Z')
            break;
        drives.push_back({letter++, volume.MountPoint, volume.FileSystem, KindOfVolume(volume.FileSystem, volume.Removable)});
    }
    return drives;
}

namespace {

TVolumeSource& CurrentVolumeSource()
{
    static TVolumeSource source;
    return source;
}

} // namespace

TVolumeSource SetVolumeSource(TVolumeSource Source)
{
    TVolumeSource previous = std::move(CurrentVolumeSource());
    CurrentVolumeSource() = std::move(Source);
    return previous;
}

std::vector<TDrive> Drives()
{
    const TVolumeSource& source = CurrentVolumeSource();
    return AssignDriveLetters(source ? source() : platform::shell::MountedVolumes());
}

uint32_t LogicalDriveMask(const std::vector<TDrive>& drives)
{
    uint32_t mask = 0;
    for (const TDrive& drive : drives)
        mask |= uint32_t(1) << (drive.Letter - 'A');
    return mask;
}

std::optional<TDrive> FindDrive(const std::vector<TDrive>& drives, QChar letter)
{
    const QChar upper = letter.toUpper();
    for (const TDrive& drive : drives)
        if (upper == QLatin1Char(drive.Letter))
            return drive;
    return std::nullopt;
}

std::optional<uint64_t> FreeBytes(const QByteArray& mountPoint)
{
    struct statvfs facts {};
    if (statvfs(mountPoint.constData(), &facts) != 0)
        return std::nullopt;
    return static_cast<uint64_t>(facts.f_bavail) * facts.f_frsize;
}

uint32_t VolumeFlags(const QByteArray& fileSystem, bool readOnly)
{
    const bool fat = IsOneOf(fileSystem, {"vfat", "msdos", "exfat"});
    uint32_t flags = UnicodeOnDisk | (fat ? CasePreservedNames : CaseSensitiveSearch | CasePreservedNames);
    if (readOnly)
        flags |= ReadOnlyVolume;
    return flags;
}

namespace {

// The label of the block device that holds mountPoint: the link in /dev/disk/by-label
// that leads to that device. Labels there escape characters as \xNN.
QString LabelOfVolume(const QByteArray& mountPoint)
{
    struct stat point {};
    if (stat(mountPoint.constData(), &point) != 0)
        return {};
    const QDir labels(QStringLiteral("/dev/disk/by-label"));
    for (const QFileInfo& link : labels.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        struct stat device {};
        if (stat(QFile::encodeName(link.absoluteFilePath()).constData(), &device) == 0 && S_ISBLK(device.st_mode)
            && device.st_rdev == point.st_dev)
            return link.fileName().replace(QStringLiteral("\\x20"), QStringLiteral(" "));
    }
    return {};
}

} // namespace

std::optional<TVolumeFacts> VolumeFacts(const TDrive& drive)
{
    struct statvfs facts {};
    if (statvfs(drive.MountPoint.constData(), &facts) != 0)
        return std::nullopt;
    TVolumeFacts result;
    result.VolumeName = LabelOfVolume(drive.MountPoint);
    result.SerialNumber = static_cast<uint32_t>(facts.f_fsid);
    result.MaximumComponentLength = static_cast<uint32_t>(facts.f_namemax);
    result.FileSystemFlags = VolumeFlags(drive.FileSystem, (facts.f_flag & ST_RDONLY) != 0);
    result.FileSystemName = QString::fromLatin1(drive.FileSystem);
    return result;
}

} // namespace platform::system
