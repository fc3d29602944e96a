#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Text.h"
#include "platform/win32/emulated/EmulationControl.h"

namespace {

struct Value {
    explicit Value(std::u16string_view name) : name(name) {}
    std::u16string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// Names compare without case, only the ASCII letters folded, and are looked up as they are
// passed: no folded copy is made for a lookup.
char16_t Fold(char16_t c) { return rtl::AsciiLower(c); }

// FNV-1a over the characters four at a time, each with bit 5 set: a letter's two cases hash
// alike, and setting one bit in four characters at once is cheaper than folding each. A
// name's last one to three characters are taken one at a time.
constexpr uint64_t kHashBasis = 14695981039346656037ull;
uint64_t HashFour(uint64_t hash, uint64_t four) { return (hash ^ (four | 0x0020002000200020ull)) * 1099511628211ull; }
uint64_t HashOne(uint64_t hash, char16_t c) { return (hash ^ (c | 0x20u)) * 1099511628211ull; }

uint64_t LoadFour(const char16_t* at) {
    uint64_t four;
    std::memcpy(&four, at, sizeof four);
    return four;
}

// Whether one of four characters is a backslash: a lane of the exclusive-or is zero exactly
// there, and only a zero lane borrows into its own top bit.
bool HasBackslash(uint64_t four) {
    const uint64_t x = four ^ 0x005C005C005C005Cull;
    return ((x - 0x0001000100010001ull) & ~x & 0x8000800080008000ull) != 0;
}

size_t CaselessHash(std::u16string_view name) {
    uint64_t hash = kHashBasis;
    size_t at = 0;
    for (; at + 4 <= name.size(); at += 4) hash = HashFour(hash, LoadFour(name.data() + at));
    for (; at < name.size(); ++at) hash = HashOne(hash, name[at]);
    return static_cast<size_t>(hash);
}

// Names are mostly asked for as they were written: the exact comparison settles those.
bool CaselessEqual(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0 ||
            std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Fold(x) == Fold(y); }));
}

// A name with its hash worked out once: walking a bucket compares hashes before it reaches
// for the texts.
struct HashedName {
    explicit HashedName(std::u16string_view name) : text(name), hash(CaselessHash(name)) {}
    HashedName(std::u16string_view name, size_t nameHash) : text(name), hash(nameHash) {}
    std::u16string_view text;
    size_t hash;
};

// The name in `path` from `start` to the next backslash or the path's end, hashed as
// CaselessHash hashes it, in the pass that looks for its end.
HashedName NameAt(std::u16string_view path, size_t start) {
    uint64_t hash = kHashBasis;
    size_t at = start;
    for (; at + 4 <= path.size(); at += 4) {
        const uint64_t four = LoadFour(path.data() + at);
        if (HasBackslash(four)) break;
        hash = HashFour(hash, four);
    }
    for (; at < path.size() && path[at] != u'\\'; ++at) hash = HashOne(hash, path[at]);
    return HashedName(path.substr(start, at - start), static_cast<size_t>(hash));
}

struct HashOfName {
    size_t operator()(const HashedName& name) const noexcept { return name.hash; }
};

struct SameName {
    bool operator()(const HashedName& a, const HashedName& b) const noexcept {
        return a.hash == b.hash && CaselessEqual(a.text, b.text);
    }
};

// Plain ordering of the folded names: the platform's case-less enumeration order.
struct CaselessLess {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char16_t x, char16_t y) { return Fold(x) < Fold(y); });
    }
};

// Entries found by the hash of their case-less name, keyed by a view of the entry's own `name`,
// which lives as long as the entry does.
template <class Entry>
using ByName = std::unordered_map<HashedName, Entry, HashOfName, SameName>;

// Adds `entry` under its own name.
template <class Entry>
typename ByName<Entry>::mapped_type& AddByName(ByName<Entry>& entries, Entry entry) {
    const std::u16string_view ownName = entry->name;
    return entries.emplace(HashedName(ownName), std::move(entry)).first->second;
}

