#include "filelisttestfolder.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>

namespace qvtest {

bool SetModified(const QString& Path, const QDateTime& Utc)
{
    // Qt opens no folders, so the time is set by path for files and folders alike.
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(Utc.toSecsSinceEpoch()), 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(Path).constData(), times, 0) == 0;
}

TFileListFolder::TFileListFolder()
{
    const QDir dir(FDir.path());
    struct Sample {
        const char* Name;
        qint64 Size;
        QDate Date;
    };
    const Sample samples[] = {{".hidden", 10, {2022, 2, 2}}, {"A.log", 987, {2021, 5, 5}}, {"b.txt", 1234, {2020, 1, 2}},
        {"c.dat", 0, {2019, 7, 7}}, {"big.bin", 5'000'000'000, {2018, 3, 3}}};
    bool ok = FDir.isValid() && dir.mkdir(QStringLiteral("alpha")) && dir.mkdir(QStringLiteral("Beta"));
    for (const Sample& s : samples) {
        QFile file(dir.filePath(QString::fromLatin1(s.Name)));
        ok = ok && file.open(QIODevice::WriteOnly) && file.resize(s.Size);
        file.close();
        ok = ok && SetModified(file.fileName(), QDateTime(s.Date, QTime(12, 0), Qt::UTC));
    }
    ok = ok && SetModified(dir.filePath(QStringLiteral("alpha")), QDateTime({2017, 1, 1}, {12, 0}, Qt::UTC))
        && SetModified(dir.filePath(QStringLiteral("Beta")), QDateTime({2016, 1, 1}, {12, 0}, Qt::UTC));
    ok = ok && QFile::setPermissions(dir.filePath(QStringLiteral("c.dat")), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    FValid = ok;
}

} // namespace qvtest
