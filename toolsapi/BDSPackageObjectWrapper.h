// What the wrappers of package objects share: the package's object in `s`, held as the
// package interface of the wrapper's role for the wrapper's whole life, and the guard around
// every call into it. The IDE holds a wrapper as long as it needs the package's object; the
// wrapper's end releases it. A package that fails or throws is treated as having given no
// answer: the IDE receives the method's "nothing" (nil, false, 0, empty).
#pragma once

#include "platform/rtl/ComObject.h"
#include "platform/rtl/ValueGuard.h"
#include "toolsapi/ToolsApiConversions.h"

namespace korvel {

template <class Package, class... IdeInterfaces>
class TBDSPackageObjectWrapper : public rtl::ComObject<IdeInterfaces...> {
public:
    using PackageInterface = Package;
    // `object` must be the object's Package interface (WrapPackageObject asks for it).
    explicit TBDSPackageObjectWrapper(Package* object) : s(object) {}

protected:
    // The package's object is held for the call: a package that lets the IDE drop this
    // wrapper from inside must not lose its own object under its feet.
    template <class Result, class Call>
    Result Ask(const Result& nothing, Call&& call) noexcept {
        return rtl::GuardValue(nothing, [&]() -> Result {
            const rtl::ComPtr<Package> held = s;
            return held ? Result(call(*held.Get())) : nothing;
        });
    }
    template <class Call>
    void Tell(Call&& call) noexcept {
        Ask(false, [&](Package& object) {
            call(object);
            return true;
        });
    }

    const rtl::ComPtr<Package> s;
};

// A package's object wrapped for the IDE, held as the wrapper's package interface, which the
// object is asked for (the type a package declares proves nothing); nil when the object is
// nil or does not offer it.
template <class Wrapper, class IdeInterface>
rtl::ComPtr<IdeInterface> WrapPackageObject(IUnknown* object) {
    const auto offered = rtl::ComPtr<IUnknown>(object).template Query<typename Wrapper::PackageInterface>();
    if (!offered) return nullptr;
    return rtl::ComPtr<IdeInterface>(new Wrapper(offered.Get()));
}

}  // namespace korvel
