// The component library's object model: owned components with names, free notifications
// and guarded pointers that the library clears when the component is destroyed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Exceptions.h"

namespace vcl {

using rtl::String;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    // The run-time class name, as the IDE's code and the designer see it.
    virtual String ClassName() const { return u"TObject"; }
};

#define KORVEL_VCL_CLASS(Name) \
    String ClassName() const override { return u## #Name; }

struct TPropValue;

class TPersistent : public TObject {
public:
    KORVEL_VCL_CLASS(TPersistent)

    // Published properties, as the run-time type information offers them by name (TypInfo.h
    // reads and writes them). False when the class publishes no property of that name.
    virtual bool GetPublished(const String& name, TPropValue& value) const;
    virtual bool SetPublished(const String& name, const TPropValue& value);
};

// Texts, each with an associated object that the list does not own.
class TStringList : public TPersistent {
public:
    KORVEL_VCL_CLASS(TStringList)
    int Count() const { return static_cast<int>(items_.size()); }
    // Both raise a list-index error outside 0..Count-1.
    const String& Strings(int index) const;
    TObject* Objects(int index) const;
    int AddObject(const String& text, TObject* object);
    void Delete(int index);
    int IndexOfObject(const TObject* object) const;

private:
    std::vector<std::pair<String, TObject*>> items_;
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    KORVEL_VCL_CLASS(TComponent)

    TComponent* Owner() const { return owner_; }
    const String& Name() const { return name_; }
    // Raises EComponentError for a name that is not an identifier or that another component
    // of the same owner already has (compared without ASCII case).
    virtual void SetName(const String& name);

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    TComponent* FindComponent(const String& name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();

    // `component` is told through Notification when this component is destroyed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    bool IsDestroying() const { return destroying_; }
    // Marks the start of destruction: guarded pointers read nil from here on. Classes whose
    // destructors do work of their own call it first.
    void Destroying();
    int32_t DesignInfo = 0;
    intptr_t Tag = 0;

    // The cell that guarded pointers share; it reads nil from the start of destruction.
    const std::shared_ptr<TComponent*>& LifetimeCell() const { return lifetime_; }

protected:
    virtual void Notification(TComponent* component, TOperation operation);

private:
    void ValidateRename(const String& name) const;

    TComponent* owner_ = nullptr;
    String name_;
    std::vector<TComponent*> components_;
    // Owned components with a name, by LowerCase of it: names are unique per owner.
    std::unordered_map<String, TComponent*> componentsByName_;
    std::vector<TComponent*> freeNotifies_;
    bool destroying_ = false;
    std::shared_ptr<TComponent*> lifetime_;
};

// A pointer to a component that reads nil once the component is being destroyed.
template <class T>
class ComponentPtr {
public:
    ComponentPtr() = default;
    ComponentPtr(T* component) : cell_(component ? component->LifetimeCell() : nullptr) {}
    ComponentPtr& operator=(T* component) {
        cell_ = component ? component->LifetimeCell() : nullptr;
        return *this;
    }
    T* Get() const { return cell_ ? static_cast<T*>(*cell_) : nullptr; }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }

private:
    std::shared_ptr<TComponent*> cell_;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// The class registry: component classes known by name.
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;
void RegisterClass(const String& className, TComponentFactory factory = {});
void UnRegisterClass(const String& className);
// Whether a class of that name is registered.
bool GetClass(const String& className);
// The class's factory (empty when it was registered without one); raises EClassNotFound when
// the class is not registered.
TComponentFactory FindClass(const String& className);

class EClassNotFound : public rtl::Exception {
public:
    using Exception::Exception;
};

}  // namespace vcl
