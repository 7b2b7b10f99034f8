#include "files/qvfilelistview.h"

#include "files/qvfilelistmenu.h"
#include "files/qvthumbnails.h"
#include "platform/shell/shellfileinfo.h"
#include "platform/shell/systemimagelist.h"
#include "platform/shell/trashcan.h"
#include "vcl/controls/dropfiles.h"
#include "vcl/controls/screen.h"
#include "vcl/controls/winuser.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/streaming/formfile.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QUrl>

namespace Qvfilectrls {

const QString DesktopDirectory = QStringLiteral("DESKTOP");
const QString DrivesDirectory = QStringLiteral("DRIVES");
const QString NetworkDirectory = QStringLiteral("NETWORK");
const QString RecycledDirectory = QStringLiteral("RECYCLED");

static const bool EventsPublished = vcl::RegisterEvent(&TqvFileListView::OnViewChange, "OnViewChange")
    && vcl::RegisterEvent(&TqvFileListView::OnFileSelect, "OnFileSelect")
    && vcl::RegisterEvent(&TqvFileListView::OnDirectoryChange, "OnDirectoryChange")
    && vcl::RegisterEvent(&TqvFileListView::OnFileDrop, "OnFileDrop");

// What a row stands for, kept beside the row's texts: sorting reads the size and time
// from here rather than parsing them back from their texts.
struct TqvFileListView::TRowRecord {
    QString Path;
    int64_t Size = 0;
    QDateTime Modified;
    QString LinkTarget;
};

namespace {

constexpr int SmallIconSize = 16;
constexpr int LargeIconSize = 32;
constexpr int MinThumbnailSize = 8;
constexpr int MaxThumbnailSize = 256;

struct TColumnLayout {
    TTextOffset Caption;
    int Width;
    vcl::TAlignment Alignment;
};
constexpr TColumnLayout ColumnLayouts[] = {
    {txColumnName, TqvFileListView::NameWidth, vcl::taLeftJustify},
    {txColumnSize, TqvFileListView::SizeWidth, vcl::taRightJustify},
    {txColumnType, TqvFileListView::TypeWidth, vcl::taLeftJustify},
    {txColumnDate, TqvFileListView::DateWidth, vcl::taLeftJustify},
    {txColumnAttr, TqvFileListView::AttrWidth, vcl::taRightJustify},
};

struct TShellFacts {
    QString DisplayName;
    QString TypeName;
    int SmallIcon = -1;
    int LargeIcon = -1;
};

TShellFacts ShellFactsOf(const QString& Path)
{
    using namespace platform::shell;
    TShellFacts facts;
    const QByteArray path = Path.toUtf8();
    SHFILEINFO info;
    if (SHGetFileInfo(path.constData(), 0, &info, sizeof info,
            SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
        facts.DisplayName = QString::fromUtf8(info.szDisplayName);
        facts.TypeName = QString::fromUtf8(info.szTypeName);
        facts.SmallIcon = info.iIcon;
    }
    SHFILEINFO large;
    if (SHGetFileInfo(path.constData(), 0, &large, sizeof large, SHGFI_SYSICONINDEX | SHGFI_LARGEICON))
        facts.LargeIcon = large.iIcon;
    return facts;
}

// The caption of a row: the shell's display name, or the file name when the shell has
// none or had to cut a long name short.
QString CaptionOf(const TShellFacts& Facts, const QString& FileName)
{
    return Facts.DisplayName.isEmpty() || FileName.startsWith(Facts.DisplayName) ? FileName : Facts.DisplayName;
}

} // namespace

TqvFileListView::TqvFileListView(vcl::TComponent* AOwner)
    : TCustomListView(AOwner),
      FOwnMenu(std::make_unique<vcl::TPopupMenu>(nullptr)),
      FSmallIcons(std::make_unique<vcl::TCustomImageList>(SmallIconSize, SmallIconSize)),
      FLargeIcons(std::make_unique<vcl::TCustomImageList>(LargeIconSize, LargeIconSize)),
      FThumbnails(std::make_unique<vcl::TCustomImageList>(FThumbnailSize, FThumbnailSize)),
      FLoader(std::make_unique<TThumbnailLoader>([this](int Slot, const QImage& Thumbnail) {
          if (Slot < FThumbnails->Count()) {
              vcl::TBitmap bitmap;
              bitmap.AssignImage(Thumbnail);
              FThumbnails->Replace(Slot, &bitmap, nullptr);
              View()->viewport()->update();
          }
      }))
{
    (void)EventsPublished;
    SetShowColumnHeaders(true);
    SetColumnClick(true);
    SetSmallImages(FSmallIcons.get());
    FTextBase = TextBaseOf(FLanguage);
    CreateColumns();
    RebuildMenu();
    SetPopupMenu(FOwnMenu.get());
    ApplyViewIconStyle();
    vcl::DragAcceptFiles(Handle(), true);
    // Every view of the list shares one selection model.
    connect(View()->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!ComponentState().testFlag(vcl::csDestroying) && !Items()->Updating())
            ShowSelectedFile();
    });
}

