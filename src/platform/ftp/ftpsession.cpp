#include "platform/ftp/ftpsession.h"

#include "platform/pathnames.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>

#include <curl/curl.h>

Q_LOGGING_CATEGORY(lcFtp, "qvkit.ftp", QtWarningMsg)

namespace platform::ftp {

namespace {

// A hostile or broken server could send an endless listing; no directory we show needs more.
constexpr qsizetype MaxListingBytes = 64 * 1024 * 1024;
constexpr char PasswordMask[] = "********";
// Deleting what a broken upload left must not hold up the thread that closes the session.
constexpr long LeftoverRemovalTimeoutMs = 1000;
// Progress reports of one transfer come at most this often (the last one always comes).
constexpr int ProgressIntervalMs = 200;
// The longest wait for the sockets of a running operation before libcurl looks again.
// libcurl 7.88 sometimes has nothing to wait for right after the server's reply to EPSV
// (the data connection is made on the next look) and, with curl_easy_perform, sleeps
// its whole 1000 ms poll then: one second lost on most listings of a reused connection.
constexpr int PollIntervalMs = 10;

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

long SecondsRoundedUp(int milliseconds)
{
    return std::max(1L, (static_cast<long>(milliseconds) + 999) / 1000);
}

bool IsSafeName(const QByteArray& name)
{
    return !name.isEmpty() && !name.contains('\r') && !name.contains('\n') && !name.contains('\0');
}

int ReplyCode(const QByteArray& reply)
{
    if (reply.size() < 3)
        return 0;
    bool ok = false;
    const int code = reply.first(3).toInt(&ok);
    return ok ? code : 0;
}

// The path of a "257" reply: the text between the first and the last double quote,
// with doubled quotes inside standing for one.
QByteArray QuotedPath(const QByteArray& reply)
{
    const qsizetype first = reply.indexOf('"');
    const qsizetype last = reply.lastIndexOf('"');
    if (first < 0 || last <= first + 1)
        return {};
    return reply.sliced(first + 1, last - first - 1).replace("\"\"", "\"");
}

// The platform's error code for how a libcurl call ended. LocalError names a failure
// of the local side found by a callback; ReplyCode is the server's last reply code.
DWORD ErrorFor(CURLcode result, DWORD localError, int replyCode)
{
    switch (result) {
    case CURLE_OK:
        return localError; // a listing may have been cut at its limit
    case CURLE_COULDNT_RESOLVE_HOST:
        return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
        return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_FTP_ACCEPT_TIMEOUT:
        return ERROR_INTERNET_TIMEOUT;
    case CURLE_LOGIN_DENIED:
        return ERROR_INTERNET_LOGIN_FAILURE;
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_SHUTDOWN_FAILED:
        return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        if (localError == ERROR_SUCCESS && replyCode < 400)
            return ERROR_INTERNET_CONNECTION_ABORTED;
        [[fallthrough]];
    default:
        if (localError != ERROR_SUCCESS)
            return localError;
        return replyCode >= 400 ? ERROR_INTERNET_EXTENDED_ERROR /* the reply tells why */ : ERROR_INTERNET_INTERNAL_ERROR;
    }
}

// What every operation of a session shares: login, timeouts, data connection and TLS.
void SetSessionOptions(CURL* curl, const FtpSessionOptions& options)
{
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    // FTP goes direct: proxy settings of a desktop name HTTP proxies, and FTP's own
    // commands cannot pass through those.
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERNAME, options.User.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, options.Password.constData());
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.ConnectTimeoutMs));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, SecondsRoundedUp(options.ResponseTimeoutMs));
    if (!options.Passive)
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-"); // the control connection's own address
    if (options.ExplicitTls) {
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, options.VerifyPeer ? 1L : 0L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, options.VerifyPeer ? 2L : 0L);
    }
}

} // namespace

