#include "framework/classes/Component.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "framework/classes/ComponentScope.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/StringUtils.h"

namespace {

// A component ended without the free path: its derived parts are already gone, so nothing
// sound can be done with it any more.
[[noreturn]] void FreePathSkipped(const String& name) {
    std::string text = StringToUtf8(Format(
        L"Component '%s' ended without BeforeDestruction: free it with delete (or its owner), "
        L"or declare a local one as TLocal<T>\n",
        {name}));
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    std::abort();
}

TTeardownExceptionHandler g_teardownHandler = nullptr;

void HandleTeardownException(TObject* sender) noexcept {
    if (g_teardownHandler != nullptr) {
        g_teardownHandler(sender);
        return;
    }
    try {
        try {
            throw;
        } catch (const EAbort&) {
        } catch (const Exception& e) {
            std::fputs(StringToUtf8(e.Message() + L"\n").c_str(), stderr);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
        }
    } catch (...) {
        // Nothing may leave the barrier.
    }
}

template <class F>
void TeardownStep(TObject* sender, F&& step) noexcept {
    try {
        step();
    } catch (...) {
        HandleTeardownException(sender);
    }
}

// delete on a TLocal: its memory is a stack frame or part of another object.
[[noreturn]] void LocalDeleted(const String& name) {
    std::string text = StringToUtf8(Format(
        L"Component '%s' is a TLocal and was freed by delete, Release or an owner: only the end of its "
        L"scope may free it\n",
        {name}));
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    std::abort();
}

String NameOrClass(const TComponent& component) {
    return component.Name().empty() ? component.ClassName() : component.Name();
}

bool IsIdentStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
}

}  // namespace

bool IsValidIdent(const String& ident) {
    if (ident.empty() || !IsIdentStart(ident[0])) return false;
    return std::all_of(ident.begin() + 1, ident.end(),
                       [](wchar_t c) { return IsIdentStart(c) || (c >= L'0' && c <= L'9'); });
}

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    if (state_.Contains(csDestroying)) return;
    // A constructor that raised unwinds its finished parts here; this part is freed as usual.
    if (std::uncaught_exceptions() == 0) FreePathSkipped(name_);
    BeginDestruction();
}

void TComponent::operator delete(TComponent* component, std::destroying_delete_t) {
    if (component->local_) LocalDeleted(component->name_);
    void* block = dynamic_cast<void*>(component);
    component->BeginDestruction();
    component->~TComponent();
    ::operator delete(block);
}

void* TComponent::operator new(std::size_t size) { return ::operator new(size); }

void TComponent::operator delete(void* block) { ::operator delete(block); }

TTeardownExceptionHandler SetTeardownExceptionHandler(TTeardownExceptionHandler handler) {
    TTeardownExceptionHandler previous = g_teardownHandler;
    g_teardownHandler = handler;
    return previous;
}

void TComponent::BeginDestruction() noexcept {
    if (state_.Contains(csDestroying)) return;
    state_.Include(csDestroying);
    try {
        BeforeDestruction();
    } catch (...) {
        HandleTeardownException(this);
        ReleaseLinksAfterError();
    }
}

// Each step again, each inside the barrier: the holders, the owned components, the owner and
// the roots must not keep a pointer to memory that is about to be freed.
void TComponent::ReleaseLinksAfterError() noexcept {
    // Each round takes at least one holder off the list before telling it.
    while (!freeNotifies_.empty()) TeardownStep(this, [this] { RemoveFreeNotifications(); });
    TeardownStep(this, [this] { DestroyComponents(); });
    if (owner_ != nullptr) {
        TeardownStep(this, [this] { owner_->RemoveComponent(this); });
        if (owner_ != nullptr) {  // its notification raised before this one left the list
            std::erase(owner_->components_, this);
            owner_ = nullptr;
        }
    }
    if (globalRoot_) TeardownStep(this, [this] { UnregisterGlobalRoot(this); });
}

