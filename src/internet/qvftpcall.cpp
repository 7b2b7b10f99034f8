#include "internet/qvftpcall.h"

#include <QCoreApplication>
#include <atomic>
#include <thread>

using namespace platform::ftp;

namespace Qvftpshell {

namespace {

constexpr DWORD ReplyBufferSize = 256;

} // namespace

QByteArray LastServerReply()
{
    QByteArray reply(ReplyBufferSize, '\0');
    DWORD code = 0;
    DWORD length = ReplyBufferSize;
    if (!InternetGetLastResponseInfoA(&code, reply.data(), &length)) {
        // A longer reply does not fit: its last line is what matters, so ask for all of it.
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return {};
        reply.resize(length);
        if (!InternetGetLastResponseInfoA(&code, reply.data(), &length))
            return {};
    }
    reply.truncate(length);
    return reply;
}

TFtpCallResult RunFtpCall(const std::function<bool()>& Call)
{
    TFtpCallResult result;
    QCoreApplication* application = QCoreApplication::instance();
    std::atomic<bool> done = false;
    std::thread worker([&] {
        result.Ok = Call();
        result.Error = GetLastError();
        result.Reply = LastServerReply();
        done = true;
        // Wakes the loop below, which may be waiting for events.
        if (application)
            QMetaObject::invokeMethod(application, [] {}, Qt::QueuedConnection);
    });
    while (application && !done)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    worker.join();
    // The caller reads the outcome as if it had made the call itself.
    SetLastError(result.Error);
    return result;
}

} // namespace Qvftpshell
