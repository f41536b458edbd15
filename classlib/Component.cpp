#include "classlib/Component.h"

#include <algorithm>

const TClassInfo& TPersistent::StaticClass() {
    static const TClassInfo info(L"TPersistent", &TObject::StaticClass());
    return info;
}

void TPersistent::Assign(const TPersistent& source) {
    if (!source.AssignTo(*this))
        throw EConvertError("Cannot assign a " + WideToUtf8(source.ClassName()) + " to a " +
                            WideToUtf8(ClassName()));
}

bool TPersistent::AssignTo(TPersistent&) const { return false; }

const TClassInfo& TComponent::StaticClass() {
    static const TClassInfo info(L"TComponent", &TPersistent::StaticClass(),
                                 {
                                     props::Text(L"Name", &TComponent::Name, &TComponent::SetName),
                                     props::Integer(L"Tag", &TComponent::Tag, &TComponent::SetTag),
                                 });
    return info;
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() {
    state_ |= csDestroying;
    for (TComponent* c : std::vector<TComponent*>(freeNotifies_)) {
        c->RemoveFreeNotification(this);
        c->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    // The owner normally dropped us already (Free, or its own destruction);
    // a component destroyed otherwise still leaves the owner's list clean.
    if (owner_) {
        if (auto self = owner_->RemoveComponent(this)) self.release();
    }
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
    component->owner_ = this;
    TComponent* raw = component.get();
    components_.push_back(std::move(component));
    Notification(raw, TOperation::opInsert);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find_if(components_.begin(), components_.end(),
                           [component](const auto& p) { return p.get() == component; });
    if (it == components_.end()) return nullptr;
    std::unique_ptr<TComponent> taken = std::move(*it);
    components_.erase(it);
    taken->owner_ = nullptr;
    if (!IsDestroying()) Notification(component, TOperation::opRemove);
    return taken;
}

void TComponent::DestroyComponents() {
    // Last first, each taken out of the list before it is destroyed, so its
    // destructor never sees a half-updated list.
    while (!components_.empty()) {
        std::unique_ptr<TComponent> last = std::move(components_.back());
        components_.pop_back();
        last->owner_ = nullptr;
        last.reset();
    }
}

void TComponent::Free() {
    if (!owner_) return;
    owner_->RemoveComponent(this).reset();
}

TComponent* TComponent::FindComponent(std::wstring_view name) const {
    if (name.empty()) return nullptr;
    for (const auto& c : components_)
        if (SameText(c->name_, name)) return c.get();
    return nullptr;
}

void TComponent::SetLoading(bool loading) {
    if (loading) state_ |= csLoading | csReading;
    else state_ &= ~(csLoading | csReading);
}

void TComponent::Loaded() { state_ &= ~csLoading; }

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) RemoveFreeNotification(component);
    std::vector<TComponent*> owned;
    owned.reserve(components_.size());
    for (const auto& c : components_) owned.push_back(c.get());
    for (TComponent* c : owned)
        if (c != component) c->Notification(component, operation);
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
        freeNotifies_.push_back(component);
        component->FreeNotification(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), component);
    if (it != freeNotifies_.end()) {
        freeNotifies_.erase(it);
        component->RemoveFreeNotification(this);
    }
}
