#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
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

// A name with its hash worked out once: a lookup compares hashes before it reaches for the
// texts.
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

// Plain ordering of the folded names: the platform's case-less enumeration order.
struct CaselessLess {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char16_t x, char16_t y) { return Fold(x) < Fold(y); });
    }
};

// Owning pointers to objects with a `name`, found by the case-less hash of that name: open
// addressing with linear probing over a power-of-two number of slots, so that a lookup costs
// a multiplication and a few neighbouring slots, not a division and a walk through the heap.
template <class Entry>
class NameTable {
public:
    using Object = typename Entry::element_type;

    Object* Find(const HashedName& name) const {
        const size_t at = IndexOf(name);
        return at == kNone ? nullptr : slots_[at].entry.get();
    }
    // The entry's name must not be in the table yet.
    Object* Add(Entry entry) {
        if ((size_ + 1) * 4 > slots_.size() * 3) Grow();
        Object* object = entry.get();
        Place(Slot{CaselessHash(entry->name), std::move(entry)});
        ++size_;
        return object;
    }
    bool Erase(const HashedName& name) {
        size_t hole = IndexOf(name);
        if (hole == kNone) return false;
        slots_[hole] = Slot{};
        --size_;
        // The entries after the hole in its run move up into it when their own slot does not
        // lie between the two, so that no lookup stops early at the hole.
        const size_t mask = slots_.size() - 1;
        for (size_t next = (hole + 1) & mask; slots_[next].entry; next = (next + 1) & mask) {
            if (((next - Home(slots_[next].hash)) & mask) < ((next - hole) & mask)) continue;
            slots_[hole] = std::move(slots_[next]);
            slots_[next] = Slot{};
            hole = next;
        }
        return true;
    }
    void Clear() {
        slots_.clear();
        size_ = 0;
    }
    size_t Size() const { return size_; }
    template <class Visit>
    void ForEach(Visit&& visit) const {
        for (const Slot& slot : slots_)
            if (slot.entry) visit(*slot.entry);
    }

private:
    static constexpr size_t kNone = ~size_t{0};
    struct Slot {
        size_t hash = 0;
        Entry entry;  // nil in a free slot
    };

    // The top bits of the hash times the golden ratio: every bit of the hash counts.
    size_t Home(size_t hash) const { return (hash * 0x9E3779B97F4A7C15ull) >> shift_; }

    size_t IndexOf(const HashedName& name) const {
        if (slots_.empty()) return kNone;
        const size_t mask = slots_.size() - 1;
        for (size_t at = Home(name.hash); slots_[at].entry; at = (at + 1) & mask)
            if (slots_[at].hash == name.hash && CaselessEqual(slots_[at].entry->name, name.text)) return at;
        return kNone;
    }
    void Place(Slot slot) {
        const size_t mask = slots_.size() - 1;
        size_t at = Home(slot.hash);
        while (slots_[at].entry) at = (at + 1) & mask;
        slots_[at] = std::move(slot);
    }
    // At most three in four slots are taken, so that every run ends at a free slot.
    void Grow() {
        std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(std::max<size_t>(8, slots_.size() * 2)));
        shift_ = 64 - static_cast<unsigned>(__builtin_ctzll(slots_.size()));
        for (Slot& slot : old)
            if (slot.entry) Place(std::move(slot));
    }

    std::vector<Slot> slots_;
    size_t size_ = 0;
    unsigned shift_ = 64;
};

// Children are listed in a list sorted when first enumerated after a change.
struct Key : std::enable_shared_from_this<Key> {
    std::u16string name;
    bool deleted = false;
    bool writeDenied = false;
    NameTable<std::shared_ptr<Key>> children;
    NameTable<std::unique_ptr<Value>> values;
    // The children in enumeration order; stale while `enumerationStale` is set.
    std::vector<const Key*> enumeration;
    bool enumerationStale = true;

    const Key& ChildAt(DWORD index) {
        if (enumerationStale) {
            enumeration.clear();
            enumeration.reserve(children.Size());
            children.ForEach([&](const Key& child) { enumeration.push_back(&child); });
            std::sort(enumeration.begin(), enumeration.end(),
                      [](const Key* a, const Key* b) { return CaselessLess()(a->name, b->name); });
            enumerationStale = false;
        }
        return *enumeration[index];
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
    if (Key* found = key.children.Find(name)) return found;
    if (!create) return nullptr;
    auto child = std::make_shared<Key>();
    child->name = std::u16string(name.text);
    key.enumerationStale = true;
    return key.children.Add(std::move(child));
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
    key.children.ForEach([](Key& child) { MarkDeleted(child); });
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
    if (index >= key->children.Size()) return ERROR_NO_MORE_ITEMS;
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
    const Value* found = key->values.Find(HashedName(Text(valueName)));
    if (!found) return ERROR_FILE_NOT_FOUND;
    const Value& value = *found;
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
    Value* found = key->values.Find(HashedName(Text(valueName)));
    Value& value = found ? *found : *key->values.Add(std::make_unique<Value>(Text(valueName)));
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
    if (!key->values.Erase(HashedName(Text(valueName)))) return ERROR_FILE_NOT_FOUND;
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
        base->children.ForEach([](Key& child) { MarkDeleted(child); });
        base->children.Clear();
        base->enumerationStale = true;
        base->values.Clear();
        return ERROR_SUCCESS;
    }
    const size_t lastSeparator = path.rfind(u'\\');
    const std::u16string_view parentPath =
        lastSeparator == std::u16string_view::npos ? std::u16string_view() : path.substr(0, lastSeparator);
    const std::u16string_view last = lastSeparator == std::u16string_view::npos ? path : path.substr(lastSeparator + 1);
    auto parent = Resolve(base, parentPath, false);
    if (!parent) return ERROR_FILE_NOT_FOUND;
    const HashedName name(last);
    Key* found = parent->children.Find(name);
    if (!found) return ERROR_FILE_NOT_FOUND;
    MarkDeleted(*found);
    parent->children.Erase(name);
    parent->enumerationStale = true;
    return ERROR_SUCCESS;
}

}  // extern "C"