struct FtpSession::Transfer {
    const FtpSession* Session = nullptr;
    QByteArray Url;
    QList<QByteArray> Quote;
    bool NoBody = false;
    QByteArray CustomRequest;
    bool Ascii = false;
    QByteArray* Listing = nullptr;
    QSaveFile* Download = nullptr;
    QFile* Upload = nullptr;
    // Commands sent after the transfer succeeded.
    QList<QByteArray> PostQuote;
    // Set by Cancel on another thread; a cleanup runs even so, bounded in time.
    const std::atomic<bool>* Cancelled = nullptr;
    bool Cleanup = false;
    FtpProgress Progress;
    QElapsedTimer SinceProgress;
    CURLcode Result = CURLE_OK;
    // Set by a callback when the local side failed, so the error names that side.
    DWORD LocalError = ERROR_SUCCESS;

    QList<QByteArray> Replies;
    QByteArray Partial;

    // Watchdog of an idle server: armed by its first reply line, restarted by every
    // further line and by every byte moved on a data connection.
    int IdleTimeoutMs = 0;
    QElapsedTimer SinceActivity;
    curl_off_t BytesMoved = 0;

    // Reply lines arrive one by one; a reply ends with the line that repeats the first
    // line's code followed by a blank ("ddd text", or "ddd-" ... "ddd " for several lines).
    void AddReplyLine(QByteArray line)
    {
        SinceActivity.start();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (Partial.isEmpty()) {
            if (ReplyCode(line) == 0)
                return; // lines curl makes up itself, not the server's
            Partial = line;
        } else {
            Partial += "\r\n" + line;
        }
        const QByteArray code = Partial.first(3);
        if (line == code || (line.startsWith(code) && line.size() > 3 && line[3] == ' ')) {
            Replies.append(Partial);
            Partial.clear();
        }
    }

    // The command lists handed to libcurl; they must outlive the transfer (see Detach).
    curl_slist* QuoteList = nullptr;
    curl_slist* PostQuoteList = nullptr;

    static curl_slist* CommandList(const QList<QByteArray>& commands)
    {
        curl_slist* list = nullptr;
        for (const QByteArray& command : commands)
            list = curl_slist_append(list, command.constData());
        return list;
    }

