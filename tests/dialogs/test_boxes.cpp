// Composite boxes: layouts read at construction, oldest first, fields and handlers by
// name, the events, the missing-layout error and the streaming of owned components.
#include "boxtestclasses.h"

#include "vcl/controls/forms.h"
#include "vcl/streaming/classregistry.h"

#include <gtest/gtest.h>

using namespace vcl;
using namespace boxtest;
using Boxes::TBox;

TEST(Boxes, TheContainerItselfReadsNoLayout)
{
    TBox box(nullptr);
    EXPECT_EQ(box.ComponentCount(), 0);
    Boxes::TControlGroupBox group(nullptr);
    Boxes::TControlScrollBox scroll(nullptr);
    Boxes::TToolBarBox bar(nullptr);
    EXPECT_EQ(group.ComponentCount() + scroll.ComponentCount() + bar.ComponentCount(), 0);
    EXPECT_EQ(bar.Align(), alTop);
}

TEST(Boxes, ADescendantOfADescendantReadsBothLayoutsOldestFirstAndOrdersItsChildren)
{
    TTestLeafBox leaf(nullptr);
    // The older layout's components come first, and the younger layout's colour wins.
    ASSERT_EQ(leaf.ComponentCount(), 4);
    EXPECT_EQ(leaf.Components(0)->Name(), "Label1");
    EXPECT_EQ(leaf.Components(1)->Name(), "Timer1");
    EXPECT_EQ(leaf.Components(2)->Name(), "Label2");
    EXPECT_EQ(leaf.Color(), clInfoBk);
    ASSERT_NE(leaf.Label1, nullptr);
    ASSERT_NE(leaf.Label2, nullptr);
    EXPECT_EQ(leaf.Label1->Caption(), "middle");
    EXPECT_EQ(leaf.Label2->Parent(), &leaf);
    // The handler bound by name in the younger layout is the leaf's.
    ASSERT_TRUE(leaf.Label2->OnClick);
    leaf.Label2->OnClick(leaf.Label2);
    EXPECT_EQ(leaf.Label2Clicks, 1);
    // OnCreate, bound in the older layout, ran once, after the children were read.
    EXPECT_EQ(leaf.CreateEvents, std::vector<QString>{"middle"});

    // SetChildOrder moves controls and parentless components in their own ranks.
    auto names = [&] {
        std::vector<QString> result;
        leaf.GetChildren([&](TComponent* c) { result.push_back(c->Name()); }, &leaf);
        return result;
    };
    ASSERT_EQ(names(), (std::vector<QString>{"Label1", "Label2", "Timer1", "Timer2"}));
    // Order 3 is the second parentless component: Timer1 moves behind Timer2.
    leaf.SetChildOrder(leaf.Timer1, 3);
    EXPECT_EQ(names(), (std::vector<QString>{"Label1", "Label2", "Timer2", "Timer1"}));
    leaf.SetChildOrder(leaf.Label2, 0);
    EXPECT_EQ(names(), (std::vector<QString>{"Label2", "Label1", "Timer2", "Timer1"}));
    // Orders outside the ranks change nothing.
    leaf.SetChildOrder(leaf.Timer1, 9);
    EXPECT_EQ(names(), (std::vector<QString>{"Label2", "Label1", "Timer2", "Timer1"}));
}

TEST(Boxes, OnDestroyRunsFirstInDestruction)
{
    auto* box = new TTestMiddleBox(nullptr);
    int childrenAtDestroy = -1;
    box->OnDestroy = [&](TObject* sender) {
        EXPECT_EQ(sender, box);
        childrenAtDestroy = box->ComponentCount();
    };
    delete box;
    EXPECT_EQ(childrenAtDestroy, 2);
}

TEST(Boxes, MissingLayoutFailsWithTheClassNameAndLeavesNothing)
{
    TForm owner(nullptr);
    const int before = LiveBoxes();
    try {
        TTestMissingBox box(&owner);
        FAIL() << "constructed without a layout";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource for TTestMissingBox is not found.");
    }
    EXPECT_EQ(LiveBoxes(), before);
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(Boxes, OwnedComponentsStreamOnlyWhenTheBoxIsTheRoot)
{
    TForm form(nullptr);
    form.SetName("Form1");
    auto* box = new TTestMiddleBox(&form);
    box->SetParent(&form);
    std::vector<QString> asChild;
    box->GetChildren([&](TComponent* c) { asChild.push_back(c->Name()); }, &form);
    EXPECT_TRUE(asChild.empty()) << "the box's own children belong to its layout";
    std::vector<QString> asRoot;
    box->GetChildren([&](TComponent* c) { asRoot.push_back(c->Name()); }, box);
    EXPECT_EQ(asRoot, (std::vector<QString>{"Label1", "Timer1"}));
}