TqvFileListView::~TqvFileListView()
{
    SetPopupMenu(nullptr);
    FLoader.reset();
    Items()->Clear();
}

void TqvFileListView::CreateColumns()
{
    for (const TColumnLayout& layout : ColumnLayouts) {
        vcl::TListColumn* column = Columns()->Add();
        column->SetWidth(layout.Width);
        column->SetAlignment(layout.Alignment);
    }
    CaptionColumns();
}

void TqvFileListView::CaptionColumns()
{
    for (int i = 0; i < Columns()->Count(); ++i)
        Columns()->Items(i)->SetCaption(FileListText(FTextBase, ColumnLayouts[i].Caption));
}

void TqvFileListView::RebuildMenu()
{
    FillFileListMenu(*FOwnMenu, FTextBase, [this](vcl::TObject* Sender) {
        if (auto* item = dynamic_cast<vcl::TMenuItem*>(Sender))
            MenuAction(item->Name());
    });
    FOwnMenu->OnPopup = [this](vcl::TObject*) {
        UpdateFileListMenu(*FOwnMenu,
            {FViewIconStyle, FSortedBy, FThumbnailSize, FMaskBrowseImage, Selected() != nullptr});
    };
}

void TqvFileListView::SetLanguage(TFileViewLanguage Value)
{
    if (Value == FLanguage)
        return;
    FLanguage = Value;
    FTextBase = TextBaseOf(FLanguage);
    RebuildMenu();
    CaptionColumns();
    if (FDirCombo)
        FDirCombo->ShowDirectory(FDirectory, FTextBase);
    ReRead(); // drive and trash rows carry texts of the language
}

void TqvFileListView::SetFileViewType(TFileListViewAttrs Value)
{
    if (Value == FFileViewType)
        return;
    FFileViewType = Value;
    ReRead();
}

void TqvFileListView::SetMask(const QString& Value)
{
    if (Value == FMask)
        return;
    FMask = Value;
    ReRead();
}

void TqvFileListView::SetSortedBy(TSortedBy Value)
{
    FSortedBy = Value;
    SortBy();
}

void TqvFileListView::SetViewIconStyle(TViewIconStyle Value)
{
    if (Value == FViewIconStyle)
        return;
    const bool thumbnailsChange = Value == visBrowseImage || FViewIconStyle == visBrowseImage;
    FViewIconStyle = Value;
    ApplyViewIconStyle();
    if (thumbnailsChange)
        ReRead(); // rows take thumbnails or icons, and the picture mask may apply
    else
        SortBy();
    if (OnViewChange)
        OnViewChange(this);
}

void TqvFileListView::ApplyViewIconStyle()
{
    static constexpr vcl::TViewStyle styles[] = {vcl::vsIcon, vcl::vsSmallIcon, vcl::vsList, vcl::vsReport, vcl::vsIcon};
    SetLargeImages(FViewIconStyle == visBrowseImage ? FThumbnails.get() : FLargeIcons.get());
    SetViewStyle(styles[FViewIconStyle]);
}

