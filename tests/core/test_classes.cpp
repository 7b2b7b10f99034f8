#include "vcl/core/classes.h"
#include "vcl/core/sysutils.h"

#include <QObject>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace vcl;

namespace {

// Records its own destruction and the notifications it receives. It is named after its
// tag, so a notification about a component that is already being destroyed (no longer
// a Probe) can still say which one it was.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string tag, std::vector<std::string>& log)
        : TComponent(owner), FTagText(std::move(tag)), FLog(log)
    {
        SetName(QString::fromStdString(FTagText));
    }
    ~Probe() override { FLog.push_back("free " + FTagText); }

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove)
            FLog.push_back(FTagText + " heard remove of " + c->Name().toStdString());
    }

private:
    std::string FTagText;
    std::vector<std::string>& FLog;
};

} // namespace

TEST(Component, OwnerFreesOwnedLatestFirstAndFreeingOneTellsItsOwnerAndSiblings)
{
    std::vector<std::string> log;
    auto* root = new Probe(nullptr, "root", log);
    new Probe(root, "a", log);
    new Probe(root, "b", log);
    delete root;
    // The owner's own destructor body runs first (as a destructor that logs before
    // calling its inherited one would), then its components go, the last one first.
    EXPECT_EQ(log, (std::vector<std::string>{"free root", "free b", "free a"}));
    log.clear();

    Probe owner(nullptr, "owner", log);
    auto* a = new Probe(&owner, "a", log);
    new Probe(&owner, "b", log);
    delete a;
    // Probe passes a notification down before logging it, so b logs before the owner.
    EXPECT_EQ(log, (std::vector<std::string>{"free a", "b heard remove of a", "owner heard remove of a"}));
}

TEST(Persistent, AssignNamesBothClassesOrNil)
{
    TComponent a(nullptr);
    TPersistent p;
    const std::pair<TPersistent*, const char*> cases[] = {
        {&a, "Cannot assign a TComponent to a TPersistent"}, {nullptr, "Cannot assign a nil to a TPersistent"}};
    for (const auto& [source, message] : cases) {
        try {
            p.Assign(source);
            ADD_FAILURE() << "no exception: " << message;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(message));
        }
    }
}

TEST(Component, NameRulesAndClashes)
{
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Edit1");
    // Names are found without regard to case; an underscore may start one.
    EXPECT_EQ(owner.FindComponent("EDIT1"), a);
    // A change of case only is a rename of the same component, not a clash.
    a->SetName("EDIT1");
    EXPECT_EQ(a->Name(), QStringLiteral("EDIT1"));
    // Any number of components may stay unnamed.
    EXPECT_EQ(b->Name(), QString());
    new TComponent(&owner);
    for (const char* bad : {"1x", "a-b", "a b", "ä", "x.y"})
        EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
    try {
        b->SetName("edit1");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("A component named edit1 already exists"));
    }
    EXPECT_EQ(b->Name(), QString());
    b->SetName("_Edit2");
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_EQ(owner.FindComponent("nothing"), nullptr);
    EXPECT_THROW(owner.Components(3), EComponentError);
    EXPECT_THROW(owner.Components(-1), EComponentError);
    // Without an owner no name can clash.
    TComponent loneA(nullptr), loneB(nullptr);
    loneA.SetName("Same");
    loneB.SetName("Same");
    EXPECT_EQ(loneB.ComponentIndex(), -1);
}

TEST(Component, InsertingIntoAnotherOwner)
{
    TComponent first(nullptr), second(nullptr);
    auto* moving = new TComponent(&first);
    moving->SetName("Shared");
    auto* resident = new TComponent(&second);
    resident->SetName("shared");
    // The clash is found before the component leaves its owner.
    EXPECT_THROW(second.InsertComponent(moving), EComponentError);
    EXPECT_EQ(moving->Owner(), &first);
    EXPECT_EQ(first.ComponentCount(), 1);
    resident->SetName("Other");
    second.InsertComponent(moving);
    EXPECT_EQ(moving->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(moving->ComponentIndex(), 1);
    // An owner cycle is refused.
    EXPECT_THROW(moving->InsertComponent(&second), EComponentError);
    EXPECT_THROW(second.InsertComponent(&second), EComponentError);
    EXPECT_EQ(second.Owner(), nullptr);
}

TEST(Component, FreeNotificationAcrossOwners)
{
    std::vector<std::string> log;
    auto* formA = new Probe(nullptr, "formA", log);
    auto* formB = new Probe(nullptr, "formB", log);
    auto* target = new Probe(formA, "target", log);
    auto* watcher = new Probe(formB, "watcher", log);
    target->FreeNotification(watcher);
    delete target;
    // The watcher hears of it directly, the target's owner through the removal.
    EXPECT_EQ(log, (std::vector<std::string>{"free target", "watcher heard remove of target", "formA heard remove of target"}));
    log.clear();

    // After the watcher is gone, freeing what it watched tells no one dead.
    auto* target2 = new Probe(formA, "target2", log);
    auto* watcher2 = new Probe(formB, "watcher2", log);
    target2->FreeNotification(watcher2);
    delete watcher2;
    log.clear();
    delete target2;
    EXPECT_EQ(log, (std::vector<std::string>{"free target2", "formA heard remove of target2"}));
    log.clear();

    // RemoveFreeNotification withdraws the request both ways.
    auto* target3 = new Probe(formA, "target3", log);
    auto* watcher3 = new Probe(formB, "watcher3", log);
    target3->FreeNotification(watcher3);
    watcher3->RemoveFreeNotification(target3);
    log.clear();
    delete target3;
    EXPECT_EQ(log, (std::vector<std::string>{"free target3", "formA heard remove of target3"}));
    delete formA;
    delete formB;
}

TEST(Component, StateFlagsFollowTheTree)
{
    TComponent owner(nullptr);
    auto* child = new TComponent(&owner);
    owner.SetDesigning(true);
    EXPECT_TRUE(child->ComponentState().testFlag(csDesigning));
    auto* later = new TComponent(&owner);
    EXPECT_TRUE(later->ComponentState().testFlag(csDesigning));
    owner.SetDesigning(false);
    EXPECT_FALSE(later->ComponentState().testFlag(csDesigning));
    child->SetLoading(true);
    EXPECT_TRUE(child->ComponentState().testFlag(csLoading));
    child->Loaded();
    EXPECT_FALSE(child->ComponentState().testFlag(csLoading));
    owner.Destroying();
    EXPECT_TRUE(child->ComponentState().testFlag(csDestroying));
}

namespace {

// A component that is a QObject, as every non-visual component is.
class QtComponent : public QObject, public TComponent {
public:
    explicit QtComponent(TComponent* owner) : TComponent(owner) {}
};

} // namespace

TEST(Component, QObjectComponentsShareTheirName)
{
    QtComponent c(nullptr);
    c.SetName("Timer1");
    EXPECT_EQ(c.objectName(), QStringLiteral("Timer1"));
    EXPECT_EQ(c.AsQObject(), static_cast<QObject*>(&c));
    EXPECT_EQ(c.ClassName(), QStringLiteral("QtComponent"));
    TComponent plain(nullptr);
    EXPECT_EQ(plain.AsQObject(), nullptr);
}
