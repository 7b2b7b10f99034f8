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

// The sort key of the list: name (folders first), date, size or type name.
enum TOrderBy { sbName, sbDate, sbSize, sbType };
Q_ENUM_NS(TOrderBy)

// A line for the user: a progress line (IsError false) or a failure to show (IsError true).
using TDisplayMessageEvent = std::function<void(vcl::TObject* Sender, const QString& Messagetext, bool IsError)>;
// Asks for the local path to download RemoteFilename to; an empty LocalFileName cancels.
using TGetLocalFileEvent = std::function<void(vcl::TObject* Sender, const QString& RemoteFilename, QString& LocalFileName)>;
// Asks the user to confirm Messagetext (a deletion); Confirm comes in false, and
// only a handler that sets it true lets the deletion go ahead.
using TGetConfirmationEvent = std::function<void(vcl::TObject* Sender, const QString& Messagetext, bool& Confirm)>;

class TUploadThread;

// The FTP browser panel: a list view of the server's current folder with a pop-up menu
// of commands; it accepts local files dropped onto it while Active.
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

    // Makes the list view (report style, columns Name, Size, Date, Type) and its image
    // lists; the pop-up menu is added by Loaded.
    explicit TqvFTP(vcl::TComponent* AOwner);
    ~TqvFTP() override;

    // Whether the panel accepts files dropped onto it; false at first, true at design time.
    bool Active() const { return FActive; }
    void SetActive(bool Value);

    // Connects with the current properties and lists the start folder; true when the
    // control is connected at the end. Raises vcl::Exception when HostName, LoginName or
    // Password is empty. Like every server command it runs on a worker thread while the
    // call serves the user interface, and is refused with a message while another runs.
    bool Connect();
    // Sets HostName, LoginName and Password, then connects as Connect does.
    bool ConnectTo(const QString& Host, const QString& Login, const QString& APassword);
    // Whether a connection is open.
    bool Connected() const { return FConnection.Connected(); }
    // Closes the connection; an upload or command running on it stops within about a
    // second (a command then shows nothing).
    void Disconnect();
    // Lists the server's current folder again and raises OnChange; does nothing without a
    // connection, and is refused with a message while another command runs.
    void RefreshFileList(vcl::TObject* Sender = nullptr);
    // Makes the folder Name in the current folder and lists it again; shows the server's
    // reply on failure. An empty or blank Name does nothing.
    void MakeDir(const QString& Name);
    // Uploads the local paths in Files (one per line) on a worker thread; with Wait the
    // call returns when the thread has ended, serving the user interface meanwhile.
    bool Upload(const QString& Files, bool Wait);
    // Downloads the selected file to the path OnGetLocalFile gives (or, without that
    // handler, a save dialog asks); false when busy, when no file is selected, or when the
    // name is unsafe as a local name, else true (also when the user cancelled).
    bool DownLoadSelected();
    // Whether the selected row is a file (not a folder or the parent row).
    bool CanDownLoad() const;
    // The name of the selected row; empty when nothing is selected.
    QString FileName() const;
    // The control's version number from its revision text: "1.01.00 " (the trailing
    // blank is part of it).
    QString VersionString() const;

    // Whether the form file stores PopupMenu: only a menu other than the control's own.
    Q_INVOKABLE bool IsPopupMenuStored() const { return PopupMenu() != nullptr && PopupMenu() != FOwnMenu; }

    // An upload thread is running.
    bool Uploading() const { return FUploading; }
    // A download is running.
    bool Downloading() const { return FBusy == TBusy::Downloading; }
    // A server command (connecting, listing, changing folder, deleting, renaming, making
    // a folder, downloading) runs on a worker thread; further commands are refused.
    bool Busy() const { return FBusy != TBusy::Idle; }
    // The list view the control shows the folder in.
    vcl::TListView* ListView() const { return FListView; }
    // The current sort key.
    TOrderBy OrderBy() const { return FOrderBy; }
    // Files in the last listing.
    int FileCount() const { return FFileCount; }
    // Bytes of the files in the last listing.
    int64_t TotalSize() const { return FTotalSize; }
    // The record behind a row (null for a row the control did not make).
    TExtraFileData* FileData(vcl::TListItem* Item) const;
    // The pop-up menu's item for Command, null before Loaded made the items.
    vcl::TMenuItem* MenuItem(TMenuCommand Command) const;

    // The list's double-click: opens a folder row, or downloads a file row to the path
    // OnGetLocalFile gives; then raises OnDblClick.
    void DoDblClick(vcl::TObject* Sender);
    // The menu's Delete: deletes the selected file or folder after OnGetConfirmation
    // agrees, then lists the folder again.
    void DeleteOnClick(vcl::TObject* Sender);
    // The menu's Rename: starts editing the selected row's caption (see ListviewEdited).
    void RenameOnClick(vcl::TObject* Sender);
    // The menu's New folder: asks for a name and calls MakeDir with it.
    void MakeDirOnClick(vcl::TObject* Sender);
    // Shows the list as large icons.
    void ViewLargeIcons(vcl::TObject* Sender);
    // Shows the list as small icons.
    void ViewSmallIcons(vcl::TObject* Sender);
    // Shows the list as a list.
    void ViewList(vcl::TObject* Sender);
    // Shows the list as a report with columns.
    void ViewReport(vcl::TObject* Sender);
    // Sorts the list by name, folders first.
    void OrderByName(vcl::TObject* Sender);
    // Sorts the list by size.
    void OrderBySize(vcl::TObject* Sender);
    // Sorts the list by date.
    void OrderByDate(vcl::TObject* Sender);
    // Sorts the list by type name.
    void OrderByType(vcl::TObject* Sender);
    // The list's sort comparison by OrderBy: Compare gets -1, 0 or 1 (reversed when the
    // key is descending); 0 for a row the control did not make.
    void ListViewCompare(vcl::TObject* Sender, vcl::TListItem* Item1, vcl::TListItem* Item2, int Data, int& Compare);
    // A click on a column header sorts by that column; a second click on the same one
    // reverses the order.
    void ListViewColumnClick(vcl::TObject* Sender, vcl::TListColumn* Column);
    // The end of a caption edit: renames the file on the server; when refused while busy
    // S gets the old caption back.
    void ListviewEdited(vcl::TObject* Sender, vcl::TListItem* Item, QString& S);
    // Enables the pop-up menu's commands for the selected row and the connection.
    void MyPopupMenuOnPopup(vcl::TObject* Sender);

    // Runs on the user-interface thread when the upload thread is done.
    void UploadComplete();

    // Raised after each listing.
    vcl::TNotifyEvent OnChange;
    // Raised after a double-click on the list has been handled.
    vcl::TNotifyEvent OnDblClick;
    // Receives progress lines and failures; without it failures show in a message box.
    TDisplayMessageEvent OnDisplayMessage;
    // Asks before a deletion; without it a message box asks.
    TGetConfirmationEvent OnGetConfirmation;
    // Names the local file for a download.
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