void TqvFileListView::SetThumbnailSize(int Value)
{
    if (Value < MinThumbnailSize || Value > MaxThumbnailSize)
        throw vcl::EInvalidOperation(
            QStringLiteral("ThumbnailSize %1 is outside %2..%3").arg(Value).arg(MinThumbnailSize).arg(MaxThumbnailSize));
    if (Value == FThumbnailSize)
        return;
    FThumbnailSize = Value;
    FThumbnails->SetWidth(Value);
    FThumbnails->SetHeight(Value);
    if (FViewIconStyle == visBrowseImage)
        ReRead();
}

void TqvFileListView::SetMaskBrowseImage(bool Value)
{
    if (Value == FMaskBrowseImage)
        return;
    FMaskBrowseImage = Value;
    if (FViewIconStyle == visBrowseImage)
        ReRead();
}

void TqvFileListView::SetPoPupImageBrowserEnabled(bool Value)
{
    FPopupEnabled = Value;
    SetPopupMenu(Value ? FOwnMenu.get() : nullptr);
}

void TqvFileListView::SetDirCombo(TqvFolderCombo* Value)
{
    if (Value == FDirCombo)
        return;
    if (FDirCombo)
        FDirCombo->SetFileList(nullptr);
    FDirCombo = Value;
    if (FDirCombo) {
        FDirCombo->FreeNotification(this);
        FDirCombo->SetFileList(this);
        FDirCombo->ShowDirectory(FDirectory, FTextBase);
    }
}

void TqvFileListView::SetFileEdit(TqvFilenameEdit* Value)
{
    if (Value == FFileEdit)
        return;
    FFileEdit = Value;
    if (FFileEdit)
        FFileEdit->FreeNotification(this);
    ShowSelectedFile();
}

void TqvFileListView::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation)
{
    TCustomListView::Notification(AComponent, Operation);
    if (Operation != vcl::TOperation::opRemove)
        return;
    if (AComponent == FDirCombo)
        FDirCombo = nullptr;
    if (AComponent == FFileEdit)
        FFileEdit = nullptr;
}

void TqvFileListView::SetDirectory(const QString& Value)
{
    if (Value == FDirectory)
        return;
    const QString old = FDirectory;
    if (!old.isEmpty())
        FHistory.append(old);
    FDirectory = Value;
    DirectoryChanged(old);
}

void TqvFileListView::GoBack()
{
    if (FHistory.isEmpty())
        return;
    const QString old = FDirectory;
    FDirectory = FHistory.takeLast();
    DirectoryChanged(old);
}

void TqvFileListView::DirectoryChanged(const QString& OldDirectory)
{
    ReRead();
    if (FDirCombo)
        FDirCombo->ShowDirectory(FDirectory, FTextBase);
    if (OnDirectoryChange)
        OnDirectoryChange(this, OldDirectory, FDirectory, CanGoBack());
}

void TqvFileListView::ReRead()
{
    if (!FReadEnabled)
        return;
    FTotalSize = 0;
    FLoader->StartBatch();
    Items()->BeginUpdate();
    Items()->Clear();
    FRecords.clear();
    FThumbnails->Clear();
    if (FDirectory == DesktopDirectory)
        ListDesktop();
    else if (FDirectory == DrivesDirectory)
        ListDrives();
    else if (FDirectory == NetworkDirectory) {
        // The platform has no network neighbourhood: only the whole network's row.
        if (FNetWorkEnabled)
            Items()->Add()->SetCaption(FileListText(FTextBase, txAllNetwork));
    } else if (FDirectory == RecycledDirectory)
        FillRows(ReadDirectory(QDir::homePath() + QStringLiteral("/.local/share/Trash/files"), FMask, FFileViewType));
    else
        FillRows(ReadDirectory(FDirectory, FMask, FFileViewType));
    Items()->EndUpdate();
    SortBy();
    ShowSelectedFile();
}

void TqvFileListView::FillRows(const std::vector<TFileEntry>& Entries)
{
    const bool browsing = FViewIconStyle == visBrowseImage;
    for (const TFileEntry& entry : Entries) {
        const bool directory = entry.Attributes & faDirectory;
        if (browsing && FMaskBrowseImage && !directory && !IsPictureFile(entry.Name))
            continue;
        FillFileRow(Items()->Add(), entry);
    }
}

