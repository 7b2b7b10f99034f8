#pragma once
// TqvFTP: a panel that shows the current folder of an FTP server in a list view and
// lets the user work in it: open folders by double-click, download, delete, rename,
// make folders, switch view style and sort order from a pop-up menu, and upload local
// files dropped onto it (on a worker thread, one upload at a time).
#include "internet/qvftpfiledata.h"
#include "internet/qvftpshell.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/listview.h"

#include <QStringList>
#include <atomic>
#include <memory>
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

class TqvFTP : public vcl::TPanel {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(QString HostName READ HostName WRITE SetHostName)
    Q_PROPERTY(QString LoginName READ LoginName WRITE SetLoginName)
    Q_PROPERTY(QString Password READ Password WRITE SetPassword)
    Q_PROPERTY(int Port READ Port WRITE SetPort)
    Q_PROPERTY(bool Passive READ Passive WRITE SetPassive)
    Q_PROPERTY(QString RemoteDir READ RemoteDir WRITE SetRemoteDir)
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
    QString HostName() const { return FHostName; }
    void SetHostName(const QString& Value) { FHostName = Value; }
    QString LoginName() const { return FLoginName; }
    void SetLoginName(const QString& Value) { FLoginName = Value; }
    QString Password() const { return FPassword; }
    void SetPassword(const QString& Value) { FPassword = Value; }
    int Port() const { return FPort; }
    void SetPort(int Value) { FPort = Value; }
    bool Passive() const { return FPassive; }
    void SetPassive(bool Value) { FPassive = Value; }
    QString RemoteDir() const { return FRemoteDir; }
    void SetRemoteDir(const QString& Value) { FRemoteDir = Value; }

    // Connects with the current properties and lists the start folder. Raises
    // vcl::Exception when HostName, LoginName or Password is empty.
    bool Connect();
    bool ConnectTo(const QString& Host, const QString& Login, const QString& APassword);
    bool Connected() const { return FConnection.Connected(); }
    // Closes the connection; an upload running on it stops within about a second.
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
    bool Downloading() const { return FDownloading; }
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
    bool ShowLastResponseInfo(bool Pause);
    // Shows the server's last reply, or Fallback when there is none.
    void ShowFailure(const QString& Fallback);
    // Refuses a command while a transfer uses the connection; true when refused.
    bool RefusedWhileUploading();
    void Download(const QString& Remote, const QString& Local);
    void ClearList();
    void AddParentRow();
    void AddFile(const platform::WIN32_FIND_DATAA& Entry, TFileTypeNames& Types);
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
    QString FHostName;
    QString FLoginName;
    QString FPassword;
    int FPort = 21;
    bool FPassive = true;
    QString FRemoteDir;
    std::atomic<bool> FUploading = false;
    bool FDownloading = false;
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
