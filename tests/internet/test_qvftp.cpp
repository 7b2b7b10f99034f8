// TqvFTP and TqvFTPButton against a pyftpdlib server on loopback.
#include "controls/waituntil.h"
#include "ftptesthelpers.h"
#include "internet/qvftpbutton.h"
#include "internet/qvuploadthread.h"
#include "package/package.h"
#include "support/prerequisite.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/dropfiles.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/menus.h"
#include "vcl/core/sysutils.h"
#include "vcl/streaming/formfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeDatabase>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTimer>

using namespace Qvftpshell;
using namespace qvtest;
using namespace vcl;

namespace {

QString Text(const QByteArray& bytes) { return QString::fromUtf8(bytes); }

// Points a browser or a button at a test server's work folder.
void PointAt(TFtpServerSettings& Settings, const FtpTestServer& Server)
{
    Settings.SetHostName("127.0.0.1");
    Settings.SetPort(Server.Port());
    Settings.SetLoginName(Text(Server.User()));
    Settings.SetPassword(Text(Server.Password()));
    Settings.SetRemoteDir(Text(Server.RemoteWorkDir()));
}

// A browser on one server, with its log and error lines collected (so no dialog shows).
class Browser {
public:
    explicit Browser(FtpTestServer& Server)
    {
        FFtp.OnDisplayMessage = [this](TObject*, const QString& text, bool isError) { (isError ? Errors : Log).append(text); };
        PointAt(FFtp, Server);
        FFtp.Loaded();
    }

    TqvFTP* operator->() { return &FFtp; }
    TqvFTP& Ftp() { return FFtp; }

    QStringList Captions()
    {
        QStringList captions;
        for (int i = 0; i < FFtp.ListView()->Items()->Count(); ++i)
            captions << FFtp.ListView()->Items()->Item(i)->Caption();
        return captions;
    }

    TListItem* Row(const QString& Caption)
    {
        for (int i = 0; i < FFtp.ListView()->Items()->Count(); ++i)
            if (FFtp.ListView()->Items()->Item(i)->Caption() == Caption)
                return FFtp.ListView()->Items()->Item(i);
        return nullptr;
    }

    // Selects the row and returns it (null when there is none).
    TListItem* Select(const QString& Caption)
    {
        TListItem* row = Row(Caption);
        FFtp.ListView()->SetSelected(row);
        return row;
    }

    void ClickColumn(int Index) { FFtp.ListView()->OnColumnClick(nullptr, FFtp.ListView()->Columns()->Items(Index)); }

    QStringList Log;
    QStringList Errors;

private:
    TqvFTP FFtp{nullptr};
};

// A timer on the user-interface thread that ticks every 10 ms and remembers the largest
// gap between two ticks: a frozen user interface shows as a large gap.
class Heartbeat {
public:
    // Act runs on every tick.
    explicit Heartbeat(std::function<void()> Act) : FAct(std::move(Act))
    {
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            FLargestGap = std::max(FLargestGap, FSinceTick.restart());
            FAct();
        });
        FSinceTick.start();
        FTimer.start(10);
    }
    qint64 LargestGap() const { return FLargestGap; }

private:
    std::function<void()> FAct;
    QTimer FTimer;
    QElapsedTimer FSinceTick;
    qint64 FLargestGap = 0;
};

// How long a stalled server holds a listing before the test releases it, and the
// largest gap between heartbeats allowed meanwhile (generous: the machine is shared).
constexpr qint64 StallMs = 1500;
constexpr qint64 LargestGapMs = StallMs / 2;

class FtpBrowser : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString reason;
        FServer = SharedFtpServer(FtpServerKind::Pyftpdlib, reason);
        if (!FServer)
            QV_PREREQUISITE_MISSING(reason.toStdString());
    }

    static void TearDownTestSuite() { StopSharedFtpServers(); }

    // A server of its own, for tests that slow it down or kill it.
    std::unique_ptr<FtpTestServer> OwnServer(const std::function<void(FtpTestServer&)>& Prepare)
    {
        auto server = std::make_unique<FtpTestServer>(FtpServerKind::Pyftpdlib);
        Prepare(*server);
        if (!server->Start())
            ADD_FAILURE() << "missing prerequisite: " << server->Error().toStdString();
        server->UseFreshWorkDir();
        return server;
    }

    QString LocalFile(const QString& Name, const QByteArray& Content)
    {
        const QString path = FLocal.filePath(Name);
        WriteAll(path, Content);
        return path;
    }

    FtpTestServer* FServer = nullptr;
    QTemporaryDir FLocal;
};

