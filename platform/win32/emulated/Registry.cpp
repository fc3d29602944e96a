#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/rtl/Text.h"
#include "platform/win32/emulated/EmulationControl.h"

namespace {

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// Children and values are keyed by their names folded to lower case: names compare without case,
// and plain ordering of the folded names is the platform's case-less enumeration order.
struct Key {
    using Children = std::map<std::u16string, std::shared_ptr<Key>>;

    std::u16string name;
    bool deleted = false;
    bool writeDenied = false;
    Children children;
    std::map<std::u16string, Value> values;
    // Where the last enumeration stopped, so that walking index by index costs one step each,
    // as it does on the platform. Any change of the children drops it.
    Children::iterator enumerated;
    DWORD enumeratedIndex = 0;
    bool enumerating = false;

    Children::iterator ChildAt(DWORD index) {
        if (!enumerating || index < enumeratedIndex) {
            enumerated = children.begin();
            enumeratedIndex = 0;
        }
        enumerated = std::next(enumerated, index - enumeratedIndex);
        enumeratedIndex = index;
        enumerating = true;
        return enumerated;
    }
};

struct OpenKey {
    std::shared_ptr<Key> key;
    REGSAM access;
};

struct Registry {
    std::mutex mutex;
    std::shared_ptr<Key> machine = std::make_shared<Key>();
    std::shared_ptr<Key> user = std::make_shared<Key>();
    std::shared_ptr<Key> users = std::make_shared<Key>();
    std::map<uintptr_t, OpenKey> handles;
    uintptr_t nextHandle = 0x1000;
    std::u16string scratch;
};

Registry& registry() {
    static Registry* instance = new Registry;  // outlives every static that closes keys at exit
    return *instance;
}

constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK;

// Calls `visit` with each name of a backslash-separated path, in order, skipping the empty
// ones that doubled, leading or trailing backslashes leave; stops when it answers false.
template <class Visit>
bool ForEachName(std::u16string_view path, Visit&& visit) {
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) end = path.size();
        if (end > start && !visit(path.substr(start, end - start))) return false;
        start = end + 1;
    }
    return true;
}

// Into a buffer the caller reuses, so that a lookup does not allocate for every name.
const std::u16string& Folded(std::u16string_view name, std::u16string& buffer) {
    buffer.assign(name);
    for (char16_t& c : buffer) c = rtl::AsciiLower(c);
    return buffer;
}

// The child's entry in its parent, made when `create` allows; nil when there is none.
const std::shared_ptr<Key>* Child(Key& key, std::u16string_view name, const std::u16string& folded, bool create) {
    auto found = key.children.find(folded);
    if (found != key.children.end()) return &found->second;
    if (!create) return nullptr;
    auto child = std::make_shared<Key>();
    child->name = std::u16string(name);
    key.enumerating = false;
    return &key.children.emplace(folded, std::move(child)).first->second;
}

// Caller holds the lock: the registry's scratch buffer folds the names.
std::shared_ptr<Key> Resolve(const std::shared_ptr<Key>& from, std::u16string_view path, bool create) {
    const std::shared_ptr<Key>* key = &from;
    const bool found = ForEachName(path, [&](std::u16string_view name) {
        key = Child(**key, name, Folded(name, registry().scratch), create);
        return key != nullptr;
    });
    return found ? *key : nullptr;
}

// Caller holds the lock.
std::shared_ptr<Key> KeyOf(HKEY handle) {
    Registry& r = registry();
    const auto value = reinterpret_cast<uintptr_t>(handle);
    if (handle == HKEY_LOCAL_MACHINE) return r.machine;
    if (handle == HKEY_CURRENT_USER) return r.user;
    if (handle == HKEY_USERS) return r.users;
    if (handle == HKEY_CLASSES_ROOT) return Resolve(r.machine, u"Software\\Classes", true);
    auto found = r.handles.find(value);
    if (found == r.handles.end()) return nullptr;
    return found->second.key;
}

bool MayWrite(HKEY handle) {
    auto found = registry().handles.find(reinterpret_cast<uintptr_t>(handle));
    return found == registry().handles.end() || (found->second.access & kWriteRights) != 0;
}

HKEY NewHandle(const std::shared_ptr<Key>& key, REGSAM access) {
    Registry& r = registry();
    const uintptr_t value = r.nextHandle++;
    r.handles[value] = OpenKey{key, access};
    return reinterpret_cast<HKEY>(value);
}

std::u16string_view Text(LPCWSTR text) { return text ? std::u16string_view(rtl::U(text)) : std::u16string_view(); }

// A value's name as its key keeps it; caller holds the lock.
const std::u16string& ValueKey(LPCWSTR valueName) { return Folded(Text(valueName), registry().scratch); }

void MarkDeleted(Key& key) {
    key.deleted = true;
    for (auto& child : key.children) MarkDeleted(*child.second);
}

}  // namespace

namespace emulation {

void ResetRegistry() {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto* root : {&r.machine, &r.user, &r.users}) {
        MarkDeleted(**root);
        *root = std::make_shared<Key>();
    }
}

