#include "component.h"

#include <algorithm>

#include "exceptions.h"

TObject::~TObject() {}

void TPersistent::Assign(TPersistent* Source)
{
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    AssignTo(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    (void)Dest;
    throw EConvertError("Cannot assign this object");
}

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    BeforeDestruction();
    // Partners hear about the end first, while this object is still whole
    // enough to be compared against their pointers.
    while (!freeNotifies_.empty()) {
        TComponent* partner = freeNotifies_.back();
        freeNotifies_.pop_back();
        Unlink(partner->freeNotifies_, this);
        partner->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction()
{
    state_ |= csDestroying;
}

void TComponent::SetName(const AnsiString& Value)
{
    if (Value == name_) return;
    if (owner_ && !Value.IsEmpty()) {
        TComponent* other = owner_->FindComponent(Value);
        if (other && other != this)
            throw EInvalidOperation("A component named " + Value + " already exists");
    }
    name_ = Value;
}

TComponent* TComponent::GetComponent(int Index) const
{
    if (Index < 0 || Index >= GetComponentCount())
        throw EListError(AnsiString().sprintf("List index out of bounds (%d)", Index));
    return components_[Index];
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const
{
    if (AName.IsEmpty()) return nullptr;
    for (TComponent* c : components_)
        if (c->name_.AnsiCompareIC(AName) == 0) return c;
    return nullptr;
}

int TComponent::GetComponentIndex() const
{
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->owner_ == this) return;
    if (!AComponent->name_.IsEmpty() && FindComponent(AComponent->name_))
        throw EInvalidOperation("A component named " + AComponent->name_ + " already exists");
    if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
    Insert(AComponent);
    // What an owner makes while it loads (a form building its controls) is
    // part of the load and hears Loaded with it.
    if ((state_ & csLoading) && !(AComponent->state_ & csLoading)) AComponent->BeginLoading();
    NotifyOwnerChain(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->owner_ != this) return;
    NotifyOwnerChain(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* last = components_.back();
        // Taken out first, so that its destructor finds no owner to tell.
        Remove(last);
        last->BeforeDestruction();
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end())
        freeNotifies_.push_back(AComponent);
    if (std::find(AComponent->freeNotifies_.begin(), AComponent->freeNotifies_.end(), this) ==
        AComponent->freeNotifies_.end())
        AComponent->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent) return;
    Unlink(freeNotifies_, AComponent);
    Unlink(AComponent->freeNotifies_, this);
}

void TComponent::BeginLoading()
{
    state_ |= csLoading;
    for (TComponent* c : components_) c->BeginLoading();
}

void TComponent::EndLoading()
{
    // A Loaded handler may create components: walk a copy.
    std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned) c->EndLoading();
    if (state_ & csLoading) Loaded();
}

void TComponent::Loaded()
{
    state_ &= ~csLoading;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove) RemoveFreeNotification(AComponent);
    // A handler may free components: walk a copy and skip the ones gone.
    std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned) {
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(AComponent, Operation);
    }
}

void TComponent::Insert(TComponent* AComponent)
{
    components_.push_back(AComponent);
    AComponent->owner_ = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    Unlink(components_, AComponent);
    AComponent->owner_ = nullptr;
}

void TComponent::NotifyOwnerChain(TComponent* AComponent, TOperation Operation)
{
    if (IsDestroying()) return;
    Notification(AComponent, Operation);
}

void TComponent::Unlink(std::vector<TComponent*>& list, TComponent* item)
{
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}
