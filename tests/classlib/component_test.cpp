#include "component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exceptions.h"

namespace {

// Records its own destruction and the notifications it hears.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, const char* name, std::vector<std::string>* log) : TComponent(owner), log_(log)
    {
        SetName(name);
    }
    ~Probe() override { log_->push_back("~" + std::string(GetName().c_str())); }

    TComponent* watched = nullptr;
    int loadedCalls = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == watched) {
            watched = nullptr;
            log_->push_back(std::string(GetName().c_str()) + " lost " + AComponent->GetName().c_str());
        }
    }
    void Loaded() override
    {
        TComponent::Loaded();
        ++loadedCalls;
    }

private:
    std::vector<std::string>* log_;
};

}  // namespace

TEST(Component, OwnerFreesItsComponentsNewestFirst)
{
    std::vector<std::string> log;
    auto* owner = new Probe(nullptr, "Owner", &log);
    new Probe(owner, "A", &log);
    new Probe(owner, "B", &log);
    new Probe(owner, "C", &log);
    EXPECT_EQ(3, owner->GetComponentCount());
    delete owner;
    EXPECT_EQ((std::vector<std::string>{"~Owner", "~C", "~B", "~A"}), log);
}

TEST(Component, DeletingAComponentTakesItFromItsOwner)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "Owner", &log);
    new Probe(&owner, "A", &log);
    auto* b = new Probe(&owner, "B", &log);
    new Probe(&owner, "C", &log);
    delete b;
    ASSERT_EQ(2, owner.GetComponentCount());
    EXPECT_EQ("A", owner.GetComponent(0)->GetName());
    EXPECT_EQ("C", owner.GetComponent(1)->GetName());
    EXPECT_EQ(1, owner.GetComponent(1)->GetComponentIndex());
}

TEST(Component, FindComponentIgnoresCase)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "Owner", &log);
    auto* ok = new Probe(&owner, "OkButton", &log);
    EXPECT_EQ(ok, owner.FindComponent("okbutton"));
    EXPECT_EQ(ok, owner.FindComponent("OKBUTTON"));
    EXPECT_EQ(nullptr, owner.FindComponent("Cancel"));
    EXPECT_EQ(nullptr, owner.FindComponent(""));
}

TEST(Component, DuplicateNamesAreRefused)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "Owner", &log);
    new Probe(&owner, "Edit1", &log);
    auto* other = new Probe(&owner, "Edit2", &log);
    EXPECT_THROW(other->SetName("EDIT1"), EInvalidOperation);
    EXPECT_EQ("Edit2", other->GetName());
    other->SetName("edit2");  // itself, other case: fine
    EXPECT_EQ("edit2", other->GetName());
}

TEST(Component, IndexOutOfRangeRaisesListError)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "Owner", &log);
    new Probe(&owner, "A", &log);
    try {
        owner.GetComponent(1);
        FAIL() << "no exception";
    } catch (const EListError& e) {
        EXPECT_STREQ("List index out of bounds (1)", e.what());
    }
    EXPECT_THROW(owner.GetComponent(-1), EListError);
}

TEST(Component, FreeNotificationClearsThePartnersPointer)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "Owner", &log);
    auto* label = new Probe(&owner, "Label", &log);
    Probe* edit = new Probe(nullptr, "Edit", &log);  // owned elsewhere
    label->watched = edit;
    edit->FreeNotification(label);
    delete edit;
    EXPECT_EQ(nullptr, label->watched);
    EXPECT_EQ("Label lost Edit", log.at(1));
}

TEST(Component, FreeNotificationIsDroppedWhenTheWatcherGoesFirst)
{
    std::vector<std::string> log;
    auto* watcher = new Probe(nullptr, "Watcher", &log);
    auto* watched = new Probe(nullptr, "Watched", &log);
    watched->FreeNotification(watcher);
    watcher->watched = watched;
    delete watcher;
    delete watched;  // must not call the freed watcher
    EXPECT_EQ((std::vector<std::string>{"~Watcher", "~Watched"}), log);
}

TEST(Component, SiblingsHearWhenOneLeavesTheOwner)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "Owner", &log);
    auto* focus = new Probe(&owner, "Focus", &log);
    auto* target = new Probe(&owner, "Target", &log);
    focus->watched = target;
    delete target;
    EXPECT_EQ(nullptr, focus->watched);
}

TEST(Component, InsertComponentMovesBetweenOwners)
{
    std::vector<std::string> log;
    Probe first(nullptr, "First", &log);
    Probe second(nullptr, "Second", &log);
    auto* c = new Probe(&first, "C", &log);
    second.InsertComponent(c);
    EXPECT_EQ(0, first.GetComponentCount());
    EXPECT_EQ(&second, c->GetOwner());
    auto* clash = new Probe(&first, "c", &log);
    EXPECT_THROW(second.InsertComponent(clash), EInvalidOperation);
    EXPECT_EQ(&first, clash->GetOwner());
}

TEST(Component, LoadingStateAndLoaded)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "Owner", &log);
    auto* child = new Probe(&owner, "Child", &log);
    owner.BeginLoading();
    EXPECT_TRUE(child->GetComponentState() & csLoading);
    owner.EndLoading();
    EXPECT_FALSE(child->GetComponentState() & csLoading);
    EXPECT_FALSE(owner.GetComponentState() & csLoading);
    EXPECT_EQ(1, child->loadedCalls);
    EXPECT_EQ(1, owner.loadedCalls);
    owner.EndLoading();  // not loading: no second Loaded
    EXPECT_EQ(1, owner.loadedCalls);
}

TEST(Component, ComponentsMadeWhileTheOwnerLoadsLoadWithIt)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "Owner", &log);
    owner.BeginLoading();
    auto* late = new Probe(&owner, "Late", &log);
    auto* grandchild = new Probe(late, "Grandchild", &log);
    EXPECT_TRUE(grandchild->GetComponentState() & csLoading);
    owner.EndLoading();
    EXPECT_EQ(1, late->loadedCalls);
    EXPECT_EQ(1, grandchild->loadedCalls);
}

TEST(Component, PartnersHearWhileTheOwnerFreesEverything)
{
    // Label was made first, so the owner frees Edit before it: Label's
    // pointer must be cleared by then.
    std::vector<std::string> log;
    auto* owner = new Probe(nullptr, "Owner", &log);
    auto* label = new Probe(owner, "Label", &log);
    auto* edit = new Probe(owner, "Edit", &log);
    label->watched = edit;
    edit->FreeNotification(label);
    owner->BeforeDestruction();
    EXPECT_TRUE(owner->GetComponentState() & csDestroying);
    delete owner;
    EXPECT_EQ((std::vector<std::string>{"~Owner", "~Edit", "Label lost Edit", "~Label"}), log);
}

TEST(Persistent, AssignWithoutSupportRaises)
{
    TPersistent a;
    TPersistent b;
    EXPECT_THROW(a.Assign(&b), EConvertError);
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
}
