#include "loader/PackageDiscovery.h"

#include <utility>

#include "loader/KorvelLoader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LoaderTrace.h"
#include "platform/rtl/Registry.h"

namespace korvel {

const String BdsVersion = u"RAD Studio XE2";

String PkgKey() { return u"Software\\Korvel\\Brivanta\\" + BdsVersion + u"\\Packages"; }

namespace {

int32_t ReadLoadOrder(rtl::TRegistry& registry) {
    if (!registry.ValueExists(LoadOrderValue)) return DefaultLoadOrder;
    try {
        return registry.ReadInteger(LoadOrderValue);
    } catch (const rtl::Exception&) {
        return DefaultLoadOrder;
    }
}

// The default value as text, whichever of the three string types it is stored as: the byte
// count halved, less the terminating zero. Expandable strings stay unexpanded, and the
// strings of a multi-string keep their zero separators.
String ReadDisplayName(HKEY key) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key, rtl::W(u""), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) return {};
    std::vector<BYTE> data(size + sizeof(char16_t));
    if (RegQueryValueExW(key, rtl::W(u""), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return {};
    const long long length = static_cast<long long>(size / 2) - 1;
    if (length <= 0) return {};
    return String(reinterpret_cast<const char16_t*>(data.data()), static_cast<size_t>(length));
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
        registry.CloseKey();
        std::vector<int32_t> loadOrders(pkgIDs.size(), 0);

        for (size_t i = 0; i < pkgIDs.size(); ++i) {
            // A subkey that was listed but cannot be opened stays listed, with no name and
            // the default load order: its class may still be creatable, and the lists must
            // stay parallel.
            if (!registry.OpenKeyReadOnly(PkgKey() + u"\\" + pkgIDs[i])) {
                loadOrders[i] = DefaultLoadOrder;
                names.emplace_back();
                continue;
            }
            loadOrders[i] = ReadLoadOrder(registry);
            names.push_back(ReadDisplayName(registry.CurrentKey()));
            registry.CloseKey();
        }
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
    for (size_t i = 0; i + 1 < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            if (LoadOrders[j] < LoadOrders[i]) {
                std::swap(LoadOrders[i], LoadOrders[j]);
                std::swap(pkgIDs[i], pkgIDs[j]);
                std::swap(pkgNames[i], pkgNames[j]);
            }
        }
    }
}

}  // namespace korvel
