#include "platform/rtl/HandedToPackages.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <mutex>
#include <typeinfo>
#include <unordered_map>
#include <utility>

namespace rtl {
namespace {

struct Listed {
    const ULONG* references;
    ULONG own;
    uint64_t made;  // the order of creation
};

struct Listing {
    std::mutex lock;
    std::unordered_map<IUnknown*, Listed> objects;
    uint64_t made = 0;
};

// Never destroyed: the hub and its services live until the process ends.
Listing& Objects() {
    static Listing* listing = new Listing;
    return *listing;
}

String ClassName(const std::type_info& type) {
    int status = 0;
    char* readable = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = status == 0 && readable ? readable : type.name();
    std::free(readable);
    const size_t scope = name.rfind("::", name.find('<'));
    return FromUtf8(scope == std::string::npos ? name : name.substr(scope + 2));
}

}  // namespace

void HandedToPackages::Add(IUnknown* identity, const ULONG* references) {
    Listing& listing = Objects();
    const std::lock_guard<std::mutex> hold(listing.lock);
    listing.objects[identity] = {references, 0, listing.made++};
}

void HandedToPackages::Remove(IUnknown* identity) {
    Listing& listing = Objects();
    const std::lock_guard<std::mutex> hold(listing.lock);
    listing.objects.erase(identity);
}

void HandedToPackages::ChangeOwnReferences(IUnknown* identity, int change) {
    Listing& listing = Objects();
    const std::lock_guard<std::mutex> hold(listing.lock);
    const auto found = listing.objects.find(identity);
    if (found != listing.objects.end()) found->second.own = static_cast<ULONG>(static_cast<int>(found->second.own) + change);
}

uint64_t HandedToPackages::Mark() {
    Listing& listing = Objects();
    const std::lock_guard<std::mutex> hold(listing.lock);
    return listing.made;
}

std::vector<HeldObject> HandedToPackages::StillHeld(uint64_t mark) {
    Listing& listing = Objects();
    const std::lock_guard<std::mutex> hold(listing.lock);
    std::vector<std::pair<uint64_t, HeldObject>> held;
    for (const auto& [identity, listed] : listing.objects)
        if (listed.made >= mark && *listed.references > listed.own)
            held.push_back({listed.made, {ClassName(typeid(*identity)), *listed.references - listed.own}});
    std::sort(held.begin(), held.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<HeldObject> inOrder;
    for (auto& entry : held) inOrder.push_back(std::move(entry.second));
    return inOrder;
}

}  // namespace rtl
