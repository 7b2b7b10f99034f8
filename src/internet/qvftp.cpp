#include "internet/qvftp.h"

#include "internet/qvuploadthread.h"
#include "platform/shell/shellfileinfo.h"
#include "platform/shell/systemimagelist.h"
#include "vcl/controls/application.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/dropfiles.h"
#include "vcl/controls/menus.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/imagelist.h"
#include "vcl/streaming/formfile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRegularExpression>
#include <thread>

using namespace platform::ftp;
using namespace vcl;

namespace Qvftpshell {

static const bool EventsPublished = RegisterEvent(&TqvFTP::OnChange, "OnChange")
    && RegisterEvent(&TqvFTP::OnDblClick, "OnDblClick") && RegisterEvent(&TqvFTP::OnDisplayMessage, "OnDisplayMessage")
    && RegisterEvent(&TqvFTP::OnGetConfirmation, "OnGetConfirmation")
    && RegisterEvent(&TqvFTP::OnGetLocalFile, "OnGetLocalFile");

namespace {

constexpr char AgentName[] = "QvKit FTP";
constexpr char Revision[] = "$Revision: 1.01.00 $";
constexpr char UploadInProgress[] = "File upload in progress!";
constexpr char DownloadInProgress[] = "File download in progress!";
// How long an error line stays before the next step, so the user can read it.
constexpr int ErrorPauseMs = 1000;
constexpr DWORD ReplyBufferSize = 256;
constexpr DWORD DirectoryBufferSize = 2048;
constexpr DWORD FolderAttributes = 0x90; // directory and normal
constexpr DWORD FileAttributes = 0x80;   // normal

struct TColumnLook {
    const char* Caption;
    int Width;
    TAlignment Alignment;
};
constexpr TColumnLook Columns[] = {
    {"Name", 150, taLeftJustify}, {"Size", 70, taRightJustify}, {"Date", 112, taLeftJustify}, {"Type", 200, taLeftJustify}};

QByteArray A(const QString& Text)
{
    QByteArray bytes = Text.toUtf8();
    return bytes.isNull() ? QByteArray("") : bytes;
}

// Waits while the user interface keeps running.
void Pause(int Milliseconds)
{
    const QDeadlineTimer deadline(Milliseconds);
    while (!deadline.hasExpired())
        Application()->ProcessMessages();
}

// Byte-wise comparison of UTF-8 texts, as the listing's names are bytes.
int CompareBytes(const QString& A1, const QString& A2)
{
    const int order = A1.toUtf8().compare(A2.toUtf8());
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

TMenuItem* NewItem(TComponent* Owner, const QString& Caption, TNotifyEvent OnClick, bool Radio = false)
{
    auto* item = new TMenuItem(Owner);
    item->SetCaption(Caption);
    item->OnClick = std::move(OnClick);
    item->SetRadioItem(Radio);
    return item;
}

} // namespace

TqvFTP::TqvFTP(TComponent* AOwner) : TPanel(AOwner)
{
    // The loopback host of this machine, by its name.
    FHostName = QStringLiteral("localhost");
    FLoginName = QStringLiteral("anonymous");
    if (auto* parent = dynamic_cast<TWinControl*>(AOwner))
        SetParent(parent);
    if (ComponentState() & csDesigning) {
        FActive = true;
        SetBorderWidth(3);
    }
    FListView = new TListView(this);
    FListView->SetParent(this);
    FListView->SetReadOnly(false);
    FListView->SetAlign(alClient);
    FListView->SetViewStyle(vsReport);
    for (const TColumnLook& look : Columns) {
        TListColumn* column = FListView->Columns()->Add();
        column->SetCaption(QString::fromLatin1(look.Caption));
        column->SetWidth(look.Width);
        column->SetAlignment(look.Alignment);
    }
    FListView->OnDblClick = [this](TObject* Sender) { DoDblClick(Sender); };
    // The images of the system image list this control uses, copied as they are met.
    FLargeIcons = new TImageList(32, 32, this);
    FSmallIcons = new TImageList(16, 16, this);
    FListView->SetLargeImages(FLargeIcons);
    FListView->SetSmallImages(FSmallIcons);
}

TqvFTP::~TqvFTP()
{
    Destroying();
    StopUpload();
    if (Connected())
        Disconnect();
    ClearList();
}

void TqvFTP::Loaded()
{
    TPanel::Loaded();
    FListView->OnClick = [this](TObject* Sender) {
        if (OnClick)
            OnClick(Sender);
    };
    if (ComponentState() & csDesigning)
        return;
    AddMenuItems();
    FListView->OnEdited = [this](TObject* Sender, TListItem* Item, QString& S) { ListviewEdited(Sender, Item, S); };
    FListView->OnColumnClick = [this](TObject* Sender, TListColumn* Column) { ListViewColumnClick(Sender, Column); };
    FListView->OnCompare = [this](TObject* Sender, TListItem* A1, TListItem* A2, int Data, int& Compare) {
        ListViewCompare(Sender, A1, A2, Data, Compare);
    };
    Log(QStringLiteral("Not connected"));
}

void TqvFTP::AddMenuItems()
{
    if (!PopupMenu()) {
        FOwnMenu = new TPopupMenu(this);
        SetPopupMenu(FOwnMenu);
    }
    TPopupMenu* menu = PopupMenu();
    TMenuItem* items = menu->Items();
    FMenuBase = items->Count();
    menu->OnPopup = [this](TObject* Sender) { MyPopupMenuOnPopup(Sender); };
    auto command = [this](void (TqvFTP::*Handler)(TObject*)) { return [this, Handler](TObject* S) { (this->*Handler)(S); }; };
    const auto line = [this] { return NewItem(this, QStringLiteral("-"), nullptr); };

    TMenuItem* get = NewItem(this, QStringLiteral("Get"), command(&TqvFTP::DoDblClick));
    get->SetDefault(true);
    items->Add(get);
    items->Add(line());
    items->Add(NewItem(this, QStringLiteral("Delete"), command(&TqvFTP::DeleteOnClick)));
    items->Add(NewItem(this, QStringLiteral("Rename"), command(&TqvFTP::RenameOnClick)));
    items->Add(NewItem(this, QStringLiteral("New Folder"), command(&TqvFTP::MakeDirOnClick)));
    FViewMenu = NewItem(this, QStringLiteral("View"), nullptr);
    FViewMenu->Add(NewItem(this, QStringLiteral("Large icons"), command(&TqvFTP::ViewLargeIcons), true));
    FViewMenu->Add(NewItem(this, QStringLiteral("Small icons"), command(&TqvFTP::ViewSmallIcons), true));
    FViewMenu->Add(NewItem(this, QStringLiteral("List"), command(&TqvFTP::ViewList), true));
    FViewMenu->Add(NewItem(this, QStringLiteral("Details"), command(&TqvFTP::ViewReport), true));
    FViewMenu->Items(3)->SetChecked(true);
    items->Add(FViewMenu);
    items->Add(line());
    FOrderMenu = NewItem(this, QStringLiteral("Order"), nullptr);
    FOrderMenu->Add(NewItem(this, QStringLiteral("by Name"), command(&TqvFTP::OrderByName), true));
    FOrderMenu->Add(NewItem(this, QStringLiteral("by Size"), command(&TqvFTP::OrderBySize), true));
    FOrderMenu->Add(NewItem(this, QStringLiteral("by Date"), command(&TqvFTP::OrderByDate), true));
    FOrderMenu->Add(NewItem(this, QStringLiteral("by Type"), command(&TqvFTP::OrderByType), true));
    FOrderMenu->Items(0)->SetChecked(true);
    items->Add(FOrderMenu);
    items->Add(line());
    items->Add(NewItem(this, QStringLiteral("Refresh"), [this](TObject* S) { RefreshFileList(S); }));
}

TMenuItem* TqvFTP::MenuItem(TMenuCommand Command) const
{
    if (!FViewMenu || !PopupMenu())
        return nullptr;
    return PopupMenu()->Items()->Items(FMenuBase + Command);
}

void TqvFTP::MyPopupMenuOnPopup(TObject*)
{
    TListItem* selected = FListView->Selected();
    const TExtraFileData* data = FileData(selected);
    const bool connected = Connected();
    const QString caption = selected ? selected->Caption() : QString();
    MenuItem(mcGet)->SetEnabled(connected && data && !data->IsDirectory && OnGetLocalFile);
    MenuItem(mcDelete)->SetEnabled(connected && data && data->CanDelete(caption));
    MenuItem(mcRename)->SetEnabled(connected && data && data->CanRename(caption));
    for (TMenuCommand command : {mcNewFolder, mcView, mcOrder, mcRefresh})
        MenuItem(command)->SetEnabled(connected);
}

void TqvFTP::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    if (!(ComponentState() & csDesigning))
        DragAcceptFiles(Handle(), Value);
}

// --- Reporting ---

void TqvFTP::Log(const QString& Text)
{
    if (!(ComponentState() & csDestroying) && OnDisplayMessage)
        OnDisplayMessage(this, Text, false);
}

void TqvFTP::LogLater(const QString& Text)
{
    // Queued to this control: dropped by Qt when the control is gone by then.
    QMetaObject::invokeMethod(this, [this, Text] { Log(Text); }, Qt::QueuedConnection);
}

void TqvFTP::DoShowMessage(const QString& Text)
{
    if (OnDisplayMessage)
        OnDisplayMessage(this, Text, true);
    else
        MessageDlg(Text, mtError, TMsgDlgButtons(mbOK));
}

bool TqvFTP::Confirm(const QString& Text)
{
    if (OnGetConfirmation) {
        // A handler that does not answer declines: nothing is deleted by accident.
        bool confirm = false;
        OnGetConfirmation(this, Text, confirm);
        return confirm;
    }
    return MessageDlg(Text, mtConfirmation, TMsgDlgButtons(mbYes) | mbNo) == mrYes;
}

// True when the server's last reply was there to show. An empty reply counts as none,
// so that a failure that never reached the server still gets the caller's own text.
bool TqvFTP::ShowLastResponseInfo(bool DoPause)
{
    char buffer[ReplyBufferSize] = {};
    DWORD error = 0;
    DWORD length = sizeof buffer;
    // A longer reply does not fit: its last line is what matters, so ask for all of it.
    QByteArray reply;
    if (InternetGetLastResponseInfoA(&error, buffer, &length)) {
        reply = QByteArray(buffer, length);
    } else if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        reply.resize(length);
        if (!InternetGetLastResponseInfoA(&error, reply.data(), &length))
            return false;
        reply.truncate(length);
    } else {
        return false;
    }
    const QString text = QString::fromUtf8(reply).trimmed();
    if (text.isEmpty())
        return false;
    DoShowMessage(text.split(QRegularExpression(QStringLiteral("[\r\n]+"))).constLast().trimmed());
    if (DoPause)
        Pause(ErrorPauseMs);
    return true;
}

