#include "platform/vcl/Classes.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace vcl {

bool TPersistent::GetPublished(const String&, TPropValue&) const { return false; }
bool TPersistent::SetPublished(const String&, const TPropValue&) { return false; }

const String& TStringList::Strings(int index) const {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    return items_[static_cast<size_t>(index)].first;
}

TObject* TStringList::Objects(int index) const {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    return items_[static_cast<size_t>(index)].second;
}

int TStringList::AddObject(const String& text, TObject* object) {
    items_.emplace_back(text, object);
    return Count() - 1;
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    items_.erase(items_.begin() + index);
}

int TStringList::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[static_cast<size_t>(i)].second == object) return i;
    return -1;
}

TComponent::TComponent(TComponent* owner) : lifetime_(std::make_shared<TComponent*>(this)) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Whoever asked is told before the owned components go, as the library does.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->RemoveFreeNotification(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Destroying() {
    destroying_ = true;
    *lifetime_ = nullptr;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) rtl::RaiseListIndexError(index);
    return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(const String& name) const {
    if (name.empty()) return nullptr;
    const auto found = componentsByName_.find(rtl::LowerCase(name));
    return found == componentsByName_.end() ? nullptr : found->second;
}

void TComponent::ValidateRename(const String& name) const {
    if (!name.empty() && !rtl::IsValidIdent(name))
        throw rtl::EComponentError(u"'" + name + u"' is not a valid component name");
    if (owner_ && !name.empty()) {
        TComponent* existing = owner_->FindComponent(name);
        if (existing && existing != this) throw rtl::EComponentError(u"A component named " + name + u" already exists");
    }
}

void TComponent::SetName(const String& name) {
    if (name == name_) return;
    ValidateRename(name);
    if (owner_) {
        if (!name_.empty()) owner_->componentsByName_.erase(rtl::LowerCase(name_));
        if (!name.empty()) owner_->componentsByName_[rtl::LowerCase(name)] = this;
    }
    name_ = name;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->owner_) component->owner_->RemoveComponent(component);
    component->ValidateRename(component->name_);
    components_.push_back(component);
    if (!component->name_.empty()) componentsByName_[rtl::LowerCase(component->name_)] = component;
    component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* component) {
    const auto found = std::find(components_.begin(), components_.end(), component);
    if (found == components_.end()) return;
    components_.erase(found);
    if (!component->name_.empty()) componentsByName_.erase(rtl::LowerCase(component->name_));
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        RemoveComponent(last);
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    // The relation is mutual, so that either side's destruction unhooks the other.
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

namespace {

struct ClassRegistry {
    std::mutex mutex;
    std::map<String, TComponentFactory, std::function<bool(const String&, const String&)>> classes{
        [](const String& a, const String& b) { return rtl::CompareText(a, b) < 0; }};
};

ClassRegistry& classRegistry() {
    static ClassRegistry* instance = new ClassRegistry;
    return *instance;
}

}  // namespace

void RegisterClass(const String& className, TComponentFactory factory) {
    std::lock_guard<std::mutex> lock(classRegistry().mutex);
    classRegistry().classes[className] = std::move(factory);
}

void UnRegisterClass(const String& className) {
    std::lock_guard<std::mutex> lock(classRegistry().mutex);
    classRegistry().classes.erase(className);
}

bool GetClass(const String& className) {
    std::lock_guard<std::mutex> lock(classRegistry().mutex);
    return classRegistry().classes.count(className) != 0;
}

TComponentFactory FindClass(const String& className) {
    std::lock_guard<std::mutex> lock(classRegistry().mutex);
    const auto found = classRegistry().classes.find(className);
    if (found == classRegistry().classes.end()) throw EClassNotFound(u"Class " + className + u" not found");
    return found->second;
}

}  // namespace vcl
