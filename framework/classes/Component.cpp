#include "framework/classes/Component.h"

#include <algorithm>

#include "framework/rtl/Format.h"
#include "framework/rtl/StringUtils.h"

namespace {

std::vector<TComponent*>& GlobalRoots() {
    // Never destroyed: a global owner (the application) frees its roots after this file's
    // statics would otherwise be gone.
    static auto& roots = *new std::vector<TComponent*>();
    return roots;
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
    Destroying();
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
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
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

void TComponent::Destroying() {
    state_.Include(csDestroying);
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
    root->globalRoot_ = true;
    GlobalRoots().push_back(root);
}

void UnregisterGlobalRoot(TComponent* root) {
    auto& roots = GlobalRoots();
    auto it = std::find(roots.begin(), roots.end(), root);
    if (it != roots.end()) roots.erase(it);
    if (root != nullptr) root->globalRoot_ = false;
}

TComponent* FindGlobalRoot(const String& name) {
    if (name.empty()) return nullptr;
    for (TComponent* root : GlobalRoots())
        if (SameText(root->Name(), name)) return root;
    return nullptr;
}
