#include "internet/qvuploadthread.h"

#include "internet/qvftp.h"
#include "vcl/core/sysutils.h"

#include <QFileInfo>

using namespace platform::ftp;

namespace Qvftpshell {

TUploadThread::TUploadThread(TqvFTP* Owner, HINTERNET Handle, const QStringList& Files)
    : FOwner(Owner), FHandle(Handle), FFiles(Files)
{
}

TUploadThread::~TUploadThread()
{
    // Execute uses this class's members: stop it before they go.
    if (!Suspended() && !Finished()) {
        Terminate();
        WaitFor();
    }
}

void TUploadThread::Execute()
{
    for (const QString& path : std::as_const(FFiles)) {
        if (Terminated())
            break;
        UploadOne(path);
    }
    // Per-file results are not reported: the listing that follows shows what arrived.
    Synchronize([this] { FOwner->UploadComplete(); });
}

void TUploadThread::UploadOne(const QString& Path)
{
    const QString name = QFileInfo(Path).fileName();
    FOwner->LogLater(QStringLiteral("Uploading \"%1\"").arg(name));
    TqvFTP* owner = FOwner;
    FtpSetProgressCallback(FHandle, [owner, name](int64_t done, int64_t total) {
        if (total >= ProgressLogBytes)
            owner->LogLater(QStringLiteral("Uploading \"%1\": %2 of %3 KB")
                                .arg(name, vcl::FormatFloat(QStringLiteral("#,##0"), done / 1024.0L),
                                    vcl::FormatFloat(QStringLiteral("#,##0"), total / 1024.0L)));
    });
    FtpPutFileA(FHandle, Path.toUtf8().constData(), name.toUtf8().constData(), 0, 0);
    FtpSetProgressCallback(FHandle, nullptr);
}

} // namespace Qvftpshell
