#pragma once
// TqvFTP: a panel that shows the current folder of an FTP server in a list view and
// lets the user work in it: open folders by double-click, download, delete, rename,
// make folders, switch view style and sort order from a pop-up menu, and upload local
// files dropped onto it (on a worker thread, one upload at a time).
#include "internet/qvftpfiledata.h"
#include "internet/qvftpcall.h"
#include "internet/qvftpserversettings.h"
#include "internet/qvftpshell.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/listview.h"

#include <QStringList>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace vcl {
class TMenuItem;
class TPopupMenu;
class TImageList;
} // namespace vcl

namespace Qvftpshell {

Q_NAMESPACE

enum TOrderBy { sbName, sbDate, sbSize, sbType };
Q_ENUM_NS(TOrderBy)

using TDisplayMessageEvent = std::function<void(vcl::TObject* Sender, const QString& Messagetext, bool IsError)>;
using TGetLocalFileEvent = std::function<void(vcl::TObject* Sender, const QString& RemoteFilename, QString& LocalFileName)>;
using TGetConfirmationEvent = std::function<void(vcl::TObject* Sender, const QString& Messagetext, bool& Confirm)>;

class TUploadThread;

class TqvFTP : public vcl::TPanel, public TFtpServerSettings {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    QV_FTP_SERVER_PROPERTIES
    // The menu the control makes for itself is part of it, not of the form file.
    Q_CLASSINFO("Stored:PopupMenu", "IsPopupMenuStored")

public:
    // The pop-up menu's own items, counted from the items it had before (MenuBase).
    enum TMenuCommand { mcGet, mcLine1, mcDelete, mcRename, mcNewFolder, mcView, mcLine2, mcOrder, mcLine3, mcRefresh };
    // Columns of the report view, in order.
    enum TColumn { colName, colSize, colDate, colType };

    explicit TqvFTP(vcl::TComponent* AOwner);
    ~TqvFTP() override;

    bool Active() const { return FActive; }
    void SetActive(bool Value);

    // Connects with the current properties and lists the start folder; true when the
    // control is connected at the end. Raises vcl::Exception when HostName, LoginName or
    // Password is empty. Like every server command it runs on a worker thread while the
    // call serves the user interface, and is refused with a message while another runs.
    bool Connect();
    bool ConnectTo(const QString& Host, const QString& Login, const QString& APassword);
    bool Connected() const { return FConnection.Connected(); }
    // Closes the connection; an upload or command running on it stops within about a
    // second (a command then shows nothing).
    void Disconnect();
    void RefreshFileList(vcl::TObject* Sender = nullptr);
    void MakeDir(const QString& Name);
    // Uploads the local paths in Files (one per line) on a worker thread; with Wait the
    // call returns when the thread has ended, serving the user interface meanwhile.
    bool Upload(const QString& Files, bool Wait);
    bool DownLoadSelected();
    bool CanDownLoad() const;
    QString FileName() const;
    QString VersionString() const;

    Q_INVOKABLE bool IsPopupMenuStored() const { return PopupMenu() != nullptr && PopupMenu() != FOwnMenu; }

    bool Uploading() const { return FUploading; }
    bool Downloading() const { return FBusy == TBusy::Downloading; }
    // A server command (connecting, listing, changing folder, deleting, renaming, making
    // a folder, downloading) runs on a worker thread; further commands are refused.
    bool Busy() const { return FBusy != TBusy::Idle; }
    // The list view the control shows the folder in.
    vcl::TListView* ListView() const { return FListView; }
    TOrderBy OrderBy() const { return FOrderBy; }
    // Files in the last listing, and their bytes.
    int FileCount() const { return FFileCount; }
    int64_t TotalSize() const { return FTotalSize; }
    // The record behind a row (null for a row the control did not make).
    TExtraFileData* FileData(vcl::TListItem* Item) const;
    // The pop-up menu's item for Command, null before Loaded made the items.
    vcl::TMenuItem* MenuItem(TMenuCommand Command) const;