TEST_F(FtpBrowser, BothControlsPublishTheServerSettingsAndReadThemBack)
{
    Package::LoadPackage();
    TForm form(nullptr);
    form.SetName("Form1");
    auto* ftp = new TqvFTP(&form);
    auto* button = new TqvFTPButton(&form);
    button->SetParent(&form);
    ftp->SetName("Ftp1");
    button->SetName("Button1");
    EXPECT_EQ(ftp->VersionString(), "1.01.00 ");
    for (TFtpServerSettings* settings : {static_cast<TFtpServerSettings*>(ftp), static_cast<TFtpServerSettings*>(button)}) {
        EXPECT_EQ(settings->HostName(), "localhost");
        EXPECT_EQ(settings->LoginName(), "anonymous");
        EXPECT_EQ(settings->Port(), 21);
        EXPECT_TRUE(settings->Passive());
        settings->SetHostName("ftp.example");
        settings->SetLoginName("me");
        settings->SetPassword("it's");
        settings->SetPort(2121);
        settings->SetPassive(false);
        settings->SetRemoteDir("/pub");
    }
    const QString text = ComponentToText(&form);
    TForm copy(nullptr);
    TextToComponent(text, &copy);
    for (const char* name : {"Ftp1", "Button1"}) {
        SCOPED_TRACE(name);
        qsizetype at = text.indexOf(QString("object %1: ").arg(name));
        for (const char* line : {"HostName = 'ftp.example'", "LoginName = 'me'", "Password = 'it''s'", "Port = 2121",
                 "Passive = False", "RemoteDir = '/pub'"}) {
            at = text.indexOf(line, at);
            EXPECT_GE(at, 0) << line << " in this order in\n" << text.toStdString();
        }
        auto* read = dynamic_cast<TFtpServerSettings*>(copy.FindComponent(name));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->HostName(), "ftp.example");
        EXPECT_EQ(read->LoginName(), "me");
        EXPECT_EQ(read->Password(), "it's");
        EXPECT_EQ(read->Port(), 2121);
        EXPECT_FALSE(read->Passive());
        EXPECT_EQ(read->RemoteDir(), "/pub");
    }
}

