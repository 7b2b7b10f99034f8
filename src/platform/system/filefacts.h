#pragma once
// File facts in the original platform's terms: file times as 100-nanosecond counts
// since 1601, and the program that opens a file.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace platform::system {

enum class TFileTimeKind { Creation, LastAccess, LastWrite };

// 100-nanosecond intervals between 1 January 1601 and 1 January 1970.
constexpr uint64_t UnixEpochAsFileTime = 116444736000000000ULL;

// The chosen time of a file that can be opened for reading, in UTC. The creation time
// is the file system's birth time where the kernel reports one, else the time of the
// last status change (the closest a Linux file system without birth times keeps).
std::optional<uint64_t> FileTimeOf(const QString& fileName, TFileTimeKind which);
// A UTC file time moved into local time by the offset from UTC in force at that moment.
uint64_t FileTimeToLocal(uint64_t utc);

// The size of a file that can be opened for reading.
std::optional<int64_t> FileSizeOf(const QString& fileName);

// The program that opens fileName (relative names against directory): the file itself
// when it is an executable, else the program of the desktop's default application for
// its MIME type (mimeapps.list, then the applications' MIME cache). Nothing when the
// file does not exist or no program is associated.
std::optional<QString> FindExecutableFor(const QString& fileName, const QString& directory);

// The desktop's disk utility, when one is installed (gnome-disks, KDE Partition Manager).
std::optional<QString> DiskUtility();

} // namespace platform::system
