#pragma once
// Calls of the FTP layer made away from the user-interface thread: a hung server must
// not freeze the user interface for the length of its time-out.
#include "platform/ftp/wininet.h"

#include <QByteArray>
#include <functional>

namespace Qvftpshell {

// What a call left behind on its thread: its result, the thread's last error and the
// server's last reply (empty when the call never reached the server).
struct TFtpCallResult {
    bool Ok = false; // What the call returned.
    platform::ftp::DWORD Error = 0; // The thread's GetLastError() after the call.
    QByteArray Reply; // The server's last reply; empty when none came.
};

// The calling thread's last server reply, whatever its length.
QByteArray LastServerReply();

// Runs Call on a thread of its own and serves the calling thread's events until it has
// ended, so that timers, painting and input go on meanwhile. Call must not touch
// anything those events may destroy (a control closed meanwhile): it gets copies.
TFtpCallResult RunFtpCall(const std::function<bool()>& Call);

} // namespace Qvftpshell
