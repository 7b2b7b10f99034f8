#pragma once
// TqvFileListView: a list view of one directory's files in icon, small-icon, list,
// report or thumbnail style, with its own pop-up menu, every text in the language of
// its Language property, and a folder combo box and a file-name edit that follow it.
#include "files/qvfilectrls.h"
#include "files/qvfilenameedit.h"
#include "files/qvfilerows.h"
#include "files/qvfoldercombo.h"
#include "vcl/controls/listview.h"
#include "vcl/controls/menus.h"

#include <QHash>
#include <QPair>
#include <QStringList>
#include <memory>
#include <vector>

namespace Qvfilectrls {

class TThumbnailLoader;

// Called with a file's full path when a row is selected.
using TFileSelectEvent = std::function<void(vcl::TObject* Sender, const QString& FileName)>;
// Called after the directory changed, with the old and the new one and whether GoBack can
// return.
using TDirectoryChangeEvent = std::function<void(
    vcl::TObject* Sender, const QString& OldDirectory, const QString& Directory, bool CanGoBack)>;
// Called with the full paths of files dropped on the list.
using TFileDropEvent = std::function<void(vcl::TObject* Sender, const QStringList& Files)>;

// Special directory names: the desktop, the mounted volumes, the network and the trash.
extern const QString DesktopDirectory;
extern const QString DrivesDirectory; // The mounted volumes.
extern const QString NetworkDirectory; // The network (lists nothing: the platform offers no neighbourhood).
extern const QString RecycledDirectory; // The trash.

// Sub-items of a row, after the caption.
enum TFileColumn { fcSize, fcType, fcDate, fcAttr, fcFileName, fcLinkTarget };

// A list view of one directory's folders and files in five languages, with its own pop-up
// menu (view styles, sorting, thumbnails, new folder, delete, rename, open), thumbnails
// decoded on a worker thread, and a folder combo box and file-name edit that follow it.
class TqvFileListView : public vcl::TCustomListView {
    Q_OBJECT
    Q_PROPERTY(Qvfilectrls::TFileViewLanguage Language READ Language WRITE SetLanguage)
    Q_CLASSINFO("Default:Language", "lnUserDefault")
    Q_PROPERTY(Qvfilectrls::TFileListViewAttrs FileViewType READ FileViewType WRITE SetFileViewType)
    Q_CLASSINFO("Default:FileViewType", "[flvReadOnly, flvHidden, flvSystem]")
    Q_PROPERTY(QString Mask READ Mask WRITE SetMask)
    Q_CLASSINFO("Default:Mask", "'*.*'")
    Q_PROPERTY(Qvfilectrls::TSortedBy SortedBy READ SortedBy WRITE SetSortedBy)
    Q_CLASSINFO("Default:SortedBy", "sbName")
    Q_PROPERTY(Qvfilectrls::TViewIconStyle ViewIconStyle READ ViewIconStyle WRITE SetViewIconStyle)
    Q_CLASSINFO("Default:ViewIconStyle", "visList")
    Q_PROPERTY(int ThumbnailSize READ ThumbnailSize WRITE SetThumbnailSize)
    Q_CLASSINFO("Default:ThumbnailSize", "32")
    Q_PROPERTY(bool MaskBrowseImage READ MaskBrowseImage WRITE SetMaskBrowseImage)
    Q_CLASSINFO("Default:MaskBrowseImage", "False")
    Q_PROPERTY(bool PoPupImageBrowserEnabled READ PoPupImageBrowserEnabled WRITE SetPoPupImageBrowserEnabled)
    Q_CLASSINFO("Default:PoPupImageBrowserEnabled", "True")
    Q_PROPERTY(bool ReadEnabled READ ReadEnabled WRITE SetReadEnabled)
    Q_CLASSINFO("Default:ReadEnabled", "True")
    Q_PROPERTY(bool NetWorkEnabled READ NetWorkEnabled WRITE SetNetWorkEnabled)
    Q_CLASSINFO("Default:NetWorkEnabled", "False")
    Q_PROPERTY(bool ResolveLink READ ResolveLink WRITE SetResolveLink)
    Q_CLASSINFO("Default:ResolveLink", "False")
    Q_PROPERTY(bool ExecuteOpen READ ExecuteOpen WRITE SetExecuteOpen)
    Q_CLASSINFO("Default:ExecuteOpen", "False")
    Q_PROPERTY(Qvfilectrls::TqvFolderCombo* DirCombo READ DirCombo WRITE SetDirCombo)
    Q_PROPERTY(Qvfilectrls::TqvFilenameEdit* FileEdit READ FileEdit WRITE SetFileEdit)
    // The list's own menu is made with it and is not stored; a menu of the form's is.
    Q_CLASSINFO("Stored:PopupMenu", "IsPopupMenuStored")
    // The view style follows ViewIconStyle, and the image lists are the list's own.
    Q_CLASSINFO("Stored:ViewStyle", "IsOwnStateStored")
    Q_CLASSINFO("Default:ViewStyle", "vsList")
    Q_CLASSINFO("Stored:LargeImages", "IsOwnStateStored")
    Q_CLASSINFO("Stored:SmallImages", "IsOwnStateStored")

public:
    // Report columns: caption offset, width and alignment.
    enum ColumnWidths { NameWidth = 135, SizeWidth = 60, TypeWidth = 125, DateWidth = 120, AttrWidth = 50 };

