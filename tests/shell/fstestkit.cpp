#include "fstestkit.h"

#include "platform/notify/changenotification.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qvtest {

using namespace platform::notify;

namespace {

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

// Fails the current test with the call and errno when a system call failed.
void Check(int result, const char* what, const QString& path)
{
    if (result < 0)
        ADD_FAILURE() << what << " " << path.toStdString() << ": " << std::strerror(errno);
}

void WriteBytes(const QString& path, int flags)
{
    const int fd = open(Native(path).constData(), flags, 0644);
    Check(fd, "open", path);
    if (fd < 0)
        return;
    Check(static_cast<int>(write(fd, "data", 4)), "write", path);
    close(fd);
}

void Rename(const QString& from, const QString& to)
{
    Check(rename(Native(from).constData(), Native(to).constData()), "rename", from);
}

} // namespace

int OpenDescriptorCount()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                .size());
}

int InotifyWatchCount()
{
    int watches = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QByteArray link = QFile::encodeName(fds.filePath(fd));
        char target[64] = {};
        if (readlink(link.constData(), target, sizeof target - 1) < 0 || std::strcmp(target, "anon_inode:inotify") != 0)
            continue;
        QFile info(QStringLiteral("/proc/self/fdinfo/") + fd);
        if (!info.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : info.readAll().split('\n'))
            watches += line.startsWith("inotify wd:") ? 1 : 0;
    }
    return watches;
}

void MakeFile(const QString& path)
{
    const int fd = open(Native(path).constData(), O_CREAT | O_WRONLY | O_EXCL, 0644);
    Check(fd, "create", path);
    if (fd >= 0)
        close(fd);
}

void MakeDirectory(const QString& path)
{
    Check(mkdir(Native(path).constData(), 0755), "mkdir", path);
}

const std::vector<FolderChange>& FolderChanges()
{
    const auto in = [](const QString& folder, const char* name) { return folder + QLatin1Char('/') + QLatin1String(name); };
    const auto file = [in](const QString& folder) { MakeFile(in(folder, "file")); };
    const auto directory = [in](const QString& folder) { MakeDirectory(in(folder, "dir")); };
    const auto nothing = [](const QString&) {};
    static const std::vector<FolderChange> changes = {
        {"file created", nothing, file, FILE_NOTIFY_CHANGE_FILE_NAME},
        {"file renamed", file,
         [in](const QString& f) { Rename(in(f, "file"), in(f, "renamed")); },
         FILE_NOTIFY_CHANGE_FILE_NAME},
        {"file deleted", file, [in](const QString& f) { Check(unlink(Native(in(f, "file")).constData()), "unlink", f); },
         FILE_NOTIFY_CHANGE_FILE_NAME},
        {"directory created", nothing, directory, FILE_NOTIFY_CHANGE_DIR_NAME},
        {"directory renamed", directory,
         [in](const QString& f) { Rename(in(f, "dir"), in(f, "moved")); },
         FILE_NOTIFY_CHANGE_DIR_NAME},
        {"directory removed", directory, [in](const QString& f) { Check(rmdir(Native(in(f, "dir")).constData()), "rmdir", f); },
         FILE_NOTIFY_CHANGE_DIR_NAME},
        {"mode changed", file, [in](const QString& f) { Check(chmod(Native(in(f, "file")).constData(), 0600), "chmod", f); },
         FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY},
        {"timestamps set", file,
         [in](const QString& f) { Check(utimensat(AT_FDCWD, Native(in(f, "file")).constData(), nullptr, 0), "utimensat", f); },
         FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY},
        {"file written", file, [in](const QString& f) { WriteBytes(in(f, "file"), O_WRONLY | O_APPEND); },
         FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE},
        {"file truncated", [in](const QString& f) { WriteBytes(in(f, "file"), O_WRONLY | O_CREAT); },
         [in](const QString& f) { Check(truncate(Native(in(f, "file")).constData(), 1), "truncate", f); },
         FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE},
    };
    return changes;
}

} // namespace qvtest
