// Lists a folder of 10,000 files on a loopback server into the FTP browser panel, and
// fetches the same listing with the curl command-line tool, in one run; prints the
// ratio of their wall times (the server's work is part of both).
#include "../graphics/ratioreporter.h"
#include "ftptestserver.h"
#include "internet/qvftp.h"

#include <QProcess>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int EntryCount = 10000;

qvtest::FtpTestServer* gServer = nullptr;

void BM_ListIntoBrowser(benchmark::State& state)
{
    Qvftpshell::TqvFTP browser(nullptr);
    browser.Loaded();
    browser.SetHostName("127.0.0.1");
    browser.SetPort(gServer->Port());
    browser.SetLoginName(QString::fromUtf8(gServer->User()));
    browser.SetPassword(QString::fromUtf8(gServer->Password()));
    browser.SetRemoteDir(QString::fromUtf8(gServer->RemoteWorkDir()));
    if (!browser.Connect()) {
        state.SkipWithError("cannot connect");
        return;
    }
    for (auto _ : state) {
        browser.RefreshFileList();
        if (browser.FileCount() != EntryCount)
            state.SkipWithError("the listing is incomplete");
    }
    browser.Disconnect();
}

// Method: "multicwd" (curl's default: CWD into the folder, then LIST) or "nocwd"
// (LIST with the folder's path, as the FTP layer asks).
void ListWithCurlTool(benchmark::State& state, const QString& Method)
{
    const QByteArray path = gServer->RemoteWorkDir();
    const QString url = "ftp://127.0.0.1:" + QString::number(gServer->Port()) + "/%2F" + QString::fromUtf8(path.mid(1)) + "/";
    for (auto _ : state) {
        QProcess curl;
        curl.start("curl", {"-sS", "--ftp-method", Method, "--user",
                               QString::fromUtf8(gServer->User() + ':' + gServer->Password()), url});
        if (!curl.waitForFinished(120000) || curl.exitCode() != 0 || curl.readAllStandardOutput().count('\n') < EntryCount)
            state.SkipWithError("curl failed");
    }
}

void BM_ListCurlTool(benchmark::State& state) { ListWithCurlTool(state, "multicwd"); }
void BM_ListCurlToolNoCwd(benchmark::State& state) { ListWithCurlTool(state, "nocwd"); }

BENCHMARK(BM_ListIntoBrowser)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_ListCurlTool)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_ListCurlToolNoCwd)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    qvtest::FtpTestServer server(geteuid() == 0 ? qvtest::FtpServerKind::Vsftpd : qvtest::FtpServerKind::Pyftpdlib);
    if (!server.Start()) {
        std::fprintf(stderr, "bench_ftpbrowser: %s\n", qPrintable(server.Error()));
        return 1;
    }
    server.UseFreshWorkDir();
    for (int i = 0; i < EntryCount; ++i)
        server.WriteFile(QByteArray("file") + QByteArray::number(i) + (i % 3 ? ".txt" : ".dat"), QByteArray(i % 5000, 'x'));
    gServer = &server;
    std::printf("server: %s on port %d, %d files\n", qvtest::FtpServerKindName(server.Kind()), server.Port(), EntryCount);
    RatioReporter reporter(true);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios({{"BM_ListIntoBrowser", "BM_ListCurlTool"}, {"BM_ListIntoBrowser", "BM_ListCurlToolNoCwd"}});
    benchmark::Shutdown();
    return 0;
}
