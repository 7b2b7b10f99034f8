#include "vcl/core/classes.h"
#include "vcl/core/sysutils.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace vcl;

namespace {

// Records its own destruction and the notifications it receives.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string tag, std::vector<std::string>& log)
        : TComponent(owner), FTagText(std::move(tag)), FLog(log) {}
    ~Probe() override { FLog.push_back("free " + FTagText); }

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove)
            FLog.push_back(FTagText + " heard remove of " + static_cast<Probe*>(c)->FTagText);
    }

private:
    std::string FTagText;
    std::vector<std::string>& FLog;
};

} // namespace

TEST(Component, OwnerFreesOwnedLatestFirst)
{
    std::vector<std::string> log;
    auto* root = new Probe(nullptr, "root", log);
    new Probe(root, "a", log);
    new Probe(root, "b", log);
    delete root;
    // The owner's own destructor body runs first (as a destructor that logs before
    // calling its inherited one would), then its components go, the last one first.
    const std::vector<std::string> expected = {"free root", "free b", "free a"};
    EXPECT_EQ(log, expected);
}

TEST(Component, FreeingOneComponentTellsItsOwnerAndSiblings)
{
    std::vector<std::string> log;
    Probe root(nullptr, "root", log);
    auto* a = new Probe(&root, "a", log);
    new Probe(&root, "b", log);
    delete a;
    // Probe passes a notification down before logging it, so b logs before root.
    const std::vector<std::string> expected = {"free a", "b heard remove of a", "root heard remove of a"};
    EXPECT_EQ(log, expected);
}

TEST(Component, NamesAreIdentifiersAndUniqueAmongSiblings)
{
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Button1");
    EXPECT_THROW(b->SetName("button1"), EComponentError);
    EXPECT_THROW(b->SetName("1Button"), EComponentError);
    EXPECT_THROW(b->SetName("But ton"), EComponentError);
    b->SetName("_Button2");
    EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
    EXPECT_EQ(b->ComponentIndex(), 1);
}

TEST(Persistent, AssignBetweenUnrelatedClassesNamesBoth)
{
    TComponent a(nullptr);
    TPersistent p;
    try {
        p.Assign(&a);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TComponent to a TPersistent"));
    }
}