void TqvFileListView::FillFileRow(vcl::TListItem* Item, const TFileEntry& Entry)
{
    const TShellFacts facts = ShellFactsOf(Entry.Path);
    auto record = std::make_unique<TRowRecord>(TRowRecord{Entry.Path, Entry.Size, Entry.Modified, Entry.LinkTarget});
    Item->SetCaption(CaptionOf(facts, Entry.Name));
    const int icon = SystemImage(facts.SmallIcon, facts.LargeIcon);
    if (FViewIconStyle == visBrowseImage) {
        Item->SetImageIndex(ThumbnailPlaceholder(facts.LargeIcon));
        if (!(Entry.Attributes & faDirectory) && IsPictureFile(Entry.Name))
            FLoader->Request(Item->ImageIndex(), Entry.Path, FThumbnailSize);
    } else
        Item->SetImageIndex(icon);
    Item->SubItems().Add(FileSizeText(Entry.Size));
    FTotalSize += Entry.Size;
    Item->SubItems().Add(FDirectory == RecycledDirectory ? FileListText(FTextBase, txDeleted) : facts.TypeName);
    Item->SubItems().Add(DateText(Entry.Modified));
    Item->SubItems().Add(Entry.LinkTarget.isEmpty() ? AttributeText(Entry.Attributes) : QStringLiteral("L"));
    Item->SubItems().Add(Entry.Name);
    if (!Entry.LinkTarget.isEmpty())
        Item->SubItems().Add(Entry.LinkTarget);
    Item->SetData(record.get());
    FRecords.push_back(std::move(record));
}

// The row image of a pair of system icons: both are copied into this list's own small
// and large image lists, at one index, the first time the pair is seen.
int TqvFileListView::SystemImage(int SmallIndex, int LargeIndex)
{
    const QPair<int, int> key(SmallIndex, LargeIndex);
    if (const auto found = FIconIndex.constFind(key); found != FIconIndex.cend())
        return *found;
    using platform::shell::TSystemImageList;
    const QPixmap small = TSystemImageList::Small().Image(SmallIndex);
    const QPixmap large = TSystemImageList::Large().Image(LargeIndex);
    if (small.isNull() && large.isNull())
        return -1;
    const int index = FSmallIcons->AddImage(small.toImage());
    FLargeIcons->AddImage(large.toImage());
    FIconIndex.insert(key, index);
    return index;
}

// A new thumbnail slot showing the type icon until (and unless) the picture decodes.
int TqvFileListView::ThumbnailPlaceholder(int LargeIndex)
{
    QImage square(FThumbnailSize, FThumbnailSize, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    const QPixmap icon = platform::shell::TSystemImageList::Large().Image(LargeIndex);
    if (!icon.isNull()) {
        QPainter painter(&square);
        const QImage fitted = icon.toImage().scaled(
            std::min(FThumbnailSize, icon.width()), std::min(FThumbnailSize, icon.height()), Qt::KeepAspectRatio);
        painter.drawImage((FThumbnailSize - fitted.width()) / 2, (FThumbnailSize - fitted.height()) / 2, fitted);
    }
    return FThumbnails->AddImage(square);
}

void TqvFileListView::ListDrives()
{
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const TShellFacts facts = ShellFactsOf(volume.rootPath());
        vcl::TListItem* item = Items()->Add();
        item->SetCaption(volume.displayName());
        item->SetImageIndex(SystemImage(facts.SmallIcon, facts.LargeIcon));
        item->SubItems().Add(DriveSizeText(volume.bytesTotal()));
        item->SubItems().Add(DriveTypeText(FTextBase, DriveTypeOf(volume.fileSystemType(), volume.rootPath())));
        item->SubItems().Add(QString());
        item->SubItems().Add(QStringLiteral("U"));
        item->SubItems().Add(volume.rootPath());
        FRecords.push_back(std::make_unique<TRowRecord>(TRowRecord{volume.rootPath(), volume.bytesTotal(), {}, {}}));
        item->SetData(FRecords.back().get());
    }
}

