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
#include <QPointer>
#include <QTimer>

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
constexpr char CommandInProgress[] = "Server command in progress!";
// How long an error line stays before the next step, so the user can read it.
constexpr int ErrorPauseMs = 1000;
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
    // Wakes the loop below at the end instead of letting it spin.
    QTimer::singleShot(Milliseconds, QCoreApplication::instance(), [] {});
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

// The order of the UTF-8 bytes of two texts (the listing's names are bytes), worked out
// on the UTF-16 units without converting: UTF-8 orders by code point, and UTF-16 does
// too except that surrogates (code points above U+FFFF) must come after U+E000-U+FFFF.
int CompareBytes(QStringView A1, QStringView A2)
{
    const auto rank = [](char16_t unit) {
        return unit >= 0xD800 && unit <= 0xDFFF ? unit + 0x2000 : unit >= 0xE000 ? unit - 0x800 : int(unit);
    };
    const qsizetype common = std::min(A1.size(), A2.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (A1[i] != A2[i])
            return rank(A1[i].unicode()) < rank(A2[i].unicode()) ? -1 : 1;
    }
    return A1.size() < A2.size() ? -1 : A1.size() > A2.size() ? 1 : 0;
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

// True when the call's server reply was there to show. An empty reply counts as none,
// so that a failure that never reached the server still gets the caller's own text.
bool TqvFTP::ShowLastResponseInfo(const TFtpCallResult& Outcome, bool DoPause)
{
    const QString text = QString::fromUtf8(Outcome.Reply).trimmed();
    if (text.isEmpty())
        return false;
    DoShowMessage(text.split(QRegularExpression(QStringLiteral("[\r\n]+"))).constLast().trimmed());
    if (DoPause)
        Pause(ErrorPauseMs);
    return true;
}

void TqvFTP::ShowFailure(const TFtpCallResult& Outcome, const QString& Fallback)
{
    if (!ShowLastResponseInfo(Outcome, true))
        DoShowMessage(Fallback);
}

QString TqvFTP::BusyText() const
{
    if (FUploading)
        return QString::fromLatin1(UploadInProgress);
    switch (FBusy) {
    case TBusy::Idle: return QString();
    case TBusy::Downloading: return QString::fromLatin1(DownloadInProgress);
    case TBusy::Commanding: return QString::fromLatin1(CommandInProgress);
    }
    return QString();
}

bool TqvFTP::RefusedWhileBusy()
{
    // A transfer or command holds the connection; another command now would wait for its
    // end, so it is refused instead.
    const QString busy = BusyText();
    if (busy.isEmpty())
        return false;
    DoShowMessage(busy);
    return true;
}

std::optional<TFtpCallResult> TqvFTP::RunCommand(const std::function<bool()>& Call, TBusy Kind)
{
    const QPointer<TqvFTP> alive(this);
    const int disconnects = FDisconnects;
    FBusy = Kind;
    const TFtpCallResult outcome = RunFtpCall(Call);
    if (!alive)
        return std::nullopt;
    FBusy = TBusy::Idle;
    if (disconnects != FDisconnects)
        return std::nullopt;
    return outcome;
}

void TqvFTP::Download(const QString& Remote, const QString& Local)
{
    // It writes a temporary file beside Local that takes its name only when complete;
    // the result is not reported.
    RunCommand([handle = FConnection.Handle(), remote = A(Remote), local = A(Local)] {
        return FtpGetFileA(handle, remote.constData(), local.constData(), false, 0, 0, 0) != 0;
    }, TBusy::Downloading);
}

QString TqvFTP::VersionString() const
{
    // Positions 12 to 19 of the revision text, the blank after the number included.
    return QString::fromLatin1(Revision).mid(11, 8);
}

// --- Connection ---

bool TqvFTP::Connect()
{
    if (RefusedWhileBusy())
        return false;
    if (Connected())
        Disconnect();
    if (HostName().isEmpty())
        throw Exception(QStringLiteral("HostName must be specified"));
    if (LoginName().isEmpty())
        throw Exception(QStringLiteral("LoginName must be specified"));
    if (Password().isEmpty())
        throw Exception(QStringLiteral("Password must be specified"));
    Log(QStringLiteral("Connecting to ") + HostName());
    TFtpHandles handles;
    const auto opened = RunCommand([&handles, login = FConnection.Login(HostName(), LoginName(), Password(), Passive(), Port())] {
        handles = TqvFTPConnection::Open(login);
        return handles.Connection != nullptr;
    });
    if (!opened) {
        // Closed or disconnected meanwhile: the new connection is not wanted.
        InternetCloseHandle(handles.Root);
        return false;
    }
    if (!opened->Ok) {
        ShowFailure(*opened, QStringLiteral("Could not connect to ") + HostName());
        Pause(ErrorPauseMs);
        Disconnect();
        return false;
    }
    FConnection.Adopt(handles);
    Log(QStringLiteral("Connected to ") + HostName());
    if (!RemoteDir().isEmpty()) {
        const auto changed = RunCommand([handle = FConnection.Handle(), directory = A(RemoteDir())] {
            return FtpSetCurrentDirectoryA(handle, directory.constData()) != 0;
        });
        if (!changed)
            return false;
        if (!changed->Ok) {
            ShowFailure(*changed, QStringLiteral("Could not change to ") + RemoteDir());
            return false;
        }
    }
    RefreshFileList();
    // A Disconnect while the list was read (from the user interface, which kept running)
    // leaves the control without a connection.
    return Connected();
}

bool TqvFTP::ConnectTo(const QString& Host, const QString& Login, const QString& APassword)
{
    SetHostName(Host);
    SetLoginName(Login);
    SetPassword(APassword);
    return Connect();
}

void TqvFTP::Disconnect()
{
    // Closing the handle also stops an upload running on it; its end is awaited so
    // that nothing uses the connection afterwards. A command running on it stops within
    // about a second and shows nothing.
    ++FDisconnects;
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
    if (!Connected() || RefusedWhileBusy())
        return;
    ClearList();
    char buffer[DirectoryBufferSize] = {};
    DWORD length = sizeof buffer;
    // The session keeps the folder itself: reading it asks the server nothing.
    const QString directory
        = FtpGetCurrentDirectoryA(FConnection.Handle(), buffer, &length) ? QString::fromUtf8(buffer, length) : QString();
    Log(QStringLiteral("Transferring data for ") + directory);
    std::vector<WIN32_FIND_DATAA> entries;
    const auto listed = RunCommand([handle = FConnection.Handle(), &entries] {
        WIN32_FIND_DATAA entry;
        HINTERNET find = FtpFindFirstFileA(handle, nullptr, &entry, INTERNET_FLAG_RELOAD, 0);
        if (!find)
            return false;
        do
            entries.push_back(entry);
        while (InternetFindNextFileA(find, &entry));
        InternetCloseHandle(find);
        return true;
    });
    if (!listed)
        return;
    // Adding rows lets the user interface run; no command may change the list meanwhile.
    FBusy = TBusy::Commanding;
    const QPointer<TqvFTP> alive(this);
    ShowListing(directory, entries, *listed);
    if (alive)
        FBusy = TBusy::Idle;
}

void TqvFTP::ShowListing(const QString& Directory, const std::vector<WIN32_FIND_DATAA>& Entries, const TFtpCallResult& Outcome)
{
    FListView->SetSortType(stNone);
    FListView->Items()->BeginUpdate();
    if (Directory != QLatin1String("/"))
        AddParentRow();
    TFileTypeNames types;
    TEntryTexts texts;
    for (size_t i = 0; i < Entries.size(); ++i) {
        if (i > 0 && OnDisplayMessage)
            Log(QStringLiteral("Transferring data for ") + Directory + QLatin1Char(' ') + QString::fromUtf8(Entries[i].cFileName));
        AddFile(Entries[i], types, texts);
    }
    if (!Outcome.Ok && Outcome.Error != ERROR_NO_MORE_FILES) {
        // The listing failed (a refused folder, a server gone): the server's refusal
        // tells why; a broken connection leaves only a preliminary reply, so our own text.
        FListView->Items()->EndUpdate();
        if (Outcome.Error != ERROR_INTERNET_EXTENDED_ERROR || !ShowLastResponseInfo(Outcome, true))
            DoShowMessage(QStringLiteral("Could not list %1 (Win32 Error %2)").arg(Directory, QString::number(Outcome.Error)));
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

void TqvFTP::AddFile(const WIN32_FIND_DATAA& Entry, TFileTypeNames& Types, TEntryTexts& Texts)
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
        const TSizeText size = Texts.Size(bytes);
        data->Size = size.Kilobytes;
        item->SubItems().Add(size.Text);
        FTotalSize += int64_t(bytes);
    }
    item->SubItems().Add(Texts.Date(Entry.ftLastWriteTime));
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
    const QPointer<TqvFTP> alive(this);
    if (data && !RefusedWhileBusy()) {
        const QString caption = selected->Caption();
        if (data->IsDirectory) {
            const auto changed = RunCommand([handle = FConnection.Handle(), directory = A(caption)] {
                return FtpSetCurrentDirectoryA(handle, directory.constData()) != 0;
            });
            if (changed && changed->Ok)
                RefreshFileList();
            else if (changed)
                ShowFailure(*changed, QStringLiteral("Could not change to directory ") + caption);
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
    if (alive && OnDblClick)
        OnDblClick(Sender);
}

bool TqvFTP::DownLoadSelected()
{
    if (const QString busy = BusyText(); !busy.isEmpty()) {
        Log(busy);
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
    if (!data || RefusedWhileBusy())
        return;
    const QString caption = selected->Caption();
    const bool folder = data->IsDirectory;
    if (!Confirm((folder ? QStringLiteral("Delete folder") : QStringLiteral("Delete")) + QStringLiteral(" \"") + caption
                 + QStringLiteral("\" ?")))
        return;
    const auto deleted = RunCommand([folder, handle = FConnection.Handle(), name = A(caption)] {
        return (folder ? FtpRemoveDirectoryA(handle, name.constData()) : FtpDeleteFileA(handle, name.constData())) != 0;
    });
    if (deleted && deleted->Ok)
        RefreshFileList();
    else if (deleted)
        ShowFailure(*deleted, QStringLiteral("Could not %1 %2 (Win32 Error %3)")
                                  .arg(folder ? QStringLiteral("delete folder") : QStringLiteral("delete"), caption,
                                       QString::number(deleted->Error)));
}

void TqvFTP::RenameOnClick(TObject*)
{
    if (TListItem* selected = FListView->Selected(); selected && !RefusedWhileBusy())
        selected->EditCaption();
}

void TqvFTP::ListviewEdited(TObject*, TListItem*, QString& S)
{
    TListItem* selected = FListView->Selected();
    if (!selected || S == selected->Caption())
        return;
    const QString caption = selected->Caption();
    if (RefusedWhileBusy()) {
        S = caption;
        return;
    }
    const auto renamed = RunCommand([handle = FConnection.Handle(), from = A(caption), to = A(S)] {
        return FtpRenameFileA(handle, from.constData(), to.constData()) != 0;
    });
    if (renamed && !renamed->Ok)
        ShowFailure(*renamed, QStringLiteral("Could not rename %1 (Win32 Error %2)").arg(caption, QString::number(renamed->Error)));
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
    if (Name.trimmed().isEmpty() || RefusedWhileBusy())
        return;
    // Without a reply (no connection, say) nothing more is shown.
    const auto made = RunCommand([handle = FConnection.Handle(), name = A(Name)] {
        return FtpCreateDirectoryA(handle, name.constData()) != 0;
    });
    if (made && made->Ok)
        RefreshFileList();
    else if (made)
        ShowLastResponseInfo(*made, true);
}

// --- Uploads ---

bool TqvFTP::Upload(const QString& Files, bool Wait)
{
    if (const QString busy = BusyText(); !busy.isEmpty()) {
        Log(busy);
        return false;
    }
    if (!Connected())
        Connect();
    if (!BusyText().isEmpty()) // another command began while Connect served the user interface
        return false;
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
