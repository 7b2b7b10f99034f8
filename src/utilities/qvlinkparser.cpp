#include "utilities/qvlinkparser.h"

#include "utilities/qvlinkscanner.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/treeview.h"
#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/imagelist.h"

#include <QFile>
#include <QFileInfo>

namespace Qvlinkparser {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvlinkparser"), {});

using namespace vcl;

TqvLinkParser::TqvLinkParser(TComponent* AOwner)
    : TPanel(AOwner)
    , FTree(new TTreeView(this))
    , FImages(new TImageList(this))
    , FLinkBitmap(std::make_unique<TBitmap>())
    , FTreeColor(TColorOf(0xFFFFFF))
{
    FTree->SetParent(this);
    FTree->SetAlign(alClient);
    FLinkBitmap->LoadFromResourceName(0, QStringLiteral("QVLINK"));
    // The picture is its own mask, as the node image of every node.
    FImages->Add(FLinkBitmap.get(), FLinkBitmap.get());
    FTree->SetImages(FImages);
}

TqvLinkParser::~TqvLinkParser() = default;

void TqvLinkParser::SetColor()
{
    FTree->SetColor(FTreeColor);
}

void TqvLinkParser::ShowFailure(const QString& Message)
{
    MessageDlg(Message, mtError, mbOK, 0);
}

void TqvLinkParser::Parse()
{
    if (!FileExists(FFileName)) {
        ShowFailure(QStringLiteral("File \"%1\" doesn't exists!").arg(FFileName));
        return;
    }
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowFailure(QStringLiteral("File \"%1\" can't be read: %2").arg(FFileName, file.errorString()));
        return;
    }
    // The links are gathered first so that a fault half-way leaves the old tree.
    QStringList links;
    const TScanResult result = ScanLinks(file, [&links](const QString& Target) { links.append(Target); });
    if (result.Error != TScanError::Ok) {
        ShowFailure(QStringLiteral("File \"%1\" can't be read: %2").arg(FFileName, result.Message));
        return;
    }
    TTreeNodes* items = FTree->Items();
    items->BeginUpdate();
    items->Clear();
    FRootNode = items->Add(nullptr, QFileInfo(FFileName).fileName());
    FRootNode->SetImageIndex(0);
    FRootNode->SetSelectedIndex(0);
    for (const QString& link : std::as_const(links)) {
        TTreeNode* node = items->AddChild(items->GetFirstNode(), link);
        node->SetImageIndex(0);
        node->SetSelectedIndex(0);
    }
    items->EndUpdate();
    FTree->FullExpand();
}

} // namespace Qvlinkparser