// The desktop: the home folder, the volumes, the trash and the desktop folder's items.
void TqvFileListView::ListDesktop()
{
    const std::pair<QString, QString> places[] = {
        {QDir::homePath(), QDir::homePath()},
        {DrivesDirectory, QStringLiteral("/")},
        {RecycledDirectory, QDir::homePath() + QStringLiteral("/.local/share/Trash")},
    };
    for (const auto& [target, iconPath] : places) {
        const TShellFacts facts = ShellFactsOf(iconPath);
        vcl::TListItem* item = Items()->Add();
        item->SetCaption(target == RecycledDirectory ? FileListText(FTextBase, txDeleted) : CaptionOf(facts, target));
        item->SetImageIndex(SystemImage(facts.SmallIcon, facts.LargeIcon));
        for (const QString& text : {QStringLiteral(" "), facts.TypeName, QString(), QStringLiteral("X"), target})
            item->SubItems().Add(text);
        FRecords.push_back(std::make_unique<TRowRecord>(TRowRecord{target, 0, {}, {}}));
        item->SetData(FRecords.back().get());
    }
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop != QDir::homePath())
        FillRows(ReadDirectory(desktop, FMask, FFileViewType));
}

TRowKey TqvFileListView::KeyOf(vcl::TListItem* Item) const
{
    vcl::TListSubItems sub = Item->SubItems();
    TRowKey key{Item->Caption(), -1, sub.Strings(fcType), QDateTime(), sub.Strings(fcAttr)};
    if (const auto* record = static_cast<const TRowRecord*>(Item->Data())) {
        key.Size = record->Size;
        key.Modified = record->Modified;
    } else
        key.Size = SizeOfText(sub.Strings(fcSize));
    return key;
}

void TqvFileListView::SortBy()
{
    const vcl::TCursor saved = vcl::Screen()->Cursor();
    vcl::Screen()->SetCursor(vcl::crHourGlass);
    CustomSort([this](vcl::TListItem* A, vcl::TListItem* B, intptr_t) { return CompareRows(KeyOf(A), KeyOf(B), FSortedBy); },
        0);
    vcl::Screen()->SetCursor(saved);
}

void TqvFileListView::ColClick(vcl::TListColumn* Column)
{
    const int index = Column->Index();
    if (index != FLastColumn) {
        FLastColumn = index;
        FColumnToggle = false;
    } else
        FColumnToggle = !FColumnToggle;
    SetSortedBy(TSortedBy(index + (FColumnToggle ? SortKeyCount : 0)));
    TCustomListView::ColClick(Column);
}

void TqvFileListView::ShowSelectedFile()
{
    vcl::TListItem* item = Selected();
    const QString path = item ? PathOf(item) : QString();
    if (FFileEdit)
        FFileEdit->ShowFile(path);
    if (item && OnFileSelect)
        OnFileSelect(this, path);
}

QString TqvFileListView::PathOf(vcl::TListItem* Item) const
{
    const auto* record = Item ? static_cast<const TRowRecord*>(Item->Data()) : nullptr;
    return record ? record->Path : QString();
}

bool TqvFileListView::ThumbnailsPending() const
{
    return FLoader->Busy();
}

// A rename in place renames the file; a name that is not one plain name, or that is
// taken, is refused with a beep and the old caption stays.
void TqvFileListView::Edit(vcl::TListItem* Item, const QString& NewText)
{
    auto* record = static_cast<TRowRecord*>(Item->Data());
    const QString oldName = Item->SubItems().Strings(fcFileName);
    if (record == nullptr || NewText == oldName || NewText == Item->Caption()) {
        TCustomListView::Edit(Item, Item->Caption());
        return;
    }
    const bool plainName = !NewText.isEmpty() && !NewText.contains(u'/') && NewText != QLatin1String(".")
        && NewText != QLatin1String("..");
    const QString target = QFileInfo(record->Path).dir().filePath(NewText);
    if (!plainName || QFileInfo::exists(target) || !QFile::rename(record->Path, target)) {
        vcl::MessageBeep(0);
        TCustomListView::Edit(Item, Item->Caption());
        return;
    }
    record->Path = target;
    Item->SubItems().SetStrings(fcFileName, NewText);
    TCustomListView::Edit(Item, NewText);
}

