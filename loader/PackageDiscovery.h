// Finding the packages registered for this IDE version, in load order.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/rtl/Text.h"

namespace korvel {

using rtl::String;

extern const String BdsVersion;
// "Software\Korvel\Brivanta\" + BdsVersion + "\Packages", under HKEY_LOCAL_MACHINE.
String PkgKey();

// The class identifiers as the registry spells them, in load order; pkgNames receives the
// display names, entry for entry. No list at all when the key cannot be read.
std::optional<std::vector<String>> DetectPackages(std::vector<String>& pkgNames);

// An exchange sort, not stable: equal load orders keep the order it happens to leave them in.
void SortPackagesByLoadOrder(std::vector<int32_t>& LoadOrders, std::vector<String>& pkgIDs,
                             std::vector<String>& pkgNames);

}  // namespace korvel
