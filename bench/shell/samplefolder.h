#pragma once
// The folder the shell benchmarks list: Count empty files with eight kinds of
// extension (one kind without), made once per run in a temporary directory.
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

namespace samplefolder {

inline QString SampleFolder(int Count)
{
    static QTemporaryDir dir;
    static const bool filled = [Count] {
        const char* extensions[] = {".txt", ".png", ".cpp", ".pdf", ".html", ".tar.gz", ".mp3", ""};
        for (int i = 0; i < Count; ++i) {
            const QByteArray name = QFile::encodeName(dir.path()) + "/file" + QByteArray::number(i) + extensions[i % 8];
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0644);
            if (fd >= 0)
                ::close(fd);
        }
        return true;
    }();
    (void)filled;
    return dir.path();
}

} // namespace samplefolder
