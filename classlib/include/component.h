// The component model: TObject, TPersistent, TComponent, and the event types
// every control shares.
//
// Ownership: a component made with an owner is freed by that owner, after
// the owner's other components made later (reverse order of creation).
// Deleting a component removes it from its owner first, so `delete` is always
// safe. Components that point at each other without owning ask for a free
// notification; each then hears Notification(other, opRemove) before the
// other goes away and clears its pointer.
//
// Events are public std::function members named OnXxx, empty by default and
// fired only when assigned. Handlers receive the component as Sender.
#ifndef CLASSLIB_COMPONENT_H
#define CLASSLIB_COMPONENT_H

#include <functional>
#include <vector>

#include "ansistring.h"

class TObject {
public:
    TObject() = default;
    // Objects of the library have identity; they are never copied.
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject();
};

// An object whose published state can be copied from another with Assign.
class TPersistent : public TObject {
public:
    // Copies Source's state; raises EConvertError when the classes do not
    // know each other (the default).
    virtual void Assign(TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent* Dest);
};

// Bits of the shift state of a mouse or key event.
typedef unsigned TShiftState;
enum : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// Key is a virtual-key code (WORD); a handler that sets it to 0 swallows the key.
using TKeyEvent = std::function<void(TObject* Sender, unsigned short& Key, TShiftState Shift)>;
// Key is the character typed; a handler that sets it to 0 swallows it.
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

enum TOperation { opInsert, opRemove };

// Bits of TComponent::GetComponentState.
typedef unsigned TComponentState;
enum : unsigned {
    csLoading = 1,     // between BeginLoading and EndLoading
    csDestroying = 2,  // from BeforeDestruction on: notifications stop
};

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* GetOwner() const { return owner_; }

    AnsiString GetName() const { return name_; }
    // Raises EInvalidOperation when a sibling (same owner) has the name,
    // ignoring case.
    virtual void SetName(const AnsiString& Value);

    int GetTag() const { return tag_; }
    void SetTag(int Value) { tag_ = Value; }

    int GetComponentCount() const { return static_cast<int>(components_.size()); }
    // Raises EListError "List index out of bounds (i)".
    TComponent* GetComponent(int Index) const;
    // The owned component with this name, ignoring case; nullptr if none.
    TComponent* FindComponent(const AnsiString& AName) const;
    // Position in the owner's list; -1 without owner.
    int GetComponentIndex() const;

    // Takes AComponent from its current owner (if any) into this one.
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, newest first.
    void DestroyComponents();

    // Asks that AComponent hear Notification(this, opRemove) before this
    // component is freed. Mutual: the request is dropped if either goes.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    TComponentState GetComponentState() const { return state_; }
    // Marks this component and those it owns as loading (components it
    // takes in while loading too); EndLoading clears the mark and calls
    // Loaded on each (owned ones first).
    void BeginLoading();
    void EndLoading();

    // Called before `delete` by the owner and by deferred releases; the
    // destructor calls it too. From here on no notifications are sent.
    virtual void BeforeDestruction();

protected:
    // AComponent was inserted into or is about to leave this owner, or is a
    // free-notification partner about to be freed. The default passes the
    // news on to every owned component.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // End of loading; clears csLoading.
    virtual void Loaded();

    bool IsDestroying() const { return (state_ & csDestroying) != 0; }

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void NotifyOwnerChain(TComponent* AComponent, TOperation Operation);
    static void Unlink(std::vector<TComponent*>& list, TComponent* item);

    TComponent* owner_ = nullptr;
    AnsiString name_;
    int tag_ = 0;
    TComponentState state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

#endif