    // The operation itself: its URL, the commands before and after it, what it moves.
    void SetRequest(CURL* curl)
    {
        curl_easy_setopt(curl, CURLOPT_URL, Url.constData());
        QuoteList = CommandList(Quote);
        PostQuoteList = CommandList(PostQuote);
        if (QuoteList)
            curl_easy_setopt(curl, CURLOPT_QUOTE, QuoteList);
        if (PostQuoteList)
            curl_easy_setopt(curl, CURLOPT_POSTQUOTE, PostQuoteList);
        if (Cleanup)
            curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, LeftoverRemovalTimeoutMs);
        if (NoBody)
            curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        if (!CustomRequest.isEmpty())
            curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, CustomRequest.constData());
        curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, Ascii ? 1L : 0L);
        if (Upload) {
            curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
            curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(Upload->size()));
        }
    }

    // Points libcurl's callbacks at this transfer.
    void SetCallbacks(CURL* curl)
    {
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &OnProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &OnHeader);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);
        if (Upload) {
            curl_easy_setopt(curl, CURLOPT_READFUNCTION, &OnRead);
            curl_easy_setopt(curl, CURLOPT_READDATA, this);
        } else {
            curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnWrite);
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
        }
        if (lcFtp().isDebugEnabled()) {
            curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
            curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, &OnDebug);
            curl_easy_setopt(curl, CURLOPT_DEBUGDATA, this);
        }
    }

    // The transfer lives on the caller's stack frame only: the handle, kept for the next
    // operation, must not point at it afterwards.
    void Detach(CURL* curl)
    {
        for (CURLoption data : {CURLOPT_HEADERDATA, CURLOPT_WRITEDATA, CURLOPT_READDATA, CURLOPT_XFERINFODATA, CURLOPT_DEBUGDATA})
            curl_easy_setopt(curl, data, nullptr);
        curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
        curl_easy_setopt(curl, CURLOPT_POSTQUOTE, nullptr);
        curl_slist_free_all(QuoteList);
        curl_slist_free_all(PostQuoteList);
        QuoteList = PostQuoteList = nullptr;
    }

    // Tells the progress receiver, at most every ProgressIntervalMs and at the end.
    void ReportProgress(curl_off_t total, bool last)
    {
        if (!Progress || (!last && SinceProgress.isValid() && !SinceProgress.hasExpired(ProgressIntervalMs)))
            return;
        SinceProgress.start();
        Progress(BytesMoved, total);
    }

    // Every callback takes a null Self for "no transfer": libcurl may still talk to the
    // server between operations (QUIT when the handle is cleaned up).
    static size_t OnHeader(char* data, size_t size, size_t count, void* self)
    {
        if (self)
            static_cast<Transfer*>(self)->AddReplyLine(QByteArray(data, static_cast<qsizetype>(size * count)));
        return size * count;
    }

    // libcurl calls this at least once a second, also while nothing moves, so a cancel
    // is seen within a second.
    static int OnProgress(void* self, curl_off_t downloadTotal, curl_off_t downloaded, curl_off_t uploadTotal,
                          curl_off_t uploaded)
    {
        auto* transfer = static_cast<Transfer*>(self);
        if (!transfer)
            return 0;
        if (!transfer->Cleanup && transfer->Cancelled && *transfer->Cancelled) {
            transfer->LocalError = ERROR_INTERNET_OPERATION_CANCELLED;
            return 1; // ends the transfer
        }
        if (downloaded + uploaded != transfer->BytesMoved) {
            transfer->BytesMoved = downloaded + uploaded;
            transfer->SinceActivity.start();
            const curl_off_t total = transfer->Upload ? uploadTotal : downloadTotal;
            transfer->ReportProgress(total, transfer->BytesMoved == total);
        } else if (transfer->SinceActivity.isValid() && transfer->SinceActivity.hasExpired(transfer->IdleTimeoutMs)) {
            transfer->LocalError = ERROR_INTERNET_TIMEOUT;
            return 1; // ends the transfer
        }
        return 0;
    }

    static size_t OnWrite(char* data, size_t size, size_t count, void* self)
    {
        auto* transfer = static_cast<Transfer*>(self);
        const qsizetype bytes = static_cast<qsizetype>(size * count);
        if (!transfer)
            return size * count;
        if (transfer->Listing) {
            if (transfer->Listing->size() + bytes > MaxListingBytes) {
                transfer->LocalError = ERROR_INSUFFICIENT_BUFFER;
                return 0;
            }
            transfer->Listing->append(data, bytes);
        } else if (!transfer->Download || transfer->Download->write(data, bytes) != bytes) {
            transfer->LocalError = ERROR_ACCESS_DENIED;
            return 0;
        }
        return size * count;
    }

    static size_t OnRead(char* data, size_t size, size_t count, void* self)
    {
        auto* transfer = static_cast<Transfer*>(self);
        if (!transfer)
            return 0;
        const qint64 bytes = transfer->Upload->read(data, static_cast<qint64>(size * count));
        if (bytes < 0) {
            transfer->LocalError = ERROR_ACCESS_DENIED;
            return CURL_READFUNC_ABORT;
        }
        return static_cast<size_t>(bytes);
    }

    // The command exchange, for QT_LOGGING_RULES="qvkit.ftp.debug=true", password masked.
    static int OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* self)
    {
        auto* transfer = static_cast<Transfer*>(self);
        if (!transfer)
            return 0; // nothing to mask the password with: say nothing
        QByteArray text = QByteArray(data, static_cast<qsizetype>(size)).trimmed();
        if (type == CURLINFO_HEADER_OUT && text.startsWith("PASS "))
            text = QByteArray("PASS ") + PasswordMask;
        if (type == CURLINFO_TEXT || type == CURLINFO_HEADER_IN || type == CURLINFO_HEADER_OUT) {
            const char* direction = type == CURLINFO_HEADER_IN ? "<" : type == CURLINFO_HEADER_OUT ? ">" : "*";
            qCDebug(lcFtp).noquote() << direction << QString::fromUtf8(transfer->Session->Scrub(text));
        }
        return 0;
    }
};

FtpSession::FtpSession(FtpSessionOptions options) : FOptions(std::move(options))
{
    GlobalInit();
    FCurl = curl_easy_init();
    FMulti = curl_multi_init();
}