void TqvFTP::ShowFailure(const QString& Fallback)
{
    if (!ShowLastResponseInfo(true))
        DoShowMessage(Fallback);
}

bool TqvFTP::RefusedWhileUploading()
{
    // A transfer holds the connection; a command now would wait for its end with the
    // user interface frozen, so it is refused instead.
    if (!FUploading && !FDownloading)
        return false;
    DoShowMessage(QString::fromLatin1(FUploading ? UploadInProgress : DownloadInProgress));
    return true;
}

void TqvFTP::Download(const QString& Remote, const QString& Local)
{
    // On a thread of its own, so the user interface keeps running for the transfer;
    // it writes a temporary file beside Local that takes its name only when complete.
    FDownloading = true;
    std::atomic<bool> done = false;
    std::thread worker([&, handle = FConnection.Handle(), remote = A(Remote), local = A(Local)] {
        FtpGetFileA(handle, remote.constData(), local.constData(), false, 0, 0, 0);
        done = true;
        // Wakes the loop below.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    worker.join();
    FDownloading = false;
}

QString TqvFTP::VersionString() const
{
    // Positions 12 to 19 of the revision text, the blank after the number included.
    return QString::fromLatin1(Revision).mid(11, 8);
}

// --- Connection ---

bool TqvFTP::Connect()
{
    if (Connected())
        Disconnect();
    if (FHostName.isEmpty())
        throw Exception(QStringLiteral("HostName must be specified"));
    if (FLoginName.isEmpty())
        throw Exception(QStringLiteral("LoginName must be specified"));
    if (FPassword.isEmpty())
        throw Exception(QStringLiteral("Password must be specified"));
    Log(QStringLiteral("Connecting to ") + FHostName);
    // The connection object opens the root and the connection with the same calls.
    const bool connected = FConnection.ConnectTo(FHostName, FLoginName, FPassword, QString(), FPassive, FPort);
    if (!connected) {
        ShowFailure(QStringLiteral("Could not connect to ") + FHostName);
        Pause(ErrorPauseMs);
        Disconnect();
        return false;
    }
    Log(QStringLiteral("Connected to ") + FHostName);
    if (!FRemoteDir.isEmpty() && !FConnection.SetCurrentDirectory(FRemoteDir)) {
        ShowFailure(QStringLiteral("Could not change to ") + FRemoteDir);
        return false;
    }
    RefreshFileList();
    return true;
}

bool TqvFTP::ConnectTo(const QString& Host, const QString& Login, const QString& APassword)
{
    FHostName = Host;
    FLoginName = Login;
    FPassword = APassword;
    return Connect();
}

void TqvFTP::Disconnect()
{
    // Closing the handle also stops an upload running on it; its end is awaited so
    // that nothing uses the connection afterwards.
    FConnection.Disconnect();
    WaitForUploadEnd();
    ClearList();
    Log(QStringLiteral("Not connected"));
}

void TqvFTP::WaitForUploadEnd()
{
    while (FUploading) {
        Application()->ProcessMessages();
        CheckSynchronize(20); // waits for the thread's last call instead of spinning
    }
}

void TqvFTP::StopUpload()
{
    if (!FUploadThread)
        return;
    FUploadThread->Terminate();
    if (FUploading)
        FConnection.Disconnect();
    // Serves the thread's last call (UploadComplete) while waiting.
    if (!FUploadThread->Finished())
        FUploadThread->WaitFor();
    FUploadThread.reset();
}

// --- Listing ---

void TqvFTP::ClearList()
{
    FListView->Items()->Clear();
    FRecords.clear();
    FTotalSize = 0;
    FFileCount = 0;
}

void TqvFTP::RefreshFileList(TObject*)
{
    if (!Connected() || RefusedWhileUploading())
        return;
    ClearList();
    char buffer[DirectoryBufferSize] = {};
    DWORD length = sizeof buffer;
    const QString directory
        = FtpGetCurrentDirectoryA(FConnection.Handle(), buffer, &length) ? QString::fromUtf8(buffer, length) : QString();
    Log(QStringLiteral("Transferring data for ") + directory);

    FListView->SetSortType(stNone);
    FListView->Items()->BeginUpdate();
    if (directory != QLatin1String("/"))
        AddParentRow();
    WIN32_FIND_DATAA entry;
    TFileTypeNames types;
    HINTERNET find = FtpFindFirstFileA(FConnection.Handle(), nullptr, &entry, INTERNET_FLAG_RELOAD, 0);
    if (find) {
        AddFile(entry, types);
        while (InternetFindNextFileA(find, &entry)) {
            Log(QStringLiteral("Transferring data for ") + directory + QLatin1Char(' ') + QString::fromUtf8(entry.cFileName));
            AddFile(entry, types);
        }
        InternetCloseHandle(find);
    } else if (const DWORD code = GetLastError(); code != ERROR_NO_MORE_FILES) {
        // The listing failed (a refused folder, a server gone): the server's refusal
        // tells why; a broken connection leaves only a preliminary reply, so our own text.
        FListView->Items()->EndUpdate();
        if (code != ERROR_INTERNET_EXTENDED_ERROR || !ShowLastResponseInfo(true))
            DoShowMessage(QStringLiteral("Could not list %1 (Win32 Error %2)").arg(directory).arg(code));
        FListView->Items()->BeginUpdate();
    }
    Log(QStringLiteral("Transfer completed (") + FormatFloat(QStringLiteral("#,##0"), FTotalSize) + QStringLiteral(" bytes in ")
        + QString::number(FFileCount) + QStringLiteral(" files)"));
    FListView->SetSortType(stBoth);
    FListView->Items()->EndUpdate();
    Change();
}

void TqvFTP::AddParentRow()
{
    TListItem* item = FListView->Items()->Add();
    item->SetCaption(QStringLiteral(".."));
    item->SetImageIndex(IconIndex(QStringLiteral("."), true));
    for (int i = 0; i < 3; ++i)
        item->SubItems().Add(QString());
    auto data = std::make_unique<TExtraFileData>();
    data->IsDirectory = true;
    item->SetData(data.get());
    FRecords.push_back(std::move(data));
}

void TqvFTP::AddFile(const WIN32_FIND_DATAA& Entry, TFileTypeNames& Types)
{
    // Rows arrive one by one; the user interface keeps running meanwhile.
    if (FRecords.size() % 256 == 0)
        Application()->ProcessMessages();
    auto data = std::make_unique<TExtraFileData>();
    const QString name = QString::fromUtf8(Entry.cFileName);
    data->IsLink = IsLinkEntry(Entry);
    data->LinkTarget = LinkTargetOf(Entry);
    data->IsDirectory = (Entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || data->IsLink;
    TListItem* item = FListView->Items()->Add();
    item->SetCaption(name);
    if (data->IsDirectory) {
        item->SetImageIndex(IconIndex(QStringLiteral("."), true));
        item->SubItems().Add(QString());
        data->Size = -1;
    } else {
        ++FFileCount;
        item->SetImageIndex(IconIndex(name, false));
        const uint64_t bytes = (uint64_t(Entry.nFileSizeHigh) << 32) | Entry.nFileSizeLow;
        const TSizeText size = SizeText(bytes);
        data->Size = size.Kilobytes;
        item->SubItems().Add(size.Text);
        FTotalSize += int64_t(bytes);
    }
    item->SubItems().Add(EntryDateText(Entry.ftLastWriteTime));
    item->SubItems().Add(Types.TypeName(name, data->IsDirectory));
    item->SetData(data.get());
    FRecords.push_back(std::move(data));
}

int TqvFTP::IconIndex(const QString& Name, bool IsDirectory)
{
    // One image per kind of name (its extension, or a folder), the same index in both
    // lists: the system's large and small lists number their images independently.
    const qsizetype dot = Name.lastIndexOf(QLatin1Char('.'));
    const QString key = IsDirectory ? QStringLiteral("/") : dot < 0 ? QString() : Name.mid(dot).toLower();
    if (const auto found = FIconIndexes.constFind(key); found != FIconIndexes.constEnd())
        return found.value();
    const QByteArray name = A(IsDirectory ? QStringLiteral(".") : Name);
    const DWORD attributes = IsDirectory ? FolderAttributes : FileAttributes;
    using namespace platform::shell;
    SHFILEINFO large, small;
    const UINT flags = SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES;
    SHGetFileInfo(name.constData(), attributes, &large, sizeof large, flags);
    SHGetFileInfo(name.constData(), attributes, &small, sizeof small, flags | SHGFI_SMALLICON);
    const QPixmap largeImage = TSystemImageList::Large().Image(large.iIcon);
    const QPixmap smallImage = TSystemImageList::Small().Image(small.iIcon);
    if (largeImage.isNull() || smallImage.isNull())
        return FIconIndexes.insert(key, -1).value();
    FLargeIcons->AddImage(largeImage.toImage());
    return FIconIndexes.insert(key, FSmallIcons->AddImage(smallImage.toImage())).value();
}

TExtraFileData* TqvFTP::FileData(TListItem* Item) const
{
    return Item ? static_cast<TExtraFileData*>(Item->Data()) : nullptr;
}

void TqvFTP::Change()
{
    if (OnChange)
        OnChange(this);
}

// --- Sorting and views ---

void TqvFTP::ListViewCompare(TObject*, TListItem* Item1, TListItem* Item2, int, int& Compare)
{
    Compare = 0;
    TExtraFileData* data1 = FileData(Item1);
    TExtraFileData* data2 = FileData(Item2);
    if (!data1 || !data2 || Item1->SubItems().Count() < 3 || Item2->SubItems().Count() < 3)
        return;
    const auto folderFirst = [](TListItem* Item, const TExtraFileData* Data) {
        return Data->IsDirectory ? QLatin1Char(' ') + Item->Caption() : Item->Caption();
    };
    switch (FOrderBy) {
    case sbName:
        Compare = CompareBytes(folderFirst(Item1, data1), folderFirst(Item2, data2));
        break;
    case sbDate: {
        // A row without a date (the parent row) sorts before every dated row.
        const auto when = [](TListItem* Item) {
            const QString text = Item->SubItems()[1];
            return text.isEmpty() ? -1e300L : static_cast<long double>(StrToDateTime(text));
        };
        const long double when1 = when(Item1), when2 = when(Item2);
        Compare = when1 < when2 ? -1 : when1 > when2 ? 1 : 0;
        break;
    }
    case sbSize:
        Compare = data1->Size < data2->Size ? -1 : data1->Size > data2->Size ? 1 : 0;
        break;
    case sbType: {
        const auto type = [](TListItem* Item) {
            return Item->SubItems()[0].isEmpty() ? QLatin1Char(' ') + Item->Caption() : Item->SubItems()[2];
        };
        Compare = CompareBytes(type(Item1), type(Item2));
        break;
    }
    }
    if (Descending(FOrderBy))
        Compare = -Compare;
}

bool& TqvFTP::Descending(TOrderBy Order)
{
    return FDescending[Order];
}

void TqvFTP::Resort()
{
    FListView->AlphaSort();
}

void TqvFTP::SetOrder(TOrderBy Order, int MenuIndex)
{
    FOrderBy = Order;
    if (FOrderMenu)
        FOrderMenu->Items(MenuIndex)->SetChecked(true);
    Resort();
}

void TqvFTP::OrderByName(TObject*) { SetOrder(sbName, 0); }
void TqvFTP::OrderBySize(TObject*) { SetOrder(sbSize, 1); }
void TqvFTP::OrderByDate(TObject*) { SetOrder(sbDate, 2); }
void TqvFTP::OrderByType(TObject*) { SetOrder(sbType, 3); }

void TqvFTP::ListViewColumnClick(TObject*, TListColumn* Column)
{
    static const QHash<QString, TOrderBy> keys = {
        {QStringLiteral("Name"), sbName}, {QStringLiteral("Date"), sbDate}, {QStringLiteral("Size"), sbSize},
        {QStringLiteral("Type"), sbType}};
    const auto key = keys.constFind(Column ? Column->Caption() : QString());
    if (key != keys.constEnd()) {
        if (key.value() == FOrderBy)
            Descending(FOrderBy) = !Descending(FOrderBy);
        else
            FOrderBy = key.value();
    }
    Resort();
}

void TqvFTP::SetViewStyle(TViewStyle Style, int MenuIndex)
{
    FListView->SetViewStyle(Style);
    if (FViewMenu)
        FViewMenu->Items(MenuIndex)->SetChecked(true);
}

void TqvFTP::ViewLargeIcons(TObject*) { SetViewStyle(vsIcon, 0); }
void TqvFTP::ViewSmallIcons(TObject*) { SetViewStyle(vsSmallIcon, 1); }
void TqvFTP::ViewList(TObject*) { SetViewStyle(vsList, 2); }
void TqvFTP::ViewReport(TObject*) { SetViewStyle(vsReport, 3); }

// --- Commands on rows ---

bool TqvFTP::CanDownLoad() const
{
    const TExtraFileData* data = FileData(FListView->Selected());
    return data && !data->IsDirectory;
}

QString TqvFTP::FileName() const
{
    TListItem* selected = FListView->Selected();
    return selected ? selected->Caption() : QString();
}

void TqvFTP::DoDblClick(TObject* Sender)
{
    TListItem* selected = FListView->Selected();
    const TExtraFileData* data = FileData(selected);
    if (data && !RefusedWhileUploading()) {
        const QString caption = selected->Caption();
        if (data->IsDirectory) {
            if (FConnection.SetCurrentDirectory(caption))
                RefreshFileList();
            else
                ShowFailure(QStringLiteral("Could not change to directory ") + caption);
        } else if (OnGetLocalFile) {
            QString local;
            OnGetLocalFile(this, caption, local);
            const QString refusal = UnsafeLocalName(caption);
            if (!refusal.isEmpty())
                DoShowMessage(refusal);
            else if (!local.isEmpty())
                Download(caption, local);
        }
    }
    if (OnDblClick)
        OnDblClick(Sender);
}

bool TqvFTP::DownLoadSelected()
{
    if (FUploading || FDownloading) {
        Log(QString::fromLatin1(FUploading ? UploadInProgress : DownloadInProgress));
        return false;
    }
    if (!CanDownLoad())
        return false;
    const QString remote = FileName();
    const QString refusal = UnsafeLocalName(remote);
    if (!refusal.isEmpty()) {
        DoShowMessage(refusal);
        return false;
    }
    QString local;
    if (OnGetLocalFile) {
        OnGetLocalFile(this, remote, local);
    } else {
        TSaveDialog dialog(this);
        dialog.SetFileName(remote);
        if (dialog.Execute())
            local = dialog.FileName();
    }
    if (!local.isEmpty())
        Download(remote, local);
    return true;
}

void TqvFTP::DeleteOnClick(TObject*)
{
    TListItem* selected = FListView->Selected();
    const TExtraFileData* data = FileData(selected);
    if (!data || RefusedWhileUploading())
        return;
    const QString caption = selected->Caption();
    const QString what = data->IsDirectory ? QStringLiteral("Delete folder") : QStringLiteral("Delete");
    if (!Confirm(what + QStringLiteral(" \"") + caption + QStringLiteral("\" ?")))
        return;
    const bool deleted = data->IsDirectory ? FConnection.RemoveDirectory(caption) : FConnection.DeleteFile(caption);
    if (deleted) {
        RefreshFileList();
        return;
    }
    const QString code = QString::number(GetLastError());
    ShowFailure(QStringLiteral("Could not %1 %2 (Win32 Error %3)")
                    .arg(data->IsDirectory ? QStringLiteral("delete folder") : QStringLiteral("delete"), caption, code));
}

void TqvFTP::RenameOnClick(TObject*)
{
    if (TListItem* selected = FListView->Selected(); selected && !RefusedWhileUploading())
        selected->EditCaption();
}

void TqvFTP::ListviewEdited(TObject*, TListItem*, QString& S)
{
    TListItem* selected = FListView->Selected();
    if (!selected || S == selected->Caption())
        return;
    const QString caption = selected->Caption();
    if (RefusedWhileUploading()) {
        S = caption;
        return;
    }
    if (!FConnection.RenameFile(caption, S)) {
        const QString code = QString::number(GetLastError());
        ShowFailure(QStringLiteral("Could not rename %1 (Win32 Error %2)").arg(caption, code));
    }
}

void TqvFTP::MakeDirOnClick(TObject*)
{
    QString name;
    InputQuery(QStringLiteral("New folder"), QStringLiteral("Folder name:"), name);
    MakeDir(name);
}

void TqvFTP::MakeDir(const QString& Name)
{
    if (!Connected())
        DoShowMessage(QStringLiteral("No connection to host."));
    if (Name.trimmed().isEmpty() || RefusedWhileUploading())
        return;
    if (FConnection.CreateDirectory(Name))
        RefreshFileList();
    else
        ShowLastResponseInfo(true);
}

// --- Uploads ---

bool TqvFTP::Upload(const QString& Files, bool Wait)
{
    if (FUploading || FDownloading) {
        Log(QString::fromLatin1(FUploading ? UploadInProgress : DownloadInProgress));
        return false;
    }
    if (!Connected())
        Connect();
    // The previous thread has handed back its last call; let it end.
    FUploadThread.reset();
    FUploading = true;
    DragAcceptFiles(Handle(), false);
    QStringList paths = Files.split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
    FUploadThread = std::make_unique<TUploadThread>(this, FConnection.Handle(), paths);
    FUploadThread->Start();
    if (Wait)
        FUploadThread->WaitFor();
    return true;
}

void TqvFTP::UploadComplete()
{
    // The thread's progress lines still on their way come before what follows.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    FUploading = false;
    if (ComponentState() & csDestroying)
        return;
    DragAcceptFiles(Handle(), FActive);
    Log(QString());
    RefreshFileList();
}

void TqvFTP::WMDropFiles(TMessage& Message)
{
    const HDROP drop = DropFromWParam(Message.WParam);
    if (QWidget* window = this->window())
        window->activateWindow();
    QString files;
    const unsigned count = DragQueryFileCount(drop);
    for (unsigned index = 0; index < count; ++index) {
        QString name;
        DragQueryFile(drop, index, name);
        files += name + QStringLiteral("\r\n");
    }
    Upload(files, false);
    WaitForUploadEnd();
    // The sender of the message frees the drop.
}

} // namespace Qvftpshell
