#pragma once
// TTabSet: a row of tabs hanging from a line along its top edge, as under a page
// book. Each tab is a trapezoid whose slanted edges overlap its neighbours'; the
// selected tab is drawn last, in SelectedColor, open towards the page above. The tabs
// are drawn by the row itself (tsStandard) or by OnDrawTab over each tab's text
// rectangle (tsOwnerDraw), whose widths OnMeasureTab may set. OnChange may refuse a
// change of tab.
#include "vcl/controls/itemlist.h"

namespace vcl {

namespace TabSets {
Q_NAMESPACE

enum TTabStyle { tsStandard, tsOwnerDraw };
Q_ENUM_NS(TTabStyle)

} // namespace TabSets
using namespace TabSets;

using TTabChangeEvent = std::function<void(TObject* Sender, int NewTab, bool& AllowChange)>;
using TDrawTabEvent = std::function<void(TObject* Sender, TCanvas* TabCanvas, TRect R, int Index, bool Selected)>;
using TMeasureTabEvent = std::function<void(TObject* Sender, int Index, int& TabWidth)>;

class TTabSet : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(vcl::TStrings* Tabs READ Tabs)
    Q_PROPERTY(int TabIndex READ TabIndex WRITE SetTabIndex)
    Q_CLASSINFO("Default:TabIndex", "-1")
    Q_PROPERTY(vcl::TabSets::TTabStyle Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Style", "tsStandard")
    Q_PROPERTY(int TabHeight READ TabHeight WRITE SetTabHeight)
    Q_CLASSINFO("Default:TabHeight", "20")
    Q_PROPERTY(int StartMargin READ StartMargin WRITE SetStartMargin)
    Q_CLASSINFO("Default:StartMargin", "5")
    Q_PROPERTY(int EndMargin READ EndMargin WRITE SetEndMargin)
    Q_CLASSINFO("Default:EndMargin", "15")
    Q_PROPERTY(bool AutoScroll READ AutoScroll WRITE SetAutoScroll)
    Q_CLASSINFO("Default:AutoScroll", "True")
    Q_PROPERTY(vcl::TColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_CLASSINFO("Default:SelectedColor", "clBtnFace")
    Q_PROPERTY(vcl::TColor UnselectedColor READ UnselectedColor WRITE SetUnselectedColor)
    Q_CLASSINFO("Default:UnselectedColor", "clWindow")
    Q_PROPERTY(vcl::TColor BackgroundColor READ BackgroundColor WRITE SetBackgroundColor)
    Q_CLASSINFO("Default:BackgroundColor", "clBtnFace")
public:
    // The slanted edge of a tab is this wide; neighbours overlap by one edge.
    static constexpr int EdgeWidth = 9;

    explicit TTabSet(TComponent* AOwner);

    // The tab captions; each tab may carry an object.
    TStrings* Tabs() const { return FTabs.get(); }
    int TabIndex() const { return FTabIndex; }
    // Asks OnChange first; a refused change leaves the tab as it was.
    void SetTabIndex(int Value);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle Value);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int Value);
    int StartMargin() const { return FStartMargin; }
    void SetStartMargin(int Value);
    int EndMargin() const { return FEndMargin; }
    void SetEndMargin(int Value);
    // Scroll buttons at the right when the tabs do not all fit.
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    TColor UnselectedColor() const { return FUnselectedColor; }
    void SetUnselectedColor(TColor Value);
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value);
    // The first tab shown (the row scrolls by whole tabs).
    int FirstIndex() const { return FFirstIndex; }
    void SetFirstIndex(int Value);
    // The text rectangle of a tab in view (empty for one out of view).
    TRect TabRect(int Index);
    // The tab at Pos (-1: none).
    int ItemAtPos(const TPoint& Pos);
    // Selects the next (or previous) tab, wrapping round.
    void SelectNext(bool Direction);

    TTabChangeEvent OnChange;
    TDrawTabEvent OnDrawTab;
    TMeasureTabEvent OnMeasureTab;

protected:
    virtual bool CanChange(int NewIndex);
    virtual void DrawTab(TCanvas* TabCanvas, const TRect& R, int Index, bool Selected);
    virtual void MeasureTab(int Index, int& TabWidth);
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMFontChanged(TMessage& Message) override;

private:
    // One tab in view: its index and text rectangle.
    struct TTabPlace {
        int Index;
        TRect Text;
    };
    // The tabs in view from FirstIndex, left to right: the one geometry painting and
    // hit-testing share.
    std::vector<TTabPlace> TabsInView();
    // The width of a tab's text rectangle: its caption's, or what OnMeasureTab says.
    int MeasuredTabWidth(int Index);
    bool NeedsScroller();
    TRect ScrollerRect();
    void PaintTab(const TTabPlace& Place, bool Selected);
    void PaintScroller();

    std::unique_ptr<TOwnedStrings> FTabs;
    int FTabIndex = -1;
    int FFirstIndex = 0;
    TTabStyle FStyle = tsStandard;
    int FTabHeight = 20;
    int FStartMargin = 5;
    int FEndMargin = 15;
    bool FAutoScroll = true;
    TColor FSelectedColor = clBtnFace;
    TColor FUnselectedColor = clWindow;
    TColor FBackgroundColor = clBtnFace;
};

} // namespace vcl