void TqvFileListView::DblClick()
{
    TCustomListView::DblClick();
    OpenItem(Selected());
}

void TqvFileListView::OpenItem(vcl::TListItem* Item)
{
    const auto* record = Item ? static_cast<const TRowRecord*>(Item->Data()) : nullptr;
    if (record == nullptr)
        return;
    const QString path = FResolveLink && !record->LinkTarget.isEmpty() ? record->LinkTarget : record->Path;
    if (path == DrivesDirectory || path == RecycledDirectory || QFileInfo(path).isDir())
        SetDirectory(path);
    else if (FExecuteOpen)
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TqvFileListView::MenuAction(const QString& ItemName)
{
    static const QStringList views{QStringLiteral("ItemViewIcon"), QStringLiteral("ItemViewSmal"),
        QStringLiteral("ItemViewList"), QStringLiteral("ItemViewRepr"), QStringLiteral("ItemViewBrow")};
    static const QStringList sorts{QStringLiteral("ItemSortName"), QStringLiteral("ItemSortSize"),
        QStringLiteral("ItemSortType"), QStringLiteral("ItemSortDate"), QStringLiteral("ItemSortAttr")};
    if (views.contains(ItemName))
        SetViewIconStyle(TViewIconStyle(views.indexOf(ItemName)));
    else if (sorts.contains(ItemName))
        SetSortedBy(TSortedBy(sorts.indexOf(ItemName)));
    else if (const int size = ThumbnailSizeOfItem(ItemName); size > 0)
        SetThumbnailSize(size);
    else if (ItemName == QLatin1String("ItemBrowMask"))
        SetMaskBrowseImage(!FMaskBrowseImage);
    else if (ItemName == QLatin1String("ItemOpDelete"))
        DeleteSelected();
    else if (ItemName == QLatin1String("ItemOpRename") && Selected())
        Selected()->EditCaption();
    else if (ItemName == QLatin1String("ItemOpFolder"))
        NewFolder();
    else if (ItemName == QLatin1String("SubMenuOpen"))
        OpenItem(Selected());
}

// Moves the selected files and folders to the trash (never deletes them outright).
void TqvFileListView::DeleteSelected()
{
    bool moved = false;
    for (vcl::TListItem* item = Selected(); item; item = GetNextItem(item, vcl::sdAll, vcl::isSelected)) {
        const QString path = PathOf(item);
        if (QFileInfo(path).isAbsolute() && QFileInfo(path).exists())
            moved |= platform::shell::MoveToTrash(QFile::encodeName(path), nullptr, nullptr);
    }
    if (moved)
        ReRead();
}

// Makes a folder named by the language's "New folder" text (numbered when taken) and
// starts renaming its row.
void TqvFileListView::NewFolder()
{
    const QDir dir(FDirectory);
    if (!QFileInfo(FDirectory).isDir())
        return;
    const QString base = FileListText(FTextBase, txNewFolder);
    QString name = base;
    for (int n = 2; dir.exists(name); ++n)
        name = QStringLiteral("%1 (%2)").arg(base).arg(n);
    if (!dir.mkdir(name)) {
        vcl::MessageBeep(0);
        return;
    }
    ReRead();
    for (int i = 0; i < Items()->Count(); ++i)
        if (PathOf(Items()->Item(i)) == dir.filePath(name)) {
            SetSelected(Items()->Item(i));
            Items()->Item(i)->EditCaption();
        }
}

void TqvFileListView::WMDropFiles(vcl::TMessage& Message)
{
    const vcl::HDROP drop = vcl::DropFromWParam(Message.WParam);
    QStringList files;
    for (unsigned i = 0, count = vcl::DragQueryFileCount(drop); i < count; ++i) {
        QString file;
        vcl::DragQueryFile(drop, i, file);
        files.append(file);
    }
    if (OnFileDrop && !files.isEmpty())
        OnFileDrop(this, files);
}

} // namespace Qvfilectrls
