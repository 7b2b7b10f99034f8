#include "files/qvfilelistmenu.h"

#include <algorithm>

namespace Qvfilectrls {

namespace {

struct TItemText {
    const char* Name;
    TTextOffset Offset; // txHeader: Fixed is the caption
    const char* Fixed;
};

constexpr TItemText ViewItems[] = {{"ItemViewIcon", txViewIcon, nullptr}, {"ItemViewSmal", txViewSmall, nullptr},
    {"ItemViewList", txViewList, nullptr}, {"ItemViewRepr", txViewReport, nullptr},
    {"ItemViewBrow", txViewImages, nullptr}};
constexpr TItemText BrowseItems[] = {{"ItemBrow1616", txHeader, " &16 x 16"}, {"ItemBrow3232", txHeader, " &32 x 32"},
    {"ItemBrow6464", txHeader, " &64 x 64"}, {"ItemBrow128x", txHeader, "&128 x 128"},
    {"ItemBrowMask", txBrowseMasked, nullptr}};
constexpr TItemText SortItems[] = {{"ItemSortName", txSortName, nullptr}, {"ItemSortSize", txSortSize, nullptr},
    {"ItemSortType", txSortType, nullptr}, {"ItemSortDate", txSortDate, nullptr},
    {"ItemSortAttr", txSortAttr, nullptr}};
constexpr int ThumbnailSizes[] = {16, 32, 64, 128};

vcl::TMenuItem* AddItem(vcl::TPopupMenu& Menu, vcl::TMenuItem* Parent, const TItemText& Text, int Base)
{
    auto* item = new vcl::TMenuItem(&Menu);
    item->SetName(QString::fromLatin1(Text.Name));
    item->SetCaption(Text.Fixed ? QString::fromLatin1(Text.Fixed) : FileListText(Base, Text.Offset));
    Parent->Add(item);
    return item;
}

template <size_t N>
void AddSubMenu(vcl::TPopupMenu& Menu, const TItemText& Head, const TItemText (&Items)[N], int Base,
    const vcl::TNotifyEvent& OnClick)
{
    vcl::TMenuItem* sub = AddItem(Menu, Menu.Items(), Head, Base);
    for (const TItemText& text : Items)
        AddItem(Menu, sub, text, Base)->OnClick = OnClick;
}

vcl::TMenuItem* Find(vcl::TPopupMenu& Menu, const char* Name)
{
    return dynamic_cast<vcl::TMenuItem*>(Menu.FindComponent(QString::fromLatin1(Name)));
}

void CheckOne(vcl::TPopupMenu& Menu, const TItemText* Items, int Count, int Checked)
{
    for (int i = 0; i < Count; ++i)
        if (vcl::TMenuItem* item = Find(Menu, Items[i].Name))
            item->SetChecked(i == Checked);
}

} // namespace

void FillFileListMenu(vcl::TPopupMenu& Menu, int Base, const vcl::TNotifyEvent& OnClick)
{
    // The items belong to the menu (so they can be found by name): free them all.
    Menu.Items()->Clear();
    Menu.DestroyComponents();
    AddSubMenu(Menu, {"SubMenuView", txMenuView, nullptr}, ViewItems, Base, OnClick);
    AddSubMenu(Menu, {"SubMenuBrow", txMenuBrowser, nullptr}, BrowseItems, Base, OnClick);
    AddSubMenu(Menu, {"SubMenuSort", txMenuSort, nullptr}, SortItems, Base, OnClick);
    // Send-to targets are not offered on this platform, so the item stays disabled.
    AddItem(Menu, Menu.Items(), {"SubMenuSend", txMenuSendTo, nullptr}, Base)->SetEnabled(false);
    const TItemText operations[] = {{"ItemOpDelete", txDelete, nullptr}, {"ItemOpRename", txRename, nullptr},
        {"ItemOpFolder", txNewFolderItem, nullptr}, {"SubMenuOpen", txOpen, nullptr}};
    for (const TItemText& text : operations)
        AddItem(Menu, Menu.Items(), text, Base)->OnClick = OnClick;
}

int ThumbnailSizeOfItem(const QString& ItemName)
{
    for (int i = 0; i < 4; ++i)
        if (ItemName == QLatin1String(BrowseItems[i].Name))
            return ThumbnailSizes[i];
    return 0;
}

void UpdateFileListMenu(vcl::TPopupMenu& Menu, const TMenuState& State)
{
    CheckOne(Menu, ViewItems, 5, int(State.Style));
    CheckOne(Menu, SortItems, 5, int(State.SortedBy) % SortKeyCount);
    const int* size = std::find(std::begin(ThumbnailSizes), std::end(ThumbnailSizes), State.ThumbnailSize);
    CheckOne(Menu, BrowseItems, 4, int(size - std::begin(ThumbnailSizes)));
    if (vcl::TMenuItem* masked = Find(Menu, "ItemBrowMask"))
        masked->SetChecked(State.MaskBrowseImage);
    for (const char* name : {"ItemOpDelete", "ItemOpRename", "SubMenuOpen"})
        if (vcl::TMenuItem* item = Find(Menu, name))
            item->SetEnabled(State.HasSelection);
}

} // namespace Qvfilectrls
