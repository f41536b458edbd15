#pragma once
// Persistent objects and components: objects with an owner that frees them,
// a name, a tag, and a notification once their stored layout has been read.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/ClassInfo.h"
#include "core/Exception.h"

using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
    DECLARE_CLASS_INFO()
public:
    // Copies what it can from source; raises EConvertError when it cannot.
    virtual void Assign(const TPersistent& source);

protected:
    virtual bool AssignTo(TPersistent& dest) const;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

enum TComponentStateFlag : std::uint32_t {
    csLoading = 1,
    csReading = 2,
    csDestroying = 8,
    csDesigning = 16,
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    DECLARE_CLASS_INFO()
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    // Creates a component owned (and freed) by owner.
    template <class T, class... Args> static T* Create(TComponent* owner, Args&&... args) {
        if (!owner) throw Exception("a component made by Create needs an owner; hold others in a std::unique_ptr");
        auto created = std::make_unique<T>(owner, std::forward<Args>(args)...);
        T* raw = created.get();
        owner->InsertComponent(std::move(created));
        return raw;
    }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)).get(); }
    TComponent* FindComponent(std::wstring_view name) const;

    std::wstring Name() const { return name_; }
    void SetName(const std::wstring& name) { name_ = name; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    std::uint32_t ComponentState() const { return state_; }
    bool IsLoading() const { return (state_ & csLoading) != 0; }
    bool IsDesigning() const { return (state_ & csDesigning) != 0; }
    bool IsDestroying() const { return (state_ & csDestroying) != 0; }
    void SetLoading(bool loading);

    // Runs once after a stored layout has set this component's properties.
    virtual void Loaded();
    // A stored layout read child inside this component that is not a control
    // (menu items inside a menu or an item): the parent takes it into its tree.
    virtual void AddReadChild(TComponent*) {}
    // Told when a component this one may refer to is inserted or removed.
    virtual void Notification(TComponent* component, TOperation operation);
    // Asks to be told (Notification opRemove) when component is destroyed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Frees this component: its owner drops (and destroys) it. A component
    // without an owner belongs to whoever holds its std::unique_ptr.
    void Free();

    void InsertComponent(std::unique_ptr<TComponent> component);
    std::unique_ptr<TComponent> RemoveComponent(TComponent* component);

protected:
    void DestroyComponents();

private:
    TComponent* owner_ = nullptr;
    std::vector<std::unique_ptr<TComponent>> components_;
    std::vector<TComponent*> freeNotifies_;
    std::wstring name_;
    int tag_ = 0;
    std::uint32_t state_ = 0;
};