// Missing settings are refused in order; an absent server or folder is reported.
TEST_F(FtpBrowser, ConnectRefusesMissingSettingsAndReportsAbsentServersAndFolders)
{
    struct Case {
        QString Host, Login, Password, Message;
    } cases[] = {
        {"", "", "", "HostName must be specified"},
        {"h", "", "", "LoginName must be specified"},
        {"h", "u", "", "Password must be specified"},
    };
    for (const Case& c : cases) {
        Browser browser(*FServer);
        SCOPED_TRACE(c.Message.toStdString());
        try {
            browser->ConnectTo(c.Host, c.Login, c.Password);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
        EXPECT_FALSE(browser->Connected());
    }

    // A missing remote folder leaves it connected with an empty list.
    Browser browser(*FServer);
    browser->SetRemoteDir("/no/such/folder");
    EXPECT_FALSE(browser->Connect());
    EXPECT_TRUE(browser->Connected());
    EXPECT_EQ(browser->ListView()->Items()->Count(), 0);
    ASSERT_EQ(browser.Errors.size(), 1);
    EXPECT_TRUE(browser.Errors[0].startsWith("550")) << browser.Errors[0].toStdString();
    browser->Disconnect();

    // A server that is not there gives the browser's own message and no connection.
    QTcpServer closed; // a port that was free a moment ago and is closed again
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const int port = closed.serverPort();
    closed.close();
    browser->SetPort(port);
    browser.Errors.clear();
    EXPECT_FALSE(browser->Connect());
    EXPECT_FALSE(browser->Connected());
    EXPECT_EQ(browser.Errors, QStringList{"Could not connect to 127.0.0.1"});
    EXPECT_EQ(browser.Log.last(), "Not connected");
}

TEST_F(FtpBrowser, ListsSizesTotalsDatesAndTypes)
{
    FServer->WriteFile("empty.qvzz", "");
    FServer->WriteFile("half.txt", QByteArray(1536, 'x'));
    FServer->WriteFile("big.qvbig", QByteArray(5000000, 'b'));
    FServer->MakeDir("plain");
    FServer->MakeDir("odd.qvzz");
    SetModificationTime(FServer->LocalPath("half.txt"), QDateTime(QDate(2024, 1, 5), QTime(12, 34, 56), Qt::UTC));
    // UTF-8 lead bytes, by hand: "B" 42 < "b" 62 < U+00E9 C3 < U+FF21 EF < U+1F600 F0.
    // UTF-16 would put U+1F600 (surrogates D83D DE00) before U+FF21.
    const QStringList sortedByBytes = {"B.txt", "b.txt", "big.qvbig", "empty.qvzz", "half.txt",
        QString::fromUtf8("\u00e9.txt"), QString::fromUtf8("\uff21.txt"), QString::fromUtf8("\U0001F600.txt")};
    for (const QString& name : {sortedByBytes[0], sortedByBytes[1], sortedByBytes[5], sortedByBytes[6], sortedByBytes[7]})
        FServer->WriteFile(name.toUtf8(), "x");
    Browser browser(*FServer);
    ASSERT_TRUE(browser->Connect());

    // Folders first, each group by its UTF-8 bytes; ".." first of all.
    EXPECT_EQ(browser.Captions(), QStringList({"..", "odd.qvzz", "plain"}) + sortedByBytes);
    const QMimeDatabase mime;
    const QString folderType = mime.mimeTypeForName("inode/directory").comment();
    const QString textType = mime.mimeTypeForFile("x.txt", QMimeDatabase::MatchExtension).comment();
    struct Row {
        QString Caption, SizeText;
        int64_t Size;
        bool IsDirectory;
        QString Type;
    } rows[] = {
        // Sizes worked out by hand: 0 B -> 1 KB; 1536 / 1024 = 1.5 -> text 2, Size 1;
        // 5,000,000 / 1024 = 4882.8125 -> text 4,883, Size 4882.
        {"..", "", 0, true, ""},
        {"odd.qvzz", "", -1, true, "QVZZ file"},
        {"plain", "", -1, true, folderType},
        {"big.qvbig", "4,883 KB", 4882, false, "QVBIG file"},
        {"empty.qvzz", "1 KB", 1, false, "QVZZ file"},
        {"half.txt", "2 KB", 1, false, textType},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Caption.toStdString());
        TListItem* item = browser.Row(row.Caption);
        ASSERT_NE(item, nullptr);
        ASSERT_EQ(item->SubItems().Count(), 3);
        EXPECT_EQ(item->SubItems()[0], row.SizeText);
        EXPECT_EQ(browser->FileData(item)->Size, row.Size);
        EXPECT_EQ(browser->FileData(item)->IsDirectory, row.IsDirectory);
        if (row.Caption != "..") {
            EXPECT_EQ(item->SubItems()[2], row.Type);
        }
    }
    EXPECT_EQ(browser.Row("half.txt")->SubItems()[1], "1/5/2024 12:34:56"); // the server's UTC time as it stands
    // Three files above and five of one byte each.
    EXPECT_EQ(browser->FileCount(), 8);
    EXPECT_EQ(browser->TotalSize(), 5001541);
    EXPECT_EQ(browser.Log.last(), "Transfer completed (5,001,541 bytes in 8 files)");
}

