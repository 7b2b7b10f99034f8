#pragma once
// Facts about the machine and the session from POSIX and Linux (/proc, uname, sysconf),
// in the shapes the system-information component hands on. Texts that the original
// platform returned through fixed buffers keep those limits: a value that does not fit
// with its terminating zero is a failure and gives empty text.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace platform::system {

// Buffer sizes in characters, terminating zero included.
constexpr int UserNameBuffer = 21;
constexpr int ComputerNameBuffer = 16;
constexpr int PathBuffer = 261;

// Value when it fits into a buffer of bufferChars characters with its zero, else empty.
QString FitBuffer(const QString& value, int bufferChars);

// The login name of the process's user (password database, then $USER); empty when
// longer than 20 characters.
QString UserName();
// The host name up to its first dot; empty when longer than 15 characters.
QString ComputerName();
// The working directory; empty when it cannot be read or needs more than 260 characters.
QString CurrentDirectory();
// $TMPDIR (else /tmp) with a trailing slash, as the original's temporary path has one.
QString TempPath();

// The memory figures of the original's status record, in bytes, 64 bits wide so that
// machines with more than 4 GiB report true values.
struct TMemoryStatus {
    uint32_t MemoryLoad = 0; // percent of physical memory in use
    uint64_t TotalPhys = 0;
    uint64_t AvailPhys = 0;
    uint64_t TotalPageFile = 0; // commit limit: what may be committed, memory and swap
    uint64_t AvailPageFile = 0;
    uint64_t TotalVirtual = 0; // the process's address space
    uint64_t AvailVirtual = 0;
};

// Reads the figures out of the text of /proc/meminfo; lines it does not know, lines
// without a number and numbers that overflow are ignored. The virtual figures are
// left at zero (they come from the process, not from this text).
TMemoryStatus ParseMemInfo(const QByteArray& text);
TMemoryStatus MemoryStatus();

struct TProcessorInfo {
    uint32_t PageSize = 0;
    // The original's processor numbers: 386, 486, 586; 8664 for x86-64, 0 for others.
    uint32_t ProcessorType = 0;
    uint32_t NumberOfProcessors = 0;
    QString Machine; // uname's machine name, "x86_64"
};
TProcessorInfo ProcessorInfo();
// The processor number for a uname machine name ("i686" gives 586, "x86_64" 8664).
uint32_t ProcessorTypeOf(const QByteArray& machine);

// The kernel's version in the original's terms: platform "Linux", major and minor and
// build the first three numbers of the release ("6.1.0-18-amd64" gives 6, 1, 0), and
// the kernel's version text where the original had its service-pack text.
struct TVersionInfo {
    QString PlatformName;
    uint32_t Major = 0;
    uint32_t Minor = 0;
    uint32_t Build = 0;
    QString ServiceText;
};
bool VersionInfo(TVersionInfo& info);
// The numbers of a release text: "6.1.0-18-amd64" gives 6, 1, 0; missing ones are 0.
void ParseRelease(const QByteArray& release, TVersionInfo& info);

} // namespace platform::system
