// TComponent: named objects in an ownership tree. An owner frees what it owns, last first; a
// component being destroyed tells every component that asked for notification.
//
// Freeing runs in two phases. Every way a component is freed (delete, std::unique_ptr, an
// owner's teardown, a form's Release, the end of a TLocal) first calls the virtual
// BeforeDestruction while the whole object still exists: events fire, windows are destroyed,
// owned components are freed and holders are told. Only then do the destructors run, and each
// releases no more than what its own class holds. A component on the stack or inside another
// object is declared as TLocal<T> so that its end takes the same path.
#pragma once

#include <functional>
#include <new>
#include <vector>

#include "framework/classes/Persistent.h"
#include "framework/classes/Set.h"

enum TOperation { opInsert, opRemove };
enum TComponentStateItem { csLoading, csReading, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;

FV_DECLARE_EXCEPTION(EComponentError, Exception);

class TComponent : public TPersistent {
    FV_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    // Expects BeforeDestruction to have run (see the free path above); a component that skipped
    // it ends the program with a message naming it, unless a constructor is being unwound.
    ~TComponent() override;
    static void Publish(TPublisher<TComponent>& p);

    // The free path: `delete component` runs BeforeDestruction on the whole object, then the
    // destructors, and returns the memory.
    void operator delete(TComponent* component, std::destroying_delete_t);
    // Plain allocation; the plain delete only returns the memory of a constructor that raised.
    static void* operator new(std::size_t size);
    static void operator delete(void* block);

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;  // raises EListError out of range
    // The owned component with this name (case-insensitive), or null.
    TComponent* FindComponent(const String& name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees the owned components, last first.
    void DestroyComponents();

    const String& Name() const { return name_; }
    // Raises EComponentError "'%s' is not a valid component name" / "A component named %s
    // already exists" (among the owner's components).
    virtual void SetName(const String& name);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    TComponentState ComponentState() const { return state_; }
    void SetDesigning(bool designing);
    // Declared as TLocal<T>: its end frees it, and nothing else may.
    bool IsLocal() const { return local_; }

    // Asks for Notification(component, opRemove) when component is destroyed (and the other way
    // round, so neither keeps a dangling pointer).
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    String GetNamePath() const override;

    // Description nesting: the component that holds this one in a description (a control's
    // parent), and the components written inside this one.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent*) {}
    // Default: the root lists the components it owns that have no parent.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);

protected:
    friend class TReader;
    virtual void Notification(TComponent* component, TOperation operation);
    // Called once the whole description is read and references are fixed; clears csLoading.
    virtual void Loaded();
    virtual void ValidateRename(TComponent* component, const String& curName,
                                const String& newName);
    // The first phase of freeing, run once with csDestroying already set and the whole object
    // alive. An override does its own part first, then calls the inherited one; this one tells
    // the holders of free notifications, frees the owned components (last first) and leaves the
    // owner and the global roots.
    virtual void BeforeDestruction();
    TPersistent* GetOwner() const override { return owner_; }

private:
    template <class T>
    friend class TLocal;
    // Sets csDestroying and runs BeforeDestruction, once, inside the teardown barrier.
    void BeginDestruction() noexcept;
    // What BeforeDestruction leaves undone when an override raised before calling the inherited
    // one: the links to other components go all the same.
    void ReleaseLinksAfterError() noexcept;
    void RemoveFreeNotifications();
    void Unlink(TComponent* component);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    String name_;
    int tag_ = 0;
    TComponentState state_;
    bool globalRoot_ = false;
    bool local_ = false;

    friend void RegisterGlobalRoot(TComponent*);
    friend void UnregisterGlobalRoot(TComponent*);
};

// A component that lives in a scope (a local variable, a member) instead of being allocated:
// its end runs the free path's first phase like delete does.
//
//     TLocal<TForm> form(nullptr);
//
// Its end is the only way it is freed: an owner that frees it (DestroyComponents raises
// EInvalidOperation naming it, after freeing the others), Release or caFree (EInvalidOperation)
// and delete (the program stops with a message naming it) are errors where they happen. So it
// is created without an owner, or with one that ends after it.
template <class T>
class TLocal final : public T {
public:
    using T::T;
    ~TLocal() override { static_cast<TComponent*>(this)->BeginDestruction(); }

private:
    [[maybe_unused]] bool marked_ = (static_cast<TComponent*>(this)->local_ = true);
};

bool IsValidIdent(const String& ident);

// Freeing never raises (the destroying delete is noexcept): an exception from BeforeDestruction
// (an OnDestroy handler, a realign) is handed, inside its catch block, to this handler, and the
// rest of the teardown goes on. The controls scope installs its exception barrier; without a
// handler the message goes to stderr. The handler must not raise. Returns the previous one.
using TTeardownExceptionHandler = void (*)(TObject* sender) noexcept;
TTeardownExceptionHandler SetTeardownExceptionHandler(TTeardownExceptionHandler handler);

// Roots (forms, data modules) whose components other descriptions may reference as
// "Root.Component". A root leaves the list when it is destroyed. The list belongs to the
// component scope in force (ComponentScope.h): registering raises EInvalidOperation without
// one, and finding then finds nothing.
void RegisterGlobalRoot(TComponent* root);
void UnregisterGlobalRoot(TComponent* root);
TComponent* FindGlobalRoot(const String& name);
