#include "loader/PackageDiscovery.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "loader/KorvelLoader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LoaderTrace.h"
#include "platform/rtl/Registry.h"

namespace korvel {

const String BdsVersion = u"RAD Studio XE2";

String PkgKey() { return u"Software\\Korvel\\Brivanta\\" + BdsVersion + u"\\Packages"; }

namespace {

// One package's subkey, opened below the packages key that is open already: a name, not the
// whole path, to resolve for each package.
class PackageKey {
public:
    PackageKey(HKEY packages, const String& id) {
        if (RegOpenKeyExW(packages, rtl::W(id), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~PackageKey() {
        if (key_) RegCloseKey(key_);
    }
    PackageKey(const PackageKey&) = delete;
    PackageKey& operator=(const PackageKey&) = delete;

    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// A value that is missing, or is not a 32-bit number, gives the default.
int32_t ReadLoadOrder(HKEY key) {
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExW(key, rtl::W(LoadOrderValue), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return DefaultLoadOrder;
    return static_cast<int32_t>(value);
}

// The default value as text, whichever of the three string types it is stored as: the byte
// count halved, less the terminating zero. Expandable strings stay unexpanded, and the
// strings of a multi-string keep their zero separators. Most names fit the first buffer.
String ReadDisplayName(HKEY key) {
    DWORD type = REG_NONE;
    BYTE shortName[256];
    std::vector<BYTE> longName;
    BYTE* data = shortName;
    DWORD size = sizeof(shortName);
    LSTATUS status = RegQueryValueExW(key, rtl::W(u""), nullptr, &type, data, &size);
    if (status == ERROR_MORE_DATA) {
        longName.resize(size + sizeof(char16_t));
        data = longName.data();
        status = RegQueryValueExW(key, rtl::W(u""), nullptr, &type, data, &size);
    }
    if (status != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) return {};
    const long long length = static_cast<long long>(size / 2) - 1;
    if (length <= 0) return {};
    return String(reinterpret_cast<const char16_t*>(data), static_cast<size_t>(length));
}

// Where the exchange sort puts each entry, worked out on the load orders alone. With no two
// orders alike any sort gives its result; only ties need its own steps.
std::vector<size_t> ExchangeSortOrder(const std::vector<int32_t>& loadOrders) {
    std::vector<size_t> order(loadOrders.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::vector<int32_t> sorted = loadOrders;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end()) {
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return loadOrders[a] < loadOrders[b]; });
        return order;
    }
    std::vector<int32_t> keys = loadOrders;
    for (size_t i = 0; i + 1 < keys.size(); ++i)
        for (size_t j = i + 1; j < keys.size(); ++j)
            if (keys[j] < keys[i]) {
                std::swap(keys[i], keys[j]);
                std::swap(order[i], order[j]);
            }
    return order;
}

template <class T>
void Rearrange(std::vector<T>& items, const std::vector<size_t>& order) {
    std::vector<T> arranged;
    arranged.reserve(items.size());
    for (size_t from : order) arranged.push_back(std::move(items[from]));
    items = std::move(arranged);
}

}  // namespace

std::optional<std::vector<String>> DetectPackages(std::vector<String>& pkgNames) {
    try {
        rtl::TRegistry registry(KEY_READ);
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!registry.OpenKeyReadOnly(PkgKey())) return std::nullopt;

        std::vector<String> pkgIDs = registry.GetKeyNames();
        std::vector<String> names;
        names.reserve(pkgIDs.size());
        std::vector<int32_t> loadOrders(pkgIDs.size(), 0);

        for (size_t i = 0; i < pkgIDs.size(); ++i) {
            // A subkey that was listed but cannot be opened stays listed, with no name and
            // the default load order: its class may still be creatable, and the lists must
            // stay parallel.
            const PackageKey key(registry.CurrentKey(), pkgIDs[i]);
            if (!key.Get()) {
                loadOrders[i] = DefaultLoadOrder;
                names.emplace_back();
                continue;
            }
            loadOrders[i] = ReadLoadOrder(key.Get());
            names.push_back(ReadDisplayName(key.Get()));
        }
        registry.CloseKey();
        if (pkgIDs.size() > 1) SortPackagesByLoadOrder(loadOrders, pkgIDs, names);
        for (size_t i = 0; i < pkgIDs.size(); ++i) rtl::TracePackageFound(pkgIDs[i], names[i], loadOrders[i]);
        pkgNames = std::move(names);
        return pkgIDs;
    } catch (...) {
        return std::nullopt;
    }
}

void SortPackagesByLoadOrder(std::vector<int32_t>& LoadOrders, std::vector<String>& pkgIDs,
                             std::vector<String>& pkgNames) {
    const size_t n = LoadOrders.size();
    if (pkgIDs.size() != n || pkgNames.size() != n) rtl::RaiseRangeError();
    // In order already: the exchange sort would exchange nothing, not even equal neighbours.
    if (std::is_sorted(LoadOrders.begin(), LoadOrders.end())) return;
    const std::vector<size_t> order = ExchangeSortOrder(LoadOrders);
    Rearrange(LoadOrders, order);
    Rearrange(pkgIDs, order);
    Rearrange(pkgNames, order);
}

}  // namespace korvel
