#include "files/qvfoldercombo.h"

#include "files/qvfilectrls.h"
#include "files/qvfilelistview.h"
#include "files/qvfilerows.h"

#include <QDir>
#include <QStorageInfo>

namespace Qvfilectrls {

namespace {

// The folders from the root down to Directory ("/", "/home", "/home/ann").
QStringList FolderChain(const QString& Directory)
{
    QStringList chain;
    QDir dir(QDir::cleanPath(Directory));
    if (!dir.isAbsolute())
        return chain;
    do
        chain.prepend(dir.absolutePath());
    while (dir.cdUp());
    return chain;
}

} // namespace

TqvFolderCombo::TqvFolderCombo(vcl::TComponent* AOwner) : TCustomComboBox(AOwner)
{
    SetStyle(vcl::csDropDownList);
}

void TqvFolderCombo::SetFileList(TqvFileListView* Value)
{
    if (Value == FFileList)
        return;
    FFileList = Value;
    if (FFileList)
        FFileList->FreeNotification(this);
}

void TqvFolderCombo::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation)
{
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation == vcl::TOperation::opRemove && AComponent == FFileList)
        FFileList = nullptr;
}

void TqvFolderCombo::ShowDirectory(const QString& Directory, int Base)
{
    FFilling = true;
    Items()->Clear();
    FPaths.clear();
    const QStringList chain = FolderChain(Directory);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const int type = DriveTypeOf(volume.fileSystemType(), volume.rootPath());
        Items()->Add(QStringLiteral("%1 (%2)").arg(volume.displayName(), DriveTypeText(Base, type)));
        FPaths.append(volume.rootPath());
    }
    // The chain below the root goes right after the root's own entry.
    const qsizetype rootAt = chain.isEmpty() ? -1 : FPaths.indexOf(chain.first());
    qsizetype at = rootAt < 0 ? FPaths.size() : rootAt + 1;
    for (qsizetype level = rootAt < 0 ? 0 : 1; level < chain.size(); ++level, ++at) {
        const QString name = QDir(chain[level]).dirName().isEmpty() ? chain[level] : QDir(chain[level]).dirName();
        Items()->Insert(int(at), QString(int(level) * IndentPerLevel, u' ') + name);
        FPaths.insert(at, chain[level]);
    }
    SetItemIndex(chain.isEmpty() ? -1 : int(at - 1));
    FFilling = false;
}

void TqvFolderCombo::Change()
{
    TCustomComboBox::Change();
    if (!FFilling && FFileList && ItemIndex() >= 0 && ItemIndex() < FPaths.size())
        FFileList->SetDirectory(FPaths[ItemIndex()]);
}

} // namespace Qvfilectrls
