#pragma once
// TUploadThread: uploads local files through the FTP browser's connection on a
// worker thread, so that the user interface keeps running during the transfer.
#include "platform/ftp/wininet.h"
#include "vcl/core/thread.h"

#include <QStringList>

namespace Qvftpshell {

class TqvFTP;

// The thread behind TqvFTP::Upload: uploads its files one after the other and reports
// progress and the end to the browser on the user-interface thread.
class TUploadThread : public vcl::TThread {
public:
    // Handle: the connection to upload through, taken from the owner when the
    // thread is made; Files: the local paths, uploaded in order.
    TUploadThread(TqvFTP* Owner, platform::ftp::HINTERNET Handle, const QStringList& Files);
    ~TUploadThread() override;

    // Files of at least this size get progress lines in the log.
    static constexpr int64_t ProgressLogBytes = 1024 * 1024;

protected:
    void Execute() override;

private:
    void UploadOne(const QString& Path);

    TqvFTP* FOwner;
    platform::ftp::HINTERNET FHandle;
    QStringList FFiles;
};

} // namespace Qvftpshell