void DenyWriteAccess(HKEY root, const std::u16string& path) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto base = KeyOf(root);
    if (auto key = base ? Resolve(base, path, true) : nullptr) key->writeDenied = true;
}

}  // namespace emulation

extern "C" {

LSTATUS RegOpenKeyExW(HKEY handle, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto base = KeyOf(handle);
    if (!base) return ERROR_INVALID_HANDLE;
    if (base->deleted) return ERROR_KEY_DELETED;
    auto key = Resolve(base, Text(subKey), false);
    if (!key) return ERROR_FILE_NOT_FOUND;
    if (key->writeDenied && (access & kWriteRights) != 0) return ERROR_ACCESS_DENIED;
    *result = NewHandle(key, access);
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExW(HKEY handle, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM access, void*, PHKEY result,
                        LPDWORD disposition) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto base = KeyOf(handle);
    if (!base) return ERROR_INVALID_HANDLE;
    if (base->deleted) return ERROR_KEY_DELETED;
    const std::u16string_view path = Text(subKey);
    auto existing = Resolve(base, path, false);
    if (!existing && (base->writeDenied || !MayWrite(handle))) return ERROR_ACCESS_DENIED;
    auto key = existing ? existing : Resolve(base, path, true);
    if (key->writeDenied && (access & kWriteRights) != 0) return ERROR_ACCESS_DENIED;
    if (disposition) *disposition = existing ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *result = NewHandle(key, access);
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY handle) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.handles.erase(reinterpret_cast<uintptr_t>(handle)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegEnumKeyExW(HKEY handle, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD, LPWSTR, LPDWORD, void*) {
    if (!name || !nameLength) return ERROR_INVALID_PARAMETER;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto key = KeyOf(handle);
    if (!key) return ERROR_INVALID_HANDLE;
    if (key->deleted) return ERROR_KEY_DELETED;
    if (index >= key->children.size()) return ERROR_NO_MORE_ITEMS;
    auto child = key->ChildAt(index);
    const std::u16string& childName = child->second->name;
    if (childName.size() + 1 > *nameLength) return ERROR_MORE_DATA;
    std::copy(childName.begin(), childName.end(), name);
    name[childName.size()] = 0;
    *nameLength = static_cast<DWORD>(childName.size());
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExW(HKEY handle, LPCWSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataLength) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto key = KeyOf(handle);
    if (!key) return ERROR_INVALID_HANDLE;
    if (key->deleted) return ERROR_KEY_DELETED;
    auto found = key->values.find(ValueKey(valueName));
    if (found == key->values.end()) return ERROR_FILE_NOT_FOUND;
    const Value& value = found->second;
    if (type) *type = value.type;
    const auto size = static_cast<DWORD>(value.data.size());
    if (data) {
        if (!dataLength) return ERROR_INVALID_PARAMETER;
        if (*dataLength < size) {
            *dataLength = size;
            return ERROR_MORE_DATA;
        }
        if (size) std::memcpy(data, value.data.data(), size);
    }
    if (dataLength) *dataLength = size;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY handle, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD dataLength) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto key = KeyOf(handle);
    if (!key) return ERROR_INVALID_HANDLE;
    if (key->deleted) return ERROR_KEY_DELETED;
    if (!MayWrite(handle) || key->writeDenied) return ERROR_ACCESS_DENIED;
    Value& value = key->values[ValueKey(valueName)];
    value.type = type;
    value.data.assign(data, data + (data ? dataLength : 0));
    return ERROR_SUCCESS;
}

LSTATUS RegDeleteValueW(HKEY handle, LPCWSTR valueName) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto key = KeyOf(handle);
    if (!key) return ERROR_INVALID_HANDLE;
    if (!MayWrite(handle) || key->writeDenied) return ERROR_ACCESS_DENIED;
    return key->values.erase(ValueKey(valueName)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LSTATUS RegDeleteTreeW(HKEY handle, LPCWSTR subKey) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto base = KeyOf(handle);
    if (!base) return ERROR_INVALID_HANDLE;
    std::u16string_view path = Text(subKey);
    while (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
    if (path.find_first_not_of(u'\\') == std::u16string_view::npos) {
        for (auto& child : base->children) MarkDeleted(*child.second);
        base->children.clear();
        base->values.clear();
        return ERROR_SUCCESS;
    }
    const size_t lastSeparator = path.rfind(u'\\');
    const std::u16string_view parentPath =
        lastSeparator == std::u16string_view::npos ? std::u16string_view() : path.substr(0, lastSeparator);
    const std::u16string_view last = lastSeparator == std::u16string_view::npos ? path : path.substr(lastSeparator + 1);
    auto parent = Resolve(base, parentPath, false);
    if (!parent) return ERROR_FILE_NOT_FOUND;
    auto found = parent->children.find(Folded(last, r.scratch));
    if (found == parent->children.end()) return ERROR_FILE_NOT_FOUND;
    MarkDeleted(*found->second);
    parent->children.erase(found);
    parent->enumerating = false;
    return ERROR_SUCCESS;
}

}  // extern "C"