FtpSession::~FtpSession()
{
    if (FCurl)
        curl_easy_cleanup(static_cast<CURL*>(FCurl));
    // Closes the cached connection (with QUIT).
    if (FMulti)
        curl_multi_cleanup(static_cast<CURLM*>(FMulti));
}

QByteArray FtpSession::Scrub(QByteArray text) const
{
    // Servers that repeat a password may change its case; mask every spelling.
    const QByteArray password = FOptions.Password.toLower();
    if (password.isEmpty())
        return text;
    const qsizetype maskLength = qsizetype(sizeof PasswordMask) - 1;
    for (qsizetype at = text.toLower().indexOf(password); at >= 0; at = text.toLower().indexOf(password, at + maskLength))
        text.replace(at, password.size(), PasswordMask);
    return text;
}

QByteArray FtpSession::UrlFor(const QByteArray& absolutePath, bool directory) const
{
    const bool ipv6 = FOptions.Host.contains(':');
    QByteArray url = "ftp://" + (ipv6 ? '[' + FOptions.Host + ']' : FOptions.Host) + ':' + QByteArray::number(FOptions.Port) + '/';
    if (absolutePath.isEmpty())
        return url;
    // "%2F" starts the path at the server's root: libcurl then sends it as it stands.
    url += "%2F" + absolutePath.mid(1).toPercentEncoding("/");
    if (directory && !url.endsWith('/'))
        url += '/';
    return url;
}

QByteArray FtpSession::AbsolutePath(const QByteArray& name) const
{
    std::lock_guard guard(FLock);
    const QByteArray joined = name.startsWith('/') ? name : FCurrentDirectory + '/' + name;
    return CleanAbsolutePath(joined.startsWith('/') ? joined : '/' + joined);
}

FtpOutcome FtpSession::Run(Transfer& transfer)
{
    FtpOutcome outcome;
    auto* curl = static_cast<CURL*>(FCurl);
    if (!curl || !FMulti) {
        outcome.Error = ERROR_INTERNET_OUT_OF_HANDLES;
        return outcome;
    }
    transfer.Session = this;
    transfer.Cancelled = &FCancelled;
    if (FCancelled && !transfer.Cleanup) {
        outcome.Error = ERROR_INTERNET_OPERATION_CANCELLED;
        return outcome;
    }
    if (transfer.Download || transfer.Upload) {
        std::lock_guard progressGuard(FProgressLock);
        transfer.Progress = FProgress;
    }
    // A reset clears the previous operation's options but keeps the live connection.
    curl_easy_reset(curl);
    SetSessionOptions(curl, FOptions);
    // A data connection that moves nothing for as long as a reply may take has stalled.
    // libcurl's own low-speed check averages over several seconds; this watchdog does not.
    transfer.IdleTimeoutMs = FOptions.ResponseTimeoutMs;
    transfer.SetRequest(curl);
    transfer.SetCallbacks(curl);

    const auto result = static_cast<CURLcode>(Perform());
    transfer.Detach(curl);
    transfer.Result = result;

    outcome.Reply = transfer.Replies.isEmpty() ? QByteArray() : Scrub(transfer.Replies.last());
    outcome.Error = ErrorFor(result, transfer.LocalError, ReplyCode(outcome.Reply));
    if (result != CURLE_OK)
        qCDebug(lcFtp).noquote() << "failed:" << QString::fromUtf8(Scrub(curl_easy_strerror(result)));
    return outcome;
}

int FtpSession::Perform()
{
    auto* curl = static_cast<CURL*>(FCurl);
    auto* multi = static_cast<CURLM*>(FMulti);
    if (curl_multi_add_handle(multi, curl) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode result = CURLE_OK;
    for (bool done = false; !done;) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_OUT_OF_MEMORY;
            break;
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
                done = true;
            }
        }
        if (!done && curl_multi_poll(multi, nullptr, 0, PollIntervalMs, nullptr) != CURLM_OK) {
            result = CURLE_OUT_OF_MEMORY;
            break;
        }
    }
    curl_multi_remove_handle(multi, curl);
    return result;
}

