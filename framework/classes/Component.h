// TComponent: named objects in an ownership tree. An owner frees what it owns, last first; a
// component being destroyed tells every component that asked for notification.
#pragma once

#include <functional>
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
    ~TComponent() override;
    static void Publish(TPublisher<TComponent>& p);

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;  // raises EListError out of range
    // The owned component with this name (case-insensitive), or null.
    TComponent* FindComponent(const String& name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees the owned components, last first. Classes whose owned components refer back to
    // them call this at the start of their own destructor.
    void DestroyComponents();

    const String& Name() const { return name_; }
    // Raises EComponentError "'%s' is not a valid component name" / "A component named %s
    // already exists" (among the owner's components).
    virtual void SetName(const String& name);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    TComponentState ComponentState() const { return state_; }
    void SetDesigning(bool designing);

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
    // Marks the component as being destroyed (idempotent); destructors of derived classes may
    // call it first so that notifications they trigger see the state.
    void Destroying();
    TPersistent* GetOwner() const override { return owner_; }

private:
    void RemoveFreeNotifications();
    void Unlink(TComponent* component);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    String name_;
    int tag_ = 0;
    TComponentState state_;
    bool globalRoot_ = false;

    friend void RegisterGlobalRoot(TComponent*);
    friend void UnregisterGlobalRoot(TComponent*);
};

bool IsValidIdent(const String& ident);

// Roots (forms, data modules) whose components other descriptions may reference as
// "Root.Component". A root leaves the list when it is destroyed.
void RegisterGlobalRoot(TComponent* root);
void UnregisterGlobalRoot(TComponent* root);
TComponent* FindGlobalRoot(const String& name);