// One listing's texts object remembers sizes by half kilobyte and dates by second; a
// value on either side of each border must still read as formatted afresh.
TEST(FtpEntryTexts, RememberedTextsMatchTheirOwnValueAtEveryBorder)
{
    TEntryTexts texts;
    // Worked out by hand: n / 1024 rounded, halves away from zero, at least 1; 2^50
    // bytes = 1,099,511,627,776 KB exactly, 2^50 - 1 rounds up to it.
    const struct {
        uint64_t Bytes;
        int64_t Kilobytes;
        const char* Text;
    } sizes[] = {
        {0, 1, "1 KB"}, {511, 1, "1 KB"}, {1535, 1, "1 KB"}, {1536, 1, "2 KB"}, {1535, 1, "1 KB"},
        {2559, 2, "2 KB"}, {2560, 2, "3 KB"}, {1264197120, 1234567, "1,234,568 KB"},
        {(uint64_t(1) << 50) - 1, 1099511627775, "1,099,511,627,776 KB"},
        {uint64_t(1) << 50, 1099511627776, "1,099,511,627,776 KB"},
    };
    for (const auto& c : sizes) {
        const TSizeText size = texts.Size(c.Bytes);
        EXPECT_EQ(size.Kilobytes, c.Kilobytes) << c.Bytes;
        EXPECT_EQ(size.Text, QString::fromLatin1(c.Text)) << c.Bytes;
    }
    // 2024-01-05 12:34:56 UTC in 100 ns ticks since 1601 (Python's calendar.timegm
    // plus the 1601 offset): 133489316960000000.
    const uint64_t second = 133489316960000000ULL;
    const struct {
        uint64_t Ticks;
        const char* Text;
    } dates[] = {
        {second, "1/5/2024 12:34:56"}, {second + 9990000, "1/5/2024 12:34:56"},
        {second + 10000000, "1/5/2024 12:34:57"}, {0, ""}, {second, "1/5/2024 12:34:56"},
    };
    for (const auto& c : dates) {
        const platform::FILETIME time{platform::DWORD(c.Ticks & 0xffffffffU), platform::DWORD(c.Ticks >> 32)};
        EXPECT_EQ(texts.Date(time), QString::fromLatin1(c.Text)) << c.Ticks;
    }
}

TEST_F(FtpBrowser, TheRootHasNoParentRowAndTheParentRowCannotBeDeletedOrRenamed)
{
    FServer->WriteFile("a.txt", "a");
    Browser browser(*FServer);
    ASSERT_TRUE(browser->Connect());
    browser.Select("..");
    browser->MyPopupMenuOnPopup(nullptr);
    EXPECT_FALSE(browser->MenuItem(TqvFTP::mcDelete)->Enabled());
    EXPECT_FALSE(browser->MenuItem(TqvFTP::mcRename)->Enabled());
    EXPECT_FALSE(browser->MenuItem(TqvFTP::mcGet)->Enabled());
    EXPECT_TRUE(browser->MenuItem(TqvFTP::mcNewFolder)->Enabled());
    browser.Select("a.txt");
    browser->MyPopupMenuOnPopup(nullptr);
    EXPECT_TRUE(browser->MenuItem(TqvFTP::mcDelete)->Enabled());
    EXPECT_TRUE(browser->MenuItem(TqvFTP::mcRename)->Enabled());

    // Up through "..": the server's root lists no parent row.
    browser.Select("..");
    browser->DoDblClick(nullptr);
    EXPECT_FALSE(browser.Captions().contains(".."));
    EXPECT_TRUE(browser.Captions().contains(Text(FServer->RemoteWorkDir().mid(1))));
    EXPECT_TRUE(browser.Errors.isEmpty()) << browser.Errors.join('\n').toStdString();
}

