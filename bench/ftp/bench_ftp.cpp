// Uploads and downloads one 200 MB file over loopback, with the FTP layer and with the
// curl command-line tool, against the same server in one run. vsftpd serves when the
// benchmark runs as root, pyftpdlib otherwise. The files live in temporary folders.
#include "ftptestserver.h"
#include "platform/ftp/wininet.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <unistd.h>

using namespace platform::ftp;

namespace {

constexpr qint64 FileSize = 200LL * 1024 * 1024;

qvtest::FtpTestServer* gServer = nullptr;
HINTERNET gConnection = nullptr;
QString gSource;   // the file to upload, also the server's copy to download
QString gDownload; // where downloads go

bool MakeSourceFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk(1024 * 1024, Qt::Uninitialized);
    for (qint64 written = 0; written < FileSize; written += chunk.size()) {
        for (qsizetype i = 0; i < chunk.size(); ++i)
            chunk[i] = static_cast<char>((i * 31 + written / chunk.size()) & 0xFF);
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

QString Url(const QByteArray& name)
{
    QByteArray path = gServer->RemoteWorkDir();
    if (!path.endsWith('/'))
        path += '/';
    // "%2F" starts the path at the server's root.
    return "ftp://127.0.0.1:" + QString::number(gServer->Port()) + "/%2F" + QString::fromUtf8(path.mid(1) + name);
}

void RunCurl(benchmark::State& state, const QStringList& arguments, const QString& expectedFile)
{
    QProcess curl;
    curl.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    curl.start("curl", QStringList{"-sS", "--user", QString::fromUtf8(gServer->User() + ':' + gServer->Password())} + arguments);
    if (!curl.waitForFinished(120000) || curl.exitCode() != 0 || QFileInfo(expectedFile).size() != FileSize)
        state.SkipWithError("curl failed");
}

void SetRate(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize);
}

void BM_UploadLayer(benchmark::State& state)
{
    for (auto _ : state)
        if (!FtpPutFileA(gConnection, QFile::encodeName(gSource).constData(), "up-layer.bin", 0, 0)
            || QFileInfo(gServer->LocalPath("up-layer.bin")).size() != FileSize)
            state.SkipWithError("FtpPutFileA failed");
    SetRate(state);
}

void BM_UploadCurlTool(benchmark::State& state)
{
    for (auto _ : state)
        RunCurl(state, {"-T", gSource, Url("up-curl.bin")}, gServer->LocalPath("up-curl.bin"));
    SetRate(state);
}

void BM_DownloadLayer(benchmark::State& state)
{
    for (auto _ : state)
        if (!FtpGetFileA(gConnection, "source.bin", QFile::encodeName(gDownload).constData(), false, 0, 0, 0)
            || QFileInfo(gDownload).size() != FileSize)
            state.SkipWithError("FtpGetFileA failed");
    SetRate(state);
}

void BM_DownloadCurlTool(benchmark::State& state)
{
    for (auto _ : state)
        RunCurl(state, {"-o", gDownload, Url("source.bin")}, gDownload);
    SetRate(state);
}

BENCHMARK(BM_UploadLayer)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UploadCurlTool)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DownloadLayer)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DownloadCurlTool)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    qvtest::FtpTestServer server(geteuid() == 0 ? qvtest::FtpServerKind::Vsftpd : qvtest::FtpServerKind::Pyftpdlib);
    if (!server.Start()) {
        std::fprintf(stderr, "bench_ftp: %s\n", qPrintable(server.Error()));
        return 1;
    }
    gServer = &server;
    gSource = server.LocalPath("source.bin");
    gDownload = server.LocalWorkDir() + "/../download.bin";
    if (!MakeSourceFile(gSource)) {
        std::fprintf(stderr, "bench_ftp: cannot write the 200 MB file\n");
        return 1;
    }
    std::printf("server: %s on port %d\n", qvtest::FtpServerKindName(server.Kind()), server.Port());

    HINTERNET root = InternetOpenA("bench_ftp", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    gConnection = InternetConnectA(root, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()), server.User().constData(),
                                   server.Password().constData(), INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
    if (!gConnection || !FtpSetCurrentDirectoryA(gConnection, server.RemoteWorkDir().constData())) {
        std::fprintf(stderr, "bench_ftp: cannot connect (error %u)\n", GetLastError());
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    InternetCloseHandle(root);
    return 0; // the server stops and its temporary folder goes with `server`
}