// Children are listed in a list sorted when first enumerated after a change.
struct Key : std::enable_shared_from_this<Key> {
    using Children = ByName<std::shared_ptr<Key>>;

    std::u16string name;
    bool deleted = false;
    bool writeDenied = false;
    Children children;
    ByName<std::unique_ptr<Value>> values;
    // Entries of `children` in enumeration order; stale while `enumerationStale` is set.
    std::vector<const Children::value_type*> enumeration;
    bool enumerationStale = true;

    const Key& ChildAt(DWORD index) {
        if (enumerationStale) {
            enumeration.clear();
            enumeration.reserve(children.size());
            for (const auto& child : children) enumeration.push_back(&child);
            std::sort(enumeration.begin(), enumeration.end(),
                      [](const auto* a, const auto* b) { return CaselessLess()(a->first.text, b->first.text); });
            enumerationStale = false;
        }
        return *enumeration[index]->second;
    }
};

// The open handles. A handle names a slot and the slot's generation when it was opened: the
// slot holds the key (alive, even when deleted, until the handle is closed) and is reused
// after the close with the next generation, so a closed handle never reaches a later key.
// Opening and closing allocate nothing once the table has grown to the most handles open
// at one time.
class HandleTable {
public:
    HKEY Open(std::shared_ptr<Key> key, REGSAM access) {
        uint32_t index;
        if (free_.empty()) {
            index = static_cast<uint32_t>(slots_.size());
            slots_.emplace_back();
        } else {
            index = free_.back();
            free_.pop_back();
        }
        Slot& slot = slots_[index];
        slot.key = std::move(key);
        slot.access = access;
        return reinterpret_cast<HKEY>(uintptr_t{slot.generation} << 32 | (kFirstHandle + index));
    }
    bool Close(HKEY handle) {
        Slot* slot = Find(handle);
        if (!slot) return false;
        slot->key.reset();
        ++slot->generation;
        free_.push_back(static_cast<uint32_t>(slot - slots_.data()));
        return true;
    }
    Key* KeyOf(HKEY handle) {
        Slot* slot = Find(handle);
        return slot ? slot->key.get() : nullptr;
    }
    // Nil for a handle that is not open.
    const REGSAM* AccessOf(HKEY handle) {
        Slot* slot = Find(handle);
        return slot ? &slot->access : nullptr;
    }

private:
    // Below the predefined keys (0x80000000 and up), which are never in the table.
    static constexpr uint32_t kFirstHandle = 0x1000;
    static_assert(sizeof(uintptr_t) >= 8, "a handle carries its slot's generation in its upper half");

    struct Slot {
        std::shared_ptr<Key> key;  // nil while the slot is free
        REGSAM access = 0;
        uint32_t generation = 0;
    };

    Slot* Find(HKEY handle) {
        const auto value = reinterpret_cast<uintptr_t>(handle);
        const auto low = static_cast<uint32_t>(value);
        if (low < kFirstHandle || low - kFirstHandle >= slots_.size()) return nullptr;
        Slot& slot = slots_[low - kFirstHandle];
        return slot.key && slot.generation == static_cast<uint32_t>(value >> 32) ? &slot : nullptr;
    }

    std::vector<Slot> slots_;
    std::vector<uint32_t> free_;
};

struct Registry {
    std::mutex mutex;
    std::shared_ptr<Key> machine = std::make_shared<Key>();
    std::shared_ptr<Key> user = std::make_shared<Key>();
    std::shared_ptr<Key> users = std::make_shared<Key>();
    // HKEY_CLASSES_ROOT's key below `machine`, found once; found again after it was deleted.
    std::shared_ptr<Key> classes;
    HandleTable handles;
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
        const HashedName name = NameAt(path, start);
        if (!name.text.empty() && !visit(name)) return false;
        start += name.text.size() + 1;
    }
    return true;
}

