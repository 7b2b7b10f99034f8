#pragma once
// Qvlinkparser: TqvLinkParser, a panel that lists the links of a hypertext file as a
// tree: the file's name as the root and, below it, the first link target of every line
// that has one, fully expanded.
#include "vcl/controls/extctrls.h"

#include <memory>

namespace vcl {
class TBitmap;
class TImageList;
class TTreeNode;
class TTreeView;
} // namespace vcl

namespace Qvlinkparser {

// A panel with a tree of the links found in a hypertext file.
class TqvLinkParser : public vcl::TPanel {
    Q_OBJECT
    // No declared default: the constructor's white is always stored.
    Q_PROPERTY(vcl::TColor TreeColor READ TreeColor WRITE SetTreeColor)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
public:
    // Creates the panel with its tree, owned (and freed) by AOwner.
    explicit TqvLinkParser(vcl::TComponent* AOwner);
    ~TqvLinkParser() override;

    // The colour for the tree.
    vcl::TColor TreeColor() const { return FTreeColor; }
    // Only stores the colour; SetColor gives it to the tree.
    void SetTreeColor(vcl::TColor Value) { FTreeColor = Value; }
    // The file Parse reads.
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& Value) { FFileName = Value; }

    // Rebuilds the tree from FileName. A missing, unreadable or non-UTF-8 file is
    // reported in an error box and leaves the tree as it was. The file is streamed,
    // never held whole, and the tree is replaced only after the whole file was read.
    void Parse();
    // The tree's colour := TreeColor.
    void SetColor();
    using TPanel::SetColor;

    vcl::TTreeView* Tree() const { return FTree; } // The tree of links.
    vcl::TImageList* Images() const { return FImages; } // The tree's pictures.
    // The root node of the last successful parse (null before one).
    vcl::TTreeNode* RootNode() const { return FRootNode; }

private:
    void ShowFailure(const QString& Message);

    vcl::TTreeView* FTree;
    vcl::TImageList* FImages;
    std::unique_ptr<vcl::TBitmap> FLinkBitmap;
    vcl::TColor FTreeColor;
    QString FFileName;
    vcl::TTreeNode* FRootNode = nullptr;
};

} // namespace Qvlinkparser