TEST_F(FtpBrowser, ColumnClicksReverseTheOrderMenuCommandsDoNotAndViewsSwitch)
{
    FServer->WriteFile("b.txt", QByteArray(3000, 'b'));
    FServer->WriteFile("a.txt", QByteArray(9000, 'a'));
    FServer->WriteFile("c.txt", QByteArray(10, 'c'));
    FServer->MakeDir("dir");
    SetModificationTime(FServer->LocalPath("b.txt"), QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC));
    SetModificationTime(FServer->LocalPath("a.txt"), QDateTime(QDate(2022, 1, 1), QTime(0, 0), Qt::UTC));
    SetModificationTime(FServer->LocalPath("c.txt"), QDateTime(QDate(2021, 1, 1), QTime(0, 0), Qt::UTC));
    SetModificationTime(FServer->LocalPath("dir"), QDateTime(QDate(2019, 1, 1), QTime(0, 0), Qt::UTC));
    Browser browser(*FServer);
    ASSERT_TRUE(browser->Connect());
    const QStringList byName = {"..", "dir", "a.txt", "b.txt", "c.txt"};
    EXPECT_EQ(browser.Captions(), byName);

    browser->OrderByName(nullptr);
    EXPECT_EQ(browser.Captions(), byName) << "the menu keeps the direction";
    browser.ClickColumn(TqvFTP::colName);
    EXPECT_EQ(browser.Captions(), QStringList({"c.txt", "b.txt", "a.txt", "dir", ".."}));
    browser.ClickColumn(TqvFTP::colName);
    EXPECT_EQ(browser.Captions(), byName);

    // Size: folders (-1) before the parent row (0); 10 B -> 1, 3000 B -> 2, 9000 B -> 8.
    browser.ClickColumn(TqvFTP::colSize);
    EXPECT_EQ(browser->OrderBy(), sbSize);
    EXPECT_EQ(browser.Captions(), QStringList({"dir", "..", "c.txt", "b.txt", "a.txt"}));
    EXPECT_TRUE(browser->MenuItem(TqvFTP::mcOrder)->Items(0)->Checked()) << "a column click leaves the menu's mark";
    // Date: the parent row has none and comes first.
    browser->OrderByDate(nullptr);
    EXPECT_EQ(browser.Captions(), QStringList({"..", "dir", "b.txt", "c.txt", "a.txt"}));
    EXPECT_TRUE(browser->MenuItem(TqvFTP::mcOrder)->Items(2)->Checked());
    browser.ClickColumn(TqvFTP::colDate);
    EXPECT_EQ(browser.Captions(), QStringList({"a.txt", "c.txt", "b.txt", "dir", ".."}));

    // The view commands switch the style and move the menu's mark.
    struct Case {
        void (TqvFTP::*Command)(TObject*);
        TViewStyle Style;
    } cases[] = {{&TqvFTP::ViewLargeIcons, vsIcon}, {&TqvFTP::ViewSmallIcons, vsSmallIcon}, {&TqvFTP::ViewList, vsList},
        {&TqvFTP::ViewReport, vsReport}};
    for (const Case& c : cases) {
        (browser.Ftp().*c.Command)(nullptr);
        EXPECT_EQ(browser->ListView()->ViewStyle(), c.Style);
        EXPECT_TRUE(browser->MenuItem(TqvFTP::mcView)->Items(int(c.Style))->Checked());
    }
}

TEST_F(FtpBrowser, DownloadsGoWhereTheHandlerOrTheDialogSays)
{
    FServer->WriteFile("data.bin", PatternBytes(70000, 3));
    FServer->MakeDir("folder");
    const QStringList unsafeNames = {"back\\slash.txt", "..hidden", "a..b"};
    for (const QString& name : unsafeNames)
        FServer->WriteFile(name.toUtf8(), "secret");
    Browser browser(*FServer);
    ASSERT_TRUE(browser->Connect());

    browser.Select("folder");
    EXPECT_FALSE(browser->CanDownLoad());
    EXPECT_FALSE(browser->DownLoadSelected());

    // No handler: the save dialog, preset with the remote name, is cancelled.
    QString preset;
    TOpenDialog::SetResponder([&](TOpenDialog* dialog) {
        preset = dialog->FileName();
        return false;
    });
    const auto restore = qScopeGuard([] { TOpenDialog::SetResponder(nullptr); });
    browser.Select("data.bin");
    EXPECT_TRUE(browser->DownLoadSelected());
    EXPECT_EQ(preset, "data.bin");
    EXPECT_TRUE(QDir(FLocal.path()).entryList(QDir::Files).isEmpty());

    const QString target = FLocal.filePath("copy.bin");
    browser->OnGetLocalFile = [&](TObject*, const QString& remote, QString& local) {
        EXPECT_EQ(remote, "data.bin");
        local = target;
    };
    EXPECT_TRUE(browser->DownLoadSelected());
    EXPECT_EQ(ReadAll(target), PatternBytes(70000, 3));
    QFile::remove(target);
    int doubleClicks = 0;
    browser->OnDblClick = [&](TObject*) { ++doubleClicks; };
    browser->DoDblClick(nullptr); // a file row with a handler downloads as well
    EXPECT_EQ(ReadAll(target), PatternBytes(70000, 3));
    EXPECT_EQ(doubleClicks, 1);

    // Names that would leave the chosen folder are refused.
    int asked = 0;
    browser->OnGetLocalFile = [&](TObject*, const QString&, QString& local) {
        ++asked;
        local = FLocal.filePath("x");
    };
    for (const QString& name : unsafeNames) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_NE(browser.Select(name), nullptr);
        browser.Errors.clear();
        EXPECT_FALSE(browser->DownLoadSelected());
        ASSERT_EQ(browser.Errors.size(), 1);
        EXPECT_TRUE(browser.Errors[0].contains(name));
        browser->DoDblClick(nullptr);
        EXPECT_EQ(browser.Errors.size(), 2);
    }
    EXPECT_EQ(asked, 3) << "only the double-click asks the handler";
    EXPECT_EQ(QDir(FLocal.path()).entryList(QDir::Files), QStringList{"copy.bin"});
}