// The child in its parent, made when `create` allows; nil when there is none.
Key* Child(Key& key, const HashedName& name, bool create) {
    auto found = key.children.find(name);
    if (found != key.children.end()) return found->second.get();
    if (!create) return nullptr;
    auto child = std::make_shared<Key>();
    child->name = std::u16string(name.text);
    key.enumerationStale = true;
    return AddByName(key.children, std::move(child)).get();
}

// Caller holds the lock. Keys are handed around as plain pointers while it is held: their
// parents or the open handles own them, and nothing is removed before the caller is done.
Key* Resolve(Key* from, std::u16string_view path, bool create) {
    Key* key = from;
    const bool found = ForEachName(path, [&](const HashedName& name) {
        key = Child(*key, name, create);
        return key != nullptr;
    });
    return found ? key : nullptr;
}

// Caller holds the lock.
Key* ClassesRoot() {
    Registry& r = registry();
    if (!r.classes || r.classes->deleted)
        r.classes = Resolve(r.machine.get(), u"Software\\Classes", true)->shared_from_this();
    return r.classes.get();
}

// Caller holds the lock.
Key* KeyOf(HKEY handle) {
    Registry& r = registry();
    if (handle == HKEY_LOCAL_MACHINE) return r.machine.get();
    if (handle == HKEY_CURRENT_USER) return r.user.get();
    if (handle == HKEY_USERS) return r.users.get();
    if (handle == HKEY_CLASSES_ROOT) return ClassesRoot();
    return r.handles.KeyOf(handle);
}

// The predefined keys are open with every right.
bool MayWrite(HKEY handle) {
    const REGSAM* access = registry().handles.AccessOf(handle);
    return !access || (*access & kWriteRights) != 0;
}

HKEY NewHandle(Key* key, REGSAM access) { return registry().handles.Open(key->shared_from_this(), access); }

std::u16string_view Text(LPCWSTR text) { return text ? std::u16string_view(rtl::U(text)) : std::u16string_view(); }

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
    r.classes.reset();
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
    return r.handles.Close(handle) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegEnumKeyExW(HKEY handle, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD, LPWSTR, LPDWORD, void*) {
    if (!name || !nameLength) return ERROR_INVALID_PARAMETER;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto key = KeyOf(handle);
    if (!key) return ERROR_INVALID_HANDLE;
    if (key->deleted) return ERROR_KEY_DELETED;
    if (index >= key->children.size()) return ERROR_NO_MORE_ITEMS;
    const std::u16string& childName = key->ChildAt(index).name;
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
    auto found = key->values.find(HashedName(Text(valueName)));
    if (found == key->values.end()) return ERROR_FILE_NOT_FOUND;
    const Value& value = *found->second;
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
    auto found = key->values.find(HashedName(Text(valueName)));
    Value& value = found != key->values.end()
                       ? *found->second
                       : *AddByName(key->values, std::make_unique<Value>(Text(valueName)));
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
    auto found = key->values.find(HashedName(Text(valueName)));
    if (found == key->values.end()) return ERROR_FILE_NOT_FOUND;
    key->values.erase(found);
    return ERROR_SUCCESS;
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
        base->enumerationStale = true;
        base->values.clear();
        return ERROR_SUCCESS;
    }
    const size_t lastSeparator = path.rfind(u'\\');
    const std::u16string_view parentPath =
        lastSeparator == std::u16string_view::npos ? std::u16string_view() : path.substr(0, lastSeparator);
    const std::u16string_view last = lastSeparator == std::u16string_view::npos ? path : path.substr(lastSeparator + 1);
    auto parent = Resolve(base, parentPath, false);
    if (!parent) return ERROR_FILE_NOT_FOUND;
    auto found = parent->children.find(HashedName(last));
    if (found == parent->children.end()) return ERROR_FILE_NOT_FOUND;
    MarkDeleted(*found->second);
    parent->children.erase(found);
    parent->enumerationStale = true;
    return ERROR_SUCCESS;
}

}  // extern "C"
