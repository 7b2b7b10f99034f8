#include "platform/system/filefacts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QStringList>
#include <QTimeZone>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::system {

namespace {

constexpr uint64_t TicksPerSecond = 10000000;

uint64_t ToFileTime(const statx_timestamp& time)
{
    if (time.tv_sec < 0)
        return 0;
    return UnixEpochAsFileTime + static_cast<uint64_t>(time.tv_sec) * TicksPerSecond + time.tv_nsec / 100;
}

// Opens the file for reading as the original does before it asks for times or sizes,
// so that a file the caller may not read gives nothing.
bool CanOpenForReading(const QByteArray& path)
{
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

} // namespace

std::optional<uint64_t> FileTimeOf(const QString& fileName, TFileTimeKind which)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct statx facts {};
    if (fileName.isEmpty() || !CanOpenForReading(path)
        || statx(AT_FDCWD, path.constData(), 0, STATX_BASIC_STATS | STATX_BTIME, &facts) != 0)
        return std::nullopt;
    switch (which) {
    case TFileTimeKind::Creation:
        return ToFileTime((facts.stx_mask & STATX_BTIME) ? facts.stx_btime : facts.stx_ctime);
    case TFileTimeKind::LastAccess: return ToFileTime(facts.stx_atime);
    case TFileTimeKind::LastWrite: return ToFileTime(facts.stx_mtime);
    }
    return std::nullopt;
}

uint64_t FileTimeToLocal(uint64_t utc)
{
    if (utc < UnixEpochAsFileTime)
        return utc;
    const qint64 seconds = static_cast<qint64>((utc - UnixEpochAsFileTime) / TicksPerSecond);
    const int offset = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toLocalTime().offsetFromUtc();
    return utc + static_cast<int64_t>(offset) * static_cast<int64_t>(TicksPerSecond);
}

std::optional<int64_t> FileSizeOf(const QString& fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat facts {};
    if (fileName.isEmpty() || !CanOpenForReading(path) || stat(path.constData(), &facts) != 0 || S_ISDIR(facts.st_mode))
        return std::nullopt;
    return static_cast<int64_t>(facts.st_size);
}

namespace {

QStringList XdgDirs(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return (value.isEmpty() ? fallback : value).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QString XdgHome(const char* variable, const QString& underHome)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? QDir::homePath() + underHome : value;
}

// The value of key in [group] of a desktop-style key file; empty when absent.
QString KeyFileValue(const QString& fileName, const QString& group, const QString& key)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inGroup = line == QLatin1Char('[') + group + QLatin1Char(']');
        else if (inGroup && line.section(QLatin1Char('='), 0, 0).trimmed() == key)
            return line.section(QLatin1Char('='), 1).trimmed();
    }
    return {};
}

// The desktop entries that open mimeType, the user's choice first.
QStringList DesktopIdsFor(const QString& mimeType)
{
    QStringList lists{XdgHome("XDG_CONFIG_HOME", QStringLiteral("/.config")) + QStringLiteral("/mimeapps.list")};
    for (const QString& dir : XdgDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")))
        lists << dir + QStringLiteral("/mimeapps.list");
    const QStringList dataDirs = QStringList{XdgHome("XDG_DATA_HOME", QStringLiteral("/.local/share"))}
        + XdgDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& dir : dataDirs)
        lists << dir + QStringLiteral("/applications/mimeapps.list");
    QStringList ids;
    for (const QString& list : lists)
        ids << KeyFileValue(list, QStringLiteral("Default Applications"), mimeType).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& dir : dataDirs)
        ids << KeyFileValue(dir + QStringLiteral("/applications/mimeinfo.cache"), QStringLiteral("MIME Cache"), mimeType)
                   .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return ids;
}

// The program of a desktop entry: the first word of its Exec line, found on the path.
std::optional<QString> ProgramOfDesktopId(const QString& id)
{
    QStringList dirs{XdgHome("XDG_DATA_HOME", QStringLiteral("/.local/share"))};
    dirs << XdgDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& dir : dirs) {
        const QString entry = dir + QStringLiteral("/applications/") + id;
        if (!QFileInfo::exists(entry))
            continue;
        QString program = KeyFileValue(entry, QStringLiteral("Desktop Entry"), QStringLiteral("Exec")).section(QLatin1Char(' '), 0, 0);
        program.remove(QLatin1Char('"'));
        const QString found = program.startsWith(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
        if (!found.isEmpty() && QFileInfo(found).isExecutable())
            return found;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> FindExecutableFor(const QString& fileName, const QString& directory)
{
    if (fileName.isEmpty())
        return std::nullopt;
    const QFileInfo file(QDir(directory), fileName);
    if (!file.exists() || file.isDir())
        return std::nullopt;
    if (file.isExecutable())
        return file.absoluteFilePath();
    const QString mimeType = QMimeDatabase().mimeTypeForFile(file).name();
    for (const QString& id : DesktopIdsFor(mimeType))
        if (std::optional<QString> program = ProgramOfDesktopId(id))
            return program;
    return std::nullopt;
}

std::optional<QString> DiskUtility()
{
    for (const char* name : {"gnome-disks", "partitionmanager"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return std::nullopt;
}

} // namespace platform::system
