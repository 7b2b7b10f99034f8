#include "platform/shell/trashcan.h"

#include "platform/shell/shelllocations.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::shell {

namespace {

QString ErrnoText(const QByteArray& path)
{
    return QStringLiteral("%1: %2").arg(QFile::decodeName(path), QString::fromLocal8Bit(std::strerror(errno)));
}

bool MakeFolder(const QByteArray& path)
{
    return ::mkdir(path.constData(), 0700) == 0 || errno == EEXIST;
}

// Creates <name>.trashinfo exclusively, trying "name", "name.2", "name.3"... until a
// free one is found; the record is complete on disk before the function returns.
bool WriteRecord(const QByteArray& trash, const QByteArray& path, QByteArray& name, QString* error)
{
    const QByteArray base = path.mid(path.lastIndexOf('/') + 1);
    const QByteArray record = "[Trash Info]\nPath=" + path.toPercentEncoding("/") + "\nDeletionDate="
        + QDateTime::currentDateTime().toString(Qt::ISODate).left(19).toLatin1() + '\n';
    for (int attempt = 1; attempt < 10000; ++attempt) {
        name = attempt == 1 ? base : base + '.' + QByteArray::number(attempt);
        const QByteArray info = trash + "/info/" + name + ".trashinfo";
        const int fd = ::open(info.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        struct stat existing {};
        if (fd >= 0 && ::lstat((trash + "/files/" + name).constData(), &existing) == 0) {
            ::close(fd);
            ::unlink(info.constData()); // an orphan in files/ holds this name
            continue;
        }
        const bool written = fd >= 0 && ::write(fd, record.constData(), size_t(record.size())) == record.size()
            && ::fsync(fd) == 0;
        if (fd >= 0 && (::close(fd) != 0 || !written))
            ::unlink(info.constData());
        if (fd < 0 || !written) {
            *error = ErrnoText(info);
            return false;
        }
        return true;
    }
    *error = QStringLiteral("No free name in the trash for %1").arg(QFile::decodeName(base));
    return false;
}

} // namespace

bool MoveToTrash(const QByteArray& rawPath, QByteArray* trashName, QString* error)
{
    QString ignored;
    QString& reason = error ? *error : ignored;
    const QByteArray path = CleanAbsolutePath(rawPath);
    const QByteArray trash = TrashPath();
    struct stat info {};
    if (path.isEmpty() || path == "/" || ::lstat(path.constData(), &info) != 0) {
        reason = ErrnoText(rawPath);
        return false;
    }
    if (IsUnder(trash, path)) {
        reason = QStringLiteral("%1 holds the trash itself").arg(QFile::decodeName(path));
        return false;
    }
    if (!QDir().mkpath(QFile::decodeName(trash.left(trash.lastIndexOf('/')))) || !MakeFolder(trash) || !MakeFolder(trash + "/files")
        || !MakeFolder(trash + "/info")) {
        reason = ErrnoText(trash);
        return false;
    }
    QByteArray name;
    if (!WriteRecord(trash, path, name, &reason))
        return false;
    if (::renameat2(AT_FDCWD, path.constData(), AT_FDCWD, (trash + "/files/" + name).constData(), RENAME_NOREPLACE) != 0) {
        reason = ErrnoText(path);
        ::unlink((trash + "/info/" + name + ".trashinfo").constData());
        return false;
    }
    if (trashName)
        *trashName = name;
    return true;
}

QByteArray TrashedOrigin(const QByteArray& trashName, QString* error)
{
    QString ignored;
    QString& reason = error ? *error : ignored;
    const QByteArray info = TrashPath() + "/info/" + trashName + ".trashinfo";
    // Read by bytes: the record's name may not be UTF-8.
    const int fd = ::open(info.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = ErrnoText(info);
        return {};
    }
    QByteArray record(8192, '\0');
    const ssize_t got = ::read(fd, record.data(), size_t(record.size()));
    ::close(fd);
    record.truncate(std::max<ssize_t>(got, 0));
    QByteArray origin;
    for (const QByteArray& line : record.split('\n'))
        if (line.startsWith("Path="))
            origin = CleanAbsolutePath(QByteArray::fromPercentEncoding(line.mid(5)));
    if (origin.isEmpty() || origin == "/") {
        reason = QStringLiteral("The trash record of %1 names no place").arg(QFile::decodeName(trashName));
        return {};
    }
    return origin;
}

bool RestoreFromTrash(const QByteArray& trashName, QString* error)
{
    QString ignored;
    QString& reason = error ? *error : ignored;
    const QByteArray trash = TrashPath();
    if (trashName.isEmpty() || trashName.contains('/') || trashName == "." || trashName == "..") {
        reason = QStringLiteral("Not a name in the trash");
        return false;
    }
    const QByteArray info = trash + "/info/" + trashName + ".trashinfo";
    const QByteArray origin = TrashedOrigin(trashName, &reason);
    if (origin.isEmpty())
        return false;
    if (::renameat2(AT_FDCWD, (trash + "/files/" + trashName).constData(), AT_FDCWD, origin.constData(), RENAME_NOREPLACE) != 0) {
        reason = ErrnoText(origin);
        return false;
    }
    ::unlink(info.constData());
    return true;
}

} // namespace platform::shell