FtpOutcome FtpSession::RunCommands(const QList<QByteArray>& commands, QList<QByteArray>* replies)
{
    Transfer transfer;
    transfer.Url = UrlFor({}, true);
    transfer.NoBody = true;
    transfer.Quote = commands;
    FtpOutcome outcome = Run(transfer);
    if (replies)
        *replies = transfer.Replies;
    return outcome;
}

FtpOutcome FtpSession::Open()
{
    std::lock_guard guard(FLock);
    FtpOutcome outcome = RunCommands({});
    if (outcome.Ok()) {
        char* entryPath = nullptr;
        curl_easy_getinfo(static_cast<CURL*>(FCurl), CURLINFO_FTP_ENTRY_PATH, &entryPath);
        FCurrentDirectory = entryPath && *entryPath ? QByteArray(entryPath) : QByteArray("/");
    }
    return outcome;
}

QByteArray FtpSession::CurrentDirectory() const
{
    std::lock_guard guard(FLock);
    return FCurrentDirectory;
}

FtpOutcome FtpSession::SetCurrentDirectory(const QByteArray& directory)
{
    if (!IsSafeName(directory))
        return {ERROR_INVALID_NAME, {}};
    std::lock_guard guard(FLock);
    const QByteArray target = AbsolutePath(directory);
    QList<QByteArray> replies;
    // CWD proves the directory exists; PWD tells the name the server gives it.
    FtpOutcome outcome = RunCommands({"CWD " + target, "PWD"}, &replies);
    if (outcome.Ok()) {
        const QByteArray reported = replies.isEmpty() || ReplyCode(replies.last()) != 257 ? QByteArray() : QuotedPath(replies.last());
        FCurrentDirectory = reported.startsWith('/') ? reported : target;
        if (replies.size() >= 2)
            outcome.Reply = Scrub(replies[replies.size() - 2]);
    }
    return outcome;
}

FtpOutcome FtpSession::CreateDirectory(const QByteArray& directory)
{
    if (!IsSafeName(directory))
        return {ERROR_INVALID_NAME, {}};
    std::lock_guard guard(FLock);
    return RunCommands({"MKD " + AbsolutePath(directory)});
}

FtpOutcome FtpSession::RemoveDirectory(const QByteArray& directory)
{
    if (!IsSafeName(directory))
        return {ERROR_INVALID_NAME, {}};
    std::lock_guard guard(FLock);
    return RunCommands({"RMD " + AbsolutePath(directory)});
}

FtpOutcome FtpSession::DeleteFile(const QByteArray& name)
{
    if (!IsSafeName(name))
        return {ERROR_INVALID_NAME, {}};
    std::lock_guard guard(FLock);
    return RunCommands({"DELE " + AbsolutePath(name)});
}

FtpOutcome FtpSession::RenameFile(const QByteArray& existingName, const QByteArray& newName)
{
    if (!IsSafeName(existingName) || !IsSafeName(newName))
        return {ERROR_INVALID_NAME, {}};
    std::lock_guard guard(FLock);
    return RunCommands({"RNFR " + AbsolutePath(existingName), "RNTO " + AbsolutePath(newName)});
}

FtpOutcome FtpSession::GetFile(const QByteArray& remoteName, const QString& localFile, bool failIfExists, bool ascii)
{
    if (!IsSafeName(remoteName) || localFile.isEmpty())
        return {ERROR_INVALID_NAME, {}};
    const QFileInfo local(localFile);
    if (failIfExists && local.exists())
        return {ERROR_FILE_EXISTS, {}};
    if (!local.absoluteDir().exists())
        return {ERROR_PATH_NOT_FOUND, {}};
    QSaveFile file(localFile);
    if (!file.open(QIODevice::WriteOnly))
        return {ERROR_ACCESS_DENIED, {}};

    std::lock_guard guard(FLock);
    Transfer transfer;
    transfer.Url = UrlFor(AbsolutePath(remoteName), false);
    transfer.Ascii = ascii;
    transfer.Download = &file;
    FtpOutcome outcome = Run(transfer);
    if (outcome.Ok() && !file.commit())
        outcome.Error = ERROR_ACCESS_DENIED;
    return outcome; // an uncommitted QSaveFile removes its temporary file
}