    // The menu and list handlers.
    void DoDblClick(vcl::TObject* Sender);
    void DeleteOnClick(vcl::TObject* Sender);
    void RenameOnClick(vcl::TObject* Sender);
    void MakeDirOnClick(vcl::TObject* Sender);
    void ViewLargeIcons(vcl::TObject* Sender);
    void ViewSmallIcons(vcl::TObject* Sender);
    void ViewList(vcl::TObject* Sender);
    void ViewReport(vcl::TObject* Sender);
    void OrderByName(vcl::TObject* Sender);
    void OrderBySize(vcl::TObject* Sender);
    void OrderByDate(vcl::TObject* Sender);
    void OrderByType(vcl::TObject* Sender);
    void ListViewCompare(vcl::TObject* Sender, vcl::TListItem* Item1, vcl::TListItem* Item2, int Data, int& Compare);
    void ListViewColumnClick(vcl::TObject* Sender, vcl::TListColumn* Column);
    void ListviewEdited(vcl::TObject* Sender, vcl::TListItem* Item, QString& S);
    void MyPopupMenuOnPopup(vcl::TObject* Sender);

    // Runs on the user-interface thread when the upload thread is done.
    void UploadComplete();

    vcl::TNotifyEvent OnChange;
    vcl::TNotifyEvent OnDblClick;
    TDisplayMessageEvent OnDisplayMessage;
    TGetConfirmationEvent OnGetConfirmation;
    TGetLocalFileEvent OnGetLocalFile;

    // Wires up the list and adds the pop-up menu's commands (at run time).
    void Loaded() override;

protected:
    virtual void Change();
    void WMDropFiles(vcl::TMessage& Message) override;

private:
    friend class TUploadThread;

    void Log(const QString& Text);
    void DoShowMessage(const QString& Text);
    bool Confirm(const QString& Text);
    // Shows the last line of a call's server reply; false when there was none.
    bool ShowLastResponseInfo(const TFtpCallResult& Outcome, bool Pause);
    // Shows the call's server reply, or Fallback when there is none.
    void ShowFailure(const TFtpCallResult& Outcome, const QString& Fallback);
    enum class TBusy { Idle, Commanding, Downloading };
    // The message for a command refused now, empty when the connection is free.
    QString BusyText() const;
    // Refuses a command while another one or a transfer uses the connection; true when refused.
    bool RefusedWhileBusy();
    // Runs Call (which gets copies, never this control) on a worker thread while the user
    // interface keeps running. Empty when the control was destroyed or disconnected
    // meanwhile: the caller then returns at once and touches nothing.
    std::optional<TFtpCallResult> RunCommand(const std::function<bool()>& Call, TBusy Kind = TBusy::Commanding);
    void Download(const QString& Remote, const QString& Local);
    // Adds the rows of a listing that arrived; Outcome: how the listing ended.
    void ShowListing(const QString& Directory, const std::vector<platform::ftp::WIN32_FIND_DATAA>& Entries,
                     const TFtpCallResult& Outcome);
    void ClearList();
    void AddParentRow();
    void AddFile(const platform::WIN32_FIND_DATAA& Entry, TFileTypeNames& Types, TEntryTexts& Texts);
    void Resort();
    int IconIndex(const QString& Name, bool IsDirectory);
    void SetViewStyle(vcl::TViewStyle Style, int MenuIndex);
    void SetOrder(TOrderBy Order, int MenuIndex);
    bool& Descending(TOrderBy Order);
    void AddMenuItems();
    void StopUpload();
    // Serves the user interface until the running upload, if any, has ended.
    void WaitForUploadEnd();
    // Logs a line from the upload thread on the user-interface thread.
    void LogLater(const QString& Text);

    TqvFTPConnection FConnection;
    bool FDescending[4] = {};
    TOrderBy FOrderBy = sbName;
    vcl::TPopupMenu* FOwnMenu = nullptr;
    vcl::TMenuItem* FViewMenu = nullptr;
    vcl::TMenuItem* FOrderMenu = nullptr;
    int FMenuBase = 0;
    int FFileCount = 0;
    bool FActive = false;
    std::atomic<bool> FUploading = false;
    TBusy FBusy = TBusy::Idle;
    // Counts Disconnect calls, so a command learns that its connection went meanwhile.
    int FDisconnects = 0;
    int64_t FTotalSize = 0;
    vcl::TListView* FListView = nullptr;
    vcl::TImageList* FLargeIcons = nullptr;
    vcl::TImageList* FSmallIcons = nullptr;
    // Icon of each kind of name, as an index into both image lists.
    QHash<QString, int> FIconIndexes;
    std::vector<std::unique_ptr<TExtraFileData>> FRecords;
    std::unique_ptr<TUploadThread> FUploadThread;
};

} // namespace Qvftpshell
