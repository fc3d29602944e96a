// Published properties read and written by name, as the run-time type information allows:
// code that does not link against a class still reaches its ordinal, object and event
// properties. A missing property, or one of another kind, raises EPropertyError.
#pragma once

#include <variant>

#include "platform/vcl/Controls.h"

namespace vcl {

// The tab sets' image request: the handler may change ImageIndex.
using TTabGetImageEvent = std::function<void(TObject* sender, int tabIndex, int& imageIndex)>;

struct TPropValue {
    std::variant<std::monostate, int, TObject*, TNotifyEvent, TTabGetImageEvent, TMouseEvent> value;
};

class EPropertyError : public rtl::Exception {
public:
    using Exception::Exception;
};

namespace typinfo_detail {
[[noreturn]] void RaiseUnknownProperty(const String& name);
template <class T>
T Read(const TPersistent* instance, const String& name) {
    TPropValue found;
    if (!instance || !instance->GetPublished(name, found)) RaiseUnknownProperty(name);
    const T* typed = std::get_if<T>(&found.value);
    if (!typed) RaiseUnknownProperty(name);
    return *typed;
}
}  // namespace typinfo_detail

inline int GetOrdProp(const TPersistent* instance, const String& name) {
    return typinfo_detail::Read<int>(instance, name);
}
inline TObject* GetObjectProp(const TPersistent* instance, const String& name) {
    return typinfo_detail::Read<TObject*>(instance, name);
}
template <class Event>
Event GetMethodProp(const TPersistent* instance, const String& name) {
    return typinfo_detail::Read<Event>(instance, name);
}
template <class Event>
void SetMethodProp(TPersistent* instance, const String& name, Event handler) {
    TPropValue current;
    if (!instance || !instance->GetPublished(name, current) || !std::holds_alternative<Event>(current.value) ||
        !instance->SetPublished(name, TPropValue{std::move(handler)}))
        typinfo_detail::RaiseUnknownProperty(name);
}

}  // namespace vcl