TEST_F(FtpBrowser, DeleteRenameAndNewFolder)
{
    FServer->WriteFile("old.txt", "x");
    FServer->MakeDir("gone");
    Browser browser(*FServer);
    ASSERT_TRUE(browser->Connect());
    QStringList questions;
    bool answer = false;
    browser->OnGetConfirmation = [&](TObject*, const QString& text, bool& confirm) {
        questions << text;
        confirm = answer;
    };
    browser.Select("gone");
    browser->DeleteOnClick(nullptr);
    EXPECT_TRUE(QDir(FServer->LocalPath("gone")).exists()) << "declined";
    answer = true;
    browser->DeleteOnClick(nullptr);
    EXPECT_FALSE(QDir(FServer->LocalPath("gone")).exists());
    EXPECT_EQ(questions, QStringList({"Delete folder \"gone\" ?", "Delete folder \"gone\" ?"}));

    QString newName = "new.txt";
    browser.Select("old.txt");
    browser->ListView()->OnEdited(nullptr, browser.Row("old.txt"), newName);
    EXPECT_TRUE(QFile::exists(FServer->LocalPath("new.txt")));
    EXPECT_FALSE(QFile::exists(FServer->LocalPath("old.txt")));

    // The file went behind the browser's back: the server's reply says so.
    QFile::remove(FServer->LocalPath("new.txt"));
    browser.Select("old.txt");
    QString again = "other.txt";
    browser->ListviewEdited(nullptr, nullptr, again);
    ASSERT_EQ(browser.Errors.size(), 1);
    EXPECT_TRUE(browser.Errors[0].startsWith("550")) << browser.Errors[0].toStdString();

    browser->MakeDir("   ");
    browser->MakeDir("made");
    EXPECT_TRUE(QDir(FServer->LocalPath("made")).exists());
    EXPECT_TRUE(browser.Captions().contains("made"));
    browser->Disconnect();
    browser->MakeDir("");
    EXPECT_EQ(browser.Errors.last(), "No connection to host.");
}

TEST_F(FtpBrowser, ADropOfThreeFilesUploadsThemAll)
{
    Browser browser(*FServer);
    ASSERT_TRUE(browser->Connect());
    QStringList files;
    for (int i = 0; i < 3; ++i)
        files << LocalFile(QString("drop%1.bin").arg(i), PatternBytes(20000 + i, i));
    const HDROP drop = CreateDrop(files, TPoint(5, 5));
    browser->Perform(WM_DROPFILES, static_cast<WPARAM>(drop.Value), 0);
    DragFinish(drop);
    EXPECT_FALSE(browser->Uploading());
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ReadAll(FServer->LocalPath(QString("drop%1.bin").arg(i).toUtf8())), PatternBytes(20000 + i, i));
        EXPECT_TRUE(browser.Captions().contains(QString("drop%1.bin").arg(i)));
        EXPECT_TRUE(browser.Log.contains(QString("Uploading \"drop%1.bin\"").arg(i)));
    }
    EXPECT_EQ(QDir(FServer->LocalPath("")).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary files left";
}

