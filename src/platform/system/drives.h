#pragma once
// Mounted volumes as the original platform's drive letters. The root volume is drive
// C; the other volumes follow in mount order as D, E, ... up to Z, so A and B (the
// floppy letters) never name a volume and volumes beyond the 24th get no letter.
#include "platform/shell/shelllocations.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace platform::system {

// The values of the original's drive-type query, in its order.
enum class TDriveKind : uint32_t { Unknown, NoRootDir, Removable, Fixed, Remote, CDRom, RamDisk };

struct TDrive {
    char Letter = 0;
    QByteArray MountPoint;
    QByteArray FileSystem;
    TDriveKind Kind = TDriveKind::Unknown;
};

// The kind of a volume: removable for the desktop's removable mounts, a CD for
// iso9660 and udf, remote for network file systems, a RAM disk for tmpfs and ramfs.
TDriveKind KindOfVolume(const QByteArray& fileSystem, bool removable);
// Letters for a volume table whose first entry is the root.
std::vector<TDrive> AssignDriveLetters(const std::vector<platform::shell::TMountedVolume>& volumes);
// The drives of this machine now, from the mounted volumes.
std::vector<TDrive> Drives();
// Where Drives reads the volumes: the machine's mount table unless replaced (a test
// gives a table of its own). Returns the source replaced; an empty one restores the
// mount table.
using TVolumeSource = std::function<std::vector<platform::shell::TMountedVolume>()>;
TVolumeSource SetVolumeSource(TVolumeSource Source);
// Bit n set for each drive letter "A" + n present.
uint32_t LogicalDriveMask(const std::vector<TDrive>& drives);
std::optional<TDrive> FindDrive(const std::vector<TDrive>& drives, QChar letter);

// Bytes free to the caller on a mounted volume; nothing when it cannot be asked.
std::optional<uint64_t> FreeBytes(const QByteArray& mountPoint);

struct TVolumeFacts {
    QString VolumeName; // the file system's label, from /dev/disk/by-label
    uint32_t SerialNumber = 0; // the low 32 bits of the file-system id
    uint32_t MaximumComponentLength = 0;
    uint32_t FileSystemFlags = 0;
    QString FileSystemName;
};
// The original's volume flags a Linux volume carries: case-sensitive search and
// case-preserved names (both 0x1 | 0x2) except on the FAT family, Unicode names (0x4),
// and read-only (0x80000) for a read-only mount.
uint32_t VolumeFlags(const QByteArray& fileSystem, bool readOnly);
std::optional<TVolumeFacts> VolumeFacts(const TDrive& drive);

} // namespace platform::system