    // Creates the list with its menu, columns and image lists, owned (and freed) by AOwner.
    explicit TqvFileListView(vcl::TComponent* AOwner);
    ~TqvFileListView() override;

    // The language of the column captions and menu texts.
    TFileViewLanguage Language() const { return FLanguage; }
    // Takes the texts of the new language: the menu is rebuilt and the columns captioned
    // again.
    void SetLanguage(TFileViewLanguage Value);
    // The attributes a file may carry and still be listed; changing it reads the directory
    // again.
    TFileListViewAttrs FileViewType() const { return FFileViewType; }
    void SetFileViewType(TFileListViewAttrs Value);
    // The ";"-separated file masks the files must match (folders are always listed), on
    // the name only and in any case; changing it reads the directory again.
    QString Mask() const { return FMask; }
    void SetMask(const QString& Value);
    // The sort order of the rows; folders come first in both directions.
    TSortedBy SortedBy() const { return FSortedBy; }
    void SetSortedBy(TSortedBy Value);
    // The view style; switching to or from visBrowseImage reads the directory again, and
    // OnViewChange follows.
    TViewIconStyle ViewIconStyle() const { return FViewIconStyle; }
    void SetViewIconStyle(TViewIconStyle Value);
    // The edge of the thumbnails in pixels.
    int ThumbnailSize() const { return FThumbnailSize; }
    // Thumbnail edges from 8 to 256 pixels; other values are refused with EInvalidOperation.
    void SetThumbnailSize(int Value);
    // In thumbnail view, lists only the picture files (and the folders).
    bool MaskBrowseImage() const { return FMaskBrowseImage; }
    void SetMaskBrowseImage(bool Value);
    // When false the list has no pop-up menu of its own.
    bool PoPupImageBrowserEnabled() const { return FPopupEnabled; }
    void SetPoPupImageBrowserEnabled(bool Value);
    // While false, setting the directory or ReRead reads nothing.
    bool ReadEnabled() const { return FReadEnabled; }
    void SetReadEnabled(bool Value) { FReadEnabled = Value; }
    // The platform offers no network neighbourhood, so NETWORK lists nothing either way.
    bool NetWorkEnabled() const { return FNetWorkEnabled; }
    void SetNetWorkEnabled(bool Value) { FNetWorkEnabled = Value; }
    // Opening a link row acts on the link's target.
    bool ResolveLink() const { return FResolveLink; }
    void SetResolveLink(bool Value) { FResolveLink = Value; }
    // Double-clicking a file opens it with the desktop's application for its type.
    bool ExecuteOpen() const { return FExecuteOpen; }
    void SetExecuteOpen(bool Value) { FExecuteOpen = Value; }
    // The folder combo box that follows the list (null for none).
    TqvFolderCombo* DirCombo() const { return FDirCombo; }
    void SetDirCombo(TqvFolderCombo* Value);
    // The edit that shows the selected file's name (null for none).
    TqvFilenameEdit* FileEdit() const { return FFileEdit; }
    void SetFileEdit(TqvFilenameEdit* Value);