TEST_F(FtpBrowser, CommandsWaitForNoUploadAndDisconnectOrDestructionStopsARunningOne)
{
    // 256 KB a second: the second file takes 16 s unless it is stopped.
    auto server = OwnServer([](FtpTestServer& s) { s.SetTransferLimit(256 * 1024); });
    Browser browser(*server);
    ASSERT_TRUE(browser->Connect());
    const QString small = LocalFile("small.bin", PatternBytes(300000, 1));
    ASSERT_TRUE(browser->Upload(small, false));
    EXPECT_TRUE(browser->Uploading());
    EXPECT_FALSE(browser->Upload(small, false));
    EXPECT_EQ(browser.Log.last(), "File upload in progress!");
    EXPECT_FALSE(browser->DownLoadSelected());
    browser->RefreshFileList();
    EXPECT_EQ(browser.Errors.last(), "File upload in progress!");
    ASSERT_TRUE(WaitUntil([&] { return !browser->Uploading(); }, 20000));
    EXPECT_EQ(ReadAll(server->LocalPath("small.bin")), PatternBytes(300000, 1));

    const QString large = LocalFile("large.bin", PatternBytes(4 * 1024 * 1024, 2));
    ASSERT_TRUE(browser->Upload(large, false));
    // Progress lines come for a large file; once one came the transfer is under way.
    ASSERT_TRUE(WaitUntil([&] { return !browser.Log.filter("Uploading \"large.bin\": ").isEmpty(); }, 20000));
    EXPECT_TRUE(browser.Log.filter("Uploading \"large.bin\": ").constFirst().endsWith(" of 4,096 KB"));
    browser->Disconnect();
    EXPECT_FALSE(browser->Uploading()) << "Disconnect returns once the upload stopped";
    EXPECT_EQ(QDir(server->LocalPath("")).entryList(QDir::Files | QDir::Hidden), QStringList{"small.bin"})
        << "no partial file under the real name, and the temporary one removed";

    // Destroying a browser stops its upload as well.
    {
        Browser doomed(*server);
        ASSERT_TRUE(doomed->Connect());
        ASSERT_TRUE(doomed->Upload(large, false));
        ASSERT_TRUE(WaitUntil([&] { return !doomed.Log.filter("Uploading \"large.bin\": ").isEmpty(); }, 20000));
    }
    EXPECT_FALSE(QFile::exists(server->LocalPath("large.bin")));
}

TEST_F(FtpBrowser, ADownloadKeepsTheUserInterfaceRunningAndRefusesOtherCommands)
{
    auto server = OwnServer([](FtpTestServer& s) { s.SetTransferLimit(256 * 1024); });
    server->WriteFile("slow.bin", PatternBytes(600000, 7));
    Browser browser(*server);
    ASSERT_TRUE(browser->Connect());
    browser.Select("slow.bin");
    const QString target = FLocal.filePath("slow.bin");
    browser->OnGetLocalFile = [&](TObject*, const QString&, QString& local) { local = target; };
    // Runs from the event loop while the download is under way.
    bool ranDuringDownload = false;
    QTimer::singleShot(0, [&] {
        ranDuringDownload = browser->Downloading();
        EXPECT_FALSE(browser->DownLoadSelected());
        EXPECT_EQ(browser.Log.last(), "File download in progress!");
        browser->RefreshFileList();
        EXPECT_EQ(browser.Errors.last(), "File download in progress!");
    });
    EXPECT_TRUE(browser->DownLoadSelected());
    EXPECT_TRUE(ranDuringDownload);
    EXPECT_FALSE(browser->Downloading());
    EXPECT_EQ(ReadAll(target), PatternBytes(600000, 7));
}

TEST_F(FtpBrowser, AServerDyingInAListingIsReportedAndTheBrowserStaysUsable)
{
    auto dying = OwnServer([](FtpTestServer& s) { s.DieInListing(); });
    Browser browser(*dying);
    EXPECT_TRUE(browser->Connect());
    EXPECT_EQ(browser.Errors.size(), 1) << browser.Errors.join('\n').toStdString();
    EXPECT_EQ(browser.Captions(), QStringList{".."});
    browser.Select("..");
    browser->MyPopupMenuOnPopup(nullptr);
    browser->Disconnect();

    FServer->WriteFile("alive.txt", "1");
    browser->SetPort(FServer->Port());
    browser->SetRemoteDir(Text(FServer->RemoteWorkDir()));
    ASSERT_TRUE(browser->Connect());
    EXPECT_EQ(browser.Captions(), QStringList({"..", "alive.txt"}));
}

