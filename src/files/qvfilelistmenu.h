#pragma once
// The file list view's pop-up menu: its items in the list's language, named so that one
// click handler can tell them apart.
#include "files/qvfilectrls.h"
#include "vcl/controls/menus.h"

namespace Qvfilectrls {

// Fills Menu (emptied first) with the view, browser, sort and file-operation items in
// the texts at Base; every item without sub-items runs OnClick. Item names:
// SubMenuView (ItemViewIcon, ItemViewSmal, ItemViewList, ItemViewRepr, ItemViewBrow),
// SubMenuBrow (ItemBrow1616, ItemBrow3232, ItemBrow6464, ItemBrow128x, ItemBrowMask),
// SubMenuSort (ItemSortName, ItemSortSize, ItemSortType, ItemSortDate, ItemSortAttr),
// SubMenuSend, ItemOpDelete, ItemOpRename, ItemOpFolder, SubMenuOpen.
void FillFileListMenu(vcl::TPopupMenu& Menu, int Base, const vcl::TNotifyEvent& OnClick);

// The thumbnail edges the menu offers, by the ItemBrow item names.
int ThumbnailSizeOfItem(const QString& ItemName);

// What the list looks like when the menu opens, for its checks.
struct TMenuState {
    TViewIconStyle Style; // The view style to check.
    TSortedBy SortedBy; // The sort key to check.
    int ThumbnailSize; // The thumbnail edge to check, in pixels.
    bool MaskBrowseImage; // Whether only pictures are listed in thumbnail view.
    bool HasSelection; // Whether any row is selected.
};
// Checks the current view style, sort key and thumbnail size, and enables the items
// that act on the selected files only while there is a selection.
void UpdateFileListMenu(vcl::TPopupMenu& Menu, const TMenuState& State);

} // namespace Qvfilectrls