    // The directory listed: a file-system path or one of the special names. Setting it
    // reads it (the old one is remembered for GoBack).
    QString Directory() const { return FDirectory; }
    void SetDirectory(const QString& Value);
    // True when GoBack has a directory to return to.
    bool CanGoBack() const { return !FHistory.isEmpty(); }
    void GoBack(); // Shows the directory listed before the current one; nothing when there is none.
    // Reads the directory again (nothing while ReadEnabled is false).
    void ReRead();
    // Sorts the rows by SortedBy, with the hourglass showing meanwhile.
    void SortBy();
    // The current text base (language number x 100, or 900 for English).
    int TextBase() const { return FTextBase; }
    // Total size of the listed files.
    int64_t TotalSize() const { return FTotalSize; }
    // The full path of a row (empty for rows that are no file).
    QString PathOf(vcl::TListItem* Item) const;
    // True while thumbnails of the current listing are still being decoded.
    bool ThumbnailsPending() const;
    // Runs a menu item by its name, as choosing it does.
    void MenuAction(const QString& ItemName);
    // The list's own pop-up menu (in the list's language).
    vcl::TPopupMenu* FileMenu() const { return FOwnMenu.get(); }
    // Whether PopupMenu is written to a form file: only a menu other than the list's own.
    Q_INVOKABLE bool IsPopupMenuStored() const { return PopupMenu() != FOwnMenu.get(); }
    Q_INVOKABLE bool IsOwnStateStored() const { return false; } // The view style and image lists are the list's own and never written.

    // Called after the view style changed.
    vcl::TNotifyEvent OnViewChange;
    TFileSelectEvent OnFileSelect; // Called when a file row is selected (see TFileSelectEvent).
    TDirectoryChangeEvent OnDirectoryChange; // Called after the directory changed (see TDirectoryChangeEvent).
    TFileDropEvent OnFileDrop; // Called when files are dropped on the list (see TFileDropEvent).

protected:
    void ColClick(vcl::TListColumn* Column) override;
    void Edit(vcl::TListItem* Item, const QString& NewText) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void DblClick() override;
    void WMDropFiles(vcl::TMessage& Message) override;

private:
    struct TRowRecord;
    void CreateColumns();
    void CaptionColumns();
    void RebuildMenu();
    void ApplyViewIconStyle();
    // Reads the new directory and tells the combo box and OnDirectoryChange.
    void DirectoryChanged(const QString& OldDirectory);
    void FillRows(const std::vector<TFileEntry>& Entries);
    void FillFileRow(vcl::TListItem* Item, const TFileEntry& Entry);
    void ListDrives();
    void ListDesktop();
    int SystemImage(int SmallIndex, int LargeIndex);
    int ThumbnailPlaceholder(int LargeIndex);
    TRowKey KeyOf(vcl::TListItem* Item) const;
    void OpenItem(vcl::TListItem* Item);
    void DeleteSelected();
    void NewFolder();
    void ShowSelectedFile();

    TFileViewLanguage FLanguage = lnUserDefault;
    TFileListViewAttrs FFileViewType = flvAll;
    QString FMask = QStringLiteral("*.*");
    TSortedBy FSortedBy = sbName;
    TViewIconStyle FViewIconStyle = visList;
    int FThumbnailSize = 32;
    bool FMaskBrowseImage = false;
    bool FPopupEnabled = true;
    bool FReadEnabled = true;
    bool FNetWorkEnabled = false;
    bool FResolveLink = false;
    bool FExecuteOpen = false;
    TqvFolderCombo* FDirCombo = nullptr;
    TqvFilenameEdit* FFileEdit = nullptr;

    int FTextBase = FallbackTextBase;
    QString FDirectory;
    QStringList FHistory;
    int64_t FTotalSize = 0;
    int FLastColumn = -1;
    bool FColumnToggle = false;
    // The menu belongs to the list alone (no owner), so form files never hold it.
    std::unique_ptr<vcl::TPopupMenu> FOwnMenu;
    // Copies of the system icons (same indices as the process-wide lists) and thumbnails.
    std::unique_ptr<vcl::TCustomImageList> FSmallIcons;
    std::unique_ptr<vcl::TCustomImageList> FLargeIcons;
    std::unique_ptr<vcl::TCustomImageList> FThumbnails;
    std::unique_ptr<TThumbnailLoader> FLoader;
    QHash<QPair<int, int>, int> FIconIndex;
    std::vector<std::unique_ptr<TRowRecord>> FRecords;
};

} // namespace Qvfilectrls