TEST_F(FtpBrowser, AStalledListingKeepsTheUserInterfaceRunningUntilDisconnectedOrReleased)
{
    auto server = OwnServer([](FtpTestServer& s) { s.StallListings(); });
    server->WriteFile("late.txt", "x");
    Browser browser(*server);
    const QString file = LocalFile("queued.txt", "q");
    // Runs once the browser has waited StallMs for its listing.
    std::function<void()> whenStalled;
    QElapsedTimer stalled;
    Heartbeat heartbeat([&] {
        if (whenStalled && browser->Busy() && browser.Log.last().startsWith("Transferring data for ")
            && stalled.hasExpired(StallMs))
            std::exchange(whenStalled, nullptr)();
    });

    // Every other command is refused meanwhile; a disconnect ends the listing quietly.
    QElapsedTimer sinceDisconnect;
    whenStalled = [&] {
        const struct {
            const char* Name;
            std::function<void()> Command;
        } refused[] = {
            {"refresh", [&] { browser->RefreshFileList(); }},
            {"new folder", [&] { browser->MakeDir("made"); }},
            {"connect", [&] { EXPECT_FALSE(browser->Connect()); }},
        };
        for (const auto& command : refused) {
            SCOPED_TRACE(command.Name);
            browser.Errors.clear();
            command.Command();
            EXPECT_EQ(browser.Errors, QStringList{"Server command in progress!"});
        }
        EXPECT_FALSE(browser->Upload(file, false));
        EXPECT_EQ(browser.Log.last(), "Server command in progress!");
        browser.Errors.clear();
        sinceDisconnect.start();
        browser->Disconnect();
    };
    stalled.start();
    EXPECT_FALSE(browser->Connect()) << "the connection went before the listing arrived";
    ASSERT_TRUE(sinceDisconnect.isValid());
    // The layer notices a closed connection within about a second, far below the 30 s
    // a server may take to answer.
    EXPECT_LT(sinceDisconnect.elapsed(), 10000);
    EXPECT_FALSE(browser->Connected());
    EXPECT_FALSE(browser->Busy());
    EXPECT_EQ(browser->ListView()->Items()->Count(), 0);
    EXPECT_TRUE(browser.Errors.isEmpty()) << browser.Errors.join('\n').toStdString();
    EXPECT_EQ(browser.Log.last(), "Not connected");
    EXPECT_FALSE(QDir(server->LocalPath("made")).exists());

    // Released, the listing arrives and the browser is free again.
    whenStalled = [&] { server->ReleaseListings(); };
    stalled.start();
    ASSERT_TRUE(browser->Connect());
    EXPECT_FALSE(whenStalled) << "the listing came only after the release";
    EXPECT_EQ(browser.Captions(), QStringList({"..", "late.txt"}));
    EXPECT_TRUE(browser.Errors.isEmpty()) << browser.Errors.join('\n').toStdString();
    EXPECT_FALSE(browser->Busy());
    EXPECT_LT(heartbeat.LargestGap(), LargestGapMs);
}

TEST_F(FtpBrowser, TheButtonUploadsOneFileOnAWorkerAndRefreshesTheBrowser)
{
    // 256 KB a second: the upload of 768 KB takes about two seconds.
    auto server = OwnServer([](FtpTestServer& s) { s.SetTransferLimit(256 * 1024); });
    Browser browser(*server);
    ASSERT_TRUE(browser->Connect());
    TqvFTPButton button(nullptr);
    PointAt(button, *server);
    button.SetqvDragDropFTP(&browser.Ftp());
    int clicks = 0;
    button.OnClick = [&](TObject*) { ++clicks; };

    button.SetLocalFile(FLocal.filePath("missing.txt"));
    try {
        button.Click();
        ADD_FAILURE() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Localfile '" + FLocal.filePath("missing.txt") + "' not found");
    }
    EXPECT_EQ(clicks, 1) << "the click event runs first";

    button.SetLocalFile(LocalFile("button.bin", PatternBytes(768 * 1024, 4)));
    int ticks = 0;
    Heartbeat heartbeat([&] {
        // A second click while the first one's upload runs adds nothing.
        if (++ticks == 2)
            button.Click();
    });
    button.Click();
    EXPECT_GE(ticks, 2) << "the user interface ran during the upload";
    EXPECT_LT(heartbeat.LargestGap(), LargestGapMs);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(ReadAll(server->LocalPath("button.bin")), PatternBytes(768 * 1024, 4));
    EXPECT_TRUE(browser.Captions().contains("button.bin"));
}

} // namespace
