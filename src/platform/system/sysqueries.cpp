#include "platform/system/sysqueries.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStandardPaths>
#include <algorithm>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace platform::system {

QString FitBuffer(const QString& value, int bufferChars)
{
    return value.size() < bufferChars ? value : QString();
}

QString UserName()
{
    QString name;
    if (const passwd* entry = getpwuid(geteuid()))
        name = QString::fromLocal8Bit(entry->pw_name);
    if (name.isEmpty())
        name = qEnvironmentVariable("USER");
    return FitBuffer(name, UserNameBuffer);
}

QString ComputerName()
{
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return {};
    const QString name = QString::fromLocal8Bit(host).section(QLatin1Char('.'), 0, 0);
    return FitBuffer(name, ComputerNameBuffer);
}

QString CurrentDirectory()
{
    char path[4096];
    if (getcwd(path, sizeof path) == nullptr)
        return {};
    return FitBuffer(QString::fromLocal8Bit(path), PathBuffer);
}

QString TempPath()
{
    QString path = QDir::tempPath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return FitBuffer(path, PathBuffer);
}

namespace {

// "MemTotal:       16318332 kB" gives the name and the value in bytes.
bool ParseMemInfoLine(const QByteArray& line, QByteArray& name, uint64_t& bytes)
{
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return false;
    name = line.left(colon);
    const QList<QByteArray> parts = line.mid(colon + 1).simplified().split(' ');
    bool ok = false;
    const qulonglong value = parts.value(0).toULongLong(&ok);
    if (!ok)
        return false;
    const bool kilo = parts.value(1) == "kB";
    if (kilo && value > UINT64_MAX / 1024)
        return false;
    bytes = kilo ? value * 1024 : value;
    return true;
}

} // namespace

TMemoryStatus ParseMemInfo(const QByteArray& text)
{
    TMemoryStatus status;
    uint64_t swapTotal = 0, swapFree = 0, commitLimit = 0, committed = 0;
    bool haveCommit = false;
    for (const QByteArray& line : text.split('\n')) {
        QByteArray name;
        uint64_t bytes = 0;
        if (!ParseMemInfoLine(line, name, bytes))
            continue;
        if (name == "MemTotal")
            status.TotalPhys = bytes;
        else if (name == "MemAvailable")
            status.AvailPhys = bytes;
        else if (name == "SwapTotal")
            swapTotal = bytes;
        else if (name == "SwapFree")
            swapFree = bytes;
        else if (name == "CommitLimit")
            commitLimit = bytes, haveCommit = true;
        else if (name == "Committed_AS")
            committed = bytes;
    }
    status.AvailPhys = std::min(status.AvailPhys, status.TotalPhys);
    // Without a commit limit the page file is memory and swap together.
    status.TotalPageFile = haveCommit ? commitLimit : status.TotalPhys + swapTotal;
    status.AvailPageFile = haveCommit ? (commitLimit > committed ? commitLimit - committed : 0)
                                      : status.AvailPhys + std::min(swapFree, swapTotal);
    // The load is the share in use in whole percent, rounded down; the product stays
    // within 64 bits below 184 petabytes of memory, beyond that the quotient goes first.
    if (status.TotalPhys > 0) {
        const uint64_t used = status.TotalPhys - status.AvailPhys;
        status.MemoryLoad = static_cast<uint32_t>(
            used <= UINT64_MAX / 100 ? used * 100 / status.TotalPhys : used / (status.TotalPhys / 100));
    }
    return status;
}

namespace {

uint64_t ProcessVirtualSize()
{
    QFile file(QStringLiteral("/proc/self/statm"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const qulonglong pages = file.readLine().split(' ').value(0).toULongLong(&ok);
    return ok ? pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE)) : 0;
}

// The user part of the address space: the address-space limit when one is set, else
// the 47 bits of an x86-64 (or 48-bit arm64) process.
uint64_t AddressSpaceSize()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return limit.rlim_cur;
    return sizeof(void*) == 8 ? (uint64_t(1) << 47) : (uint64_t(1) << 31);
}

} // namespace

TMemoryStatus MemoryStatus()
{
    QFile file(QStringLiteral("/proc/meminfo"));
    TMemoryStatus status;
    if (file.open(QIODevice::ReadOnly))
        status = ParseMemInfo(file.readAll());
    status.TotalVirtual = AddressSpaceSize();
    const uint64_t used = ProcessVirtualSize();
    status.AvailVirtual = status.TotalVirtual > used ? status.TotalVirtual - used : 0;
    return status;
}

uint32_t ProcessorTypeOf(const QByteArray& machine)
{
    if (machine == "i386")
        return 386;
    if (machine == "i486")
        return 486;
    if (machine == "i586" || machine == "i686")
        return 586;
    if (machine == "x86_64")
        return 8664;
    return 0;
}

TProcessorInfo ProcessorInfo()
{
    TProcessorInfo info;
    info.PageSize = static_cast<uint32_t>(sysconf(_SC_PAGESIZE));
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    info.NumberOfProcessors = online > 0 ? static_cast<uint32_t>(online) : 1;
    utsname names{};
    if (uname(&names) == 0) {
        info.Machine = QString::fromLatin1(names.machine);
        info.ProcessorType = ProcessorTypeOf(names.machine);
    }
    return info;
}

void ParseRelease(const QByteArray& release, TVersionInfo& info)
{
    // Each number ends at the first character that is not a digit; one too long for
    // 32 bits ends the parse, as does any character but a dot after a number.
    constexpr qsizetype MaxDigits = 9;
    uint32_t* const numbers[] = {&info.Major, &info.Minor, &info.Build};
    for (uint32_t* number : numbers)
        *number = 0;
    qsizetype pos = 0;
    for (uint32_t* number : numbers) {
        qsizetype end = pos;
        while (end < release.size() && release[end] >= '0' && release[end] <= '9')
            ++end;
        if (end == pos || end - pos > MaxDigits)
            return;
        *number = release.mid(pos, end - pos).toUInt();
        if (end >= release.size() || release[end] != '.')
            return;
        pos = end + 1;
    }
}

bool VersionInfo(TVersionInfo& info)
{
    utsname names{};
    if (uname(&names) != 0)
        return false;
    info.PlatformName = QString::fromLatin1(names.sysname);
    ParseRelease(names.release, info);
    info.ServiceText = QString::fromLocal8Bit(names.version);
    return true;
}

} // namespace platform::system