FtpOutcome FtpSession::PutFile(const QString& localFile, const QByteArray& remoteName, bool ascii)
{
    if (!IsSafeName(remoteName) || remoteName.endsWith('/'))
        return {ERROR_INVALID_NAME, {}};
    QFile file(localFile);
    if (localFile.isEmpty() || !QFileInfo(localFile).isFile())
        return {ERROR_FILE_NOT_FOUND, {}};
    if (!file.open(QIODevice::ReadOnly))
        return {ERROR_ACCESS_DENIED, {}};

    std::lock_guard guard(FLock);
    const QByteArray target = AbsolutePath(remoteName);
    const qsizetype slash = target.lastIndexOf('/');
    // A hidden name beside the target, which listings of most servers leave out.
    const QByteArray temporary = target.left(slash + 1) + ".qvpart-" + target.mid(slash + 1);
    bool renameRefused = false;
    FtpOutcome outcome = Upload(file, temporary, ascii, {"RNFR " + temporary, "RNTO " + target}, &renameRefused);
    if (outcome.Ok())
        return outcome;
    RemoveLeftover(temporary);
    // The whole file arrived but the server does not let us rename: it goes straight
    // under its name.
    if (!renameRefused || !file.seek(0))
        return outcome;
    outcome = Upload(file, target, ascii, {});
    if (outcome.Error == ERROR_INTERNET_OPERATION_CANCELLED)
        RemoveLeftover(target);
    return outcome;
}

FtpOutcome FtpSession::Upload(QFile& file, const QByteArray& absolutePath, bool ascii, const QList<QByteArray>& afterwards,
                              bool* afterwardsRefused)
{
    Transfer transfer;
    transfer.Url = UrlFor(absolutePath, false);
    transfer.Ascii = ascii;
    transfer.Upload = &file;
    transfer.PostQuote = afterwards;
    FtpOutcome outcome = Run(transfer);
    if (afterwardsRefused)
        *afterwardsRefused = transfer.Result == CURLE_QUOTE_ERROR && transfer.LocalError == ERROR_SUCCESS;
    return outcome;
}

void FtpSession::RemoveLeftover(const QByteArray& absolutePath)
{
    Transfer transfer;
    transfer.Url = UrlFor({}, true);
    transfer.NoBody = true;
    transfer.Quote = {"DELE " + absolutePath};
    transfer.Cleanup = true;
    Run(transfer);
}

void FtpSession::Cancel()
{
    FCancelled = true;
}

void FtpSession::SetProgress(FtpProgress progress)
{
    std::lock_guard guard(FProgressLock);
    FProgress = std::move(progress);
}

FtpOutcome FtpSession::ListLocked(const QByteArray& absolutePath, bool mlsd, QByteArray& data)
{
    Transfer transfer;
    transfer.Url = UrlFor(absolutePath, true);
    transfer.Listing = &data;
    if (mlsd)
        transfer.CustomRequest = "MLSD";
    return Run(transfer);
}

FtpOutcome FtpSession::List(const QByteArray& directory, std::vector<FtpEntry>& entries)
{
    entries.clear();
    if (!directory.isEmpty() && !IsSafeName(directory))
        return {ERROR_INVALID_NAME, {}};
    std::lock_guard guard(FLock);
    const QByteArray path = AbsolutePath(directory);
    QByteArray data;
    FtpOutcome outcome;
    if (!FMlsdRefused) {
        outcome = ListLocked(path, true, data);
        if (outcome.Ok()) {
            entries = ParseListing(data, ListingFormat::Mlsd, QDateTime::currentDateTimeUtc());
            return outcome;
        }
        // 500, 501, 502 and 504 say the server does not know MLSD; anything else
        // (a missing directory, say) is the answer for LIST as well.
        const int code = ReplyCode(outcome.Reply);
        if (outcome.Error != ERROR_INTERNET_EXTENDED_ERROR || (code != 500 && code != 501 && code != 502 && code != 504))
            return outcome;
        FMlsdRefused = true;
        data.clear();
    }
    outcome = ListLocked(path, false, data);
    if (outcome.Ok())
        entries = ParseListing(data, ListingFormat::List, QDateTime::currentDateTimeUtc());
    return outcome;
}

} // namespace platform::ftp
