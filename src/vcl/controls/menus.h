#pragma once
// Menus: items with captions ("&File" marks the accelerator, "-" is a separator),
// checks, radio groups and a default item; pop-up menus and a form's main menu,
// shown through Qt menus built from the items.
#include "vcl/core/classes.h"

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace vcl {

class TBitmap;

class TMenuItem : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_CLASSINFO("Default:Checked", "False")
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_CLASSINFO("Default:Enabled", "True")
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_CLASSINFO("Default:Visible", "True")
    Q_PROPERTY(bool RadioItem READ RadioItem WRITE SetRadioItem)
    Q_CLASSINFO("Default:RadioItem", "False")
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_CLASSINFO("Default:GroupIndex", "0")
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_CLASSINFO("Default:Default", "False")
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    // A caption of "-" makes the item a separator line.
    bool IsLine() const { return FCaption == QLatin1String("-"); }
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the other radio items of its group.
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value) { FRadioItem = Value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    // The default item is shown in bold; double-clicking what the menu belongs to runs it.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }
    const QKeySequence& ShortCut() const { return FShortCut; }
    void SetShortCut(const QKeySequence& Value) { FShortCut = Value; }
    // The picture beside the caption (made empty on first use); its pixels of the
    // transparent colour (by default the bottom-left pixel's) are not drawn.
    TBitmap* Bitmap();
    void SetBitmap(const TBitmap* Value);

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out of this menu without freeing it.
    void Remove(TMenuItem* Item);
    void Delete(int Index);
    void Clear();
    // The visible default sub-item, or null.
    TMenuItem* DefaultItem() const;
    // The first sub-item with this caption (ampersands ignored), or null.
    TMenuItem* Find(const QString& ACaption) const;

    // Runs OnClick, as choosing the item does.
    virtual void Click();

    TNotifyEvent OnClick;

    // The Qt menu of this item's sub-items (built on each call; the caller owns it).
    QMenu* BuildMenu(QWidget* Parent) const;
    // Adds this item to a Qt menu (as an action, a sub-menu or a separator).
    void AddTo(QMenu* Menu) const;

private:
    QAction* MakeAction(QObject* Parent) const;
    void UncheckGroup();

    QString FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FDefault = false;
    QKeySequence FShortCut;
    std::unique_ptr<TBitmap> FBitmap;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
};

// Base of pop-up and main menus: the root item holding the menu's items.
class TMenu : public QObject, public TComponent {
    Q_OBJECT
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    TMenuItem* Items() const { return FItems.get(); }

private:
    std::unique_ptr<TMenuItem> FItems;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
    Q_OBJECT
public:
    // Answers Popup in place of a person: returns the item to choose (null: the menu
    // is dismissed). Set by tests; while set, no menu is shown.
    using TPopupResponder = std::function<TMenuItem*(TPopupMenu* Menu, int X, int Y)>;
    static void SetResponder(TPopupResponder Responder);

    explicit TPopupMenu(TComponent* AOwner);

    // Runs OnPopup, shows the menu at the screen point and runs the chosen item's OnClick.
    virtual void Popup(int X, int Y);
    // The control whose right-click opened the menu.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }

    TNotifyEvent OnPopup;

private:
    TComponent* FPopupComponent = nullptr;
    TPopupAlignment FAlignment = paLeft;
    bool FAutoPopup = true;
};

// A form's menu bar.
class TMainMenu : public TMenu {
    Q_OBJECT
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    // The Qt menu bar showing the items; rebuilt by RebuildMenuBar after changes.
    QMenuBar* MenuBar();
    void RebuildMenuBar();

private:
    QPointer<QMenuBar> FMenuBar;
};

// "&File" without its accelerator mark: "File" ("&&" stays one "&").
QString StripHotkey(const QString& Text);

} // namespace vcl