void TComponent::BeforeDestruction() {
    RemoveFreeNotifications();
    DestroyComponents();
    if (owner_ != nullptr) owner_->RemoveComponent(this);
    if (globalRoot_) UnregisterGlobalRoot(this);
}

void TComponent::Publish(TPublisher<TComponent>& p) {
    p.Property(L"Name", &TComponent::Name, &TComponent::SetName).Stored(false);
    p.Property(L"Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError(Format(L"List index out of bounds (%d)", {index}));
    return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(const String& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    ValidateRename(component, L"", component->name_);
    components_.push_back(component);
    component->owner_ = this;
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    Notification(component, opRemove);
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end()) components_.erase(it);
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    // Each is taken out of the list before it dies, so it does not report back to a dying owner.
    String locals;
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        if (last->local_)
            locals += (locals.empty() ? L"'" : L", '") + NameOrClass(*last) + L"'";
        else
            delete last;
    }
    // Let go of, not freed: the scope that declared it frees it.
    if (!locals.empty())
        throw EInvalidOperation(Format(L"'%s' cannot free %s: a TLocal is freed only by the end of its scope",
                                       {NameOrClass(*this), locals}));
}

void TComponent::SetName(const String& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(Format(L"'%s' is not a valid component name", {name}));
    if (owner_ != nullptr)
        owner_->ValidateRename(this, name_, name);
    else
        ValidateRename(nullptr, name_, name);
    name_ = name;
}

void TComponent::ValidateRename(TComponent* component, const String& curName,
                                const String& newName) {
    if (component != nullptr && !newName.empty() && !SameText(curName, newName) &&
        FindComponent(newName) != nullptr)
        throw EComponentError(Format(L"A component named %s already exists", {newName}));
}

void TComponent::SetDesigning(bool designing) {
    if (designing)
        state_.Include(csDesigning);
    else
        state_.Exclude(csDesigning);
    for (TComponent* c : components_) c->SetDesigning(designing);
}

void TComponent::FreeNotification(TComponent* component) {
    if (component == nullptr || component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (component == nullptr) return;
    Unlink(component);
    component->Unlink(this);
}

void TComponent::Unlink(TComponent* component) {
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), component);
    if (it != freeNotifies_.end()) freeNotifies_.erase(it);
}

void TComponent::RemoveFreeNotifications() {
    while (!freeNotifies_.empty()) {
        TComponent* holder = freeNotifies_.back();
        freeNotifies_.pop_back();
        holder->Unlink(this);
        holder->Notification(this, opRemove);
    }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component != nullptr) RemoveFreeNotification(component);
    // Walk down by index: a handler may remove components from this list.
    for (size_t i = components_.size(); i-- > 0;) {
        if (i >= components_.size()) continue;
        components_[i]->Notification(component, operation);
    }
}

void TComponent::Loaded() {
    state_.Exclude(csLoading);
}

String TComponent::GetNamePath() const {
    return name_;
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    if (root != this) return;
    for (TComponent* c : components_)
        if (!c->HasParent()) proc(c);
}

void RegisterGlobalRoot(TComponent* root) {
    if (root == nullptr || root->globalRoot_) return;
    TComponentScope* scope = TComponentScope::Current();
    if (scope == nullptr) throw EInvalidOperation(L"Global roots need a component scope");
    root->globalRoot_ = true;
    scope->globalRoots_.push_back(root);
}

void UnregisterGlobalRoot(TComponent* root) {
    if (root == nullptr) return;
    root->globalRoot_ = false;
    if (TComponentScope* scope = TComponentScope::Current()) {
        auto& roots = scope->globalRoots_;
        roots.erase(std::remove(roots.begin(), roots.end(), root), roots.end());
    }
}

TComponent* FindGlobalRoot(const String& name) {
    TComponentScope* scope = TComponentScope::Current();
    if (scope == nullptr || name.empty()) return nullptr;
    for (TComponent* root : scope->globalRoots_)
        if (SameText(root->Name(), name)) return root;
    return nullptr;
}
