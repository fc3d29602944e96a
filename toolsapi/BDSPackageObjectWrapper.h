// What the wrappers of package objects share: the package's object in `s`, held as the
// package interface of the wrapper's role for the wrapper's whole life, and the calls into it,
// each through the door with the object held for the call. The IDE holds a wrapper as long as it
// needs the package's object; the wrapper's end releases it. A package that raises or faults is
// treated as having given no answer: the IDE receives the method's "nothing" (nil, false, 0,
// empty).
#pragma once

#include <type_traits>

#include "platform/rtl/ComObject.h"
#include "platform/rtl/PackageDoor.h"
#include "toolsapi/ToolsApiConversions.h"

namespace korvel {

template <class Package, class... IdeInterfaces>
class TBDSPackageObjectWrapper : public rtl::ComObject<IdeInterfaces...> {
public:
    using PackageInterface = Package;
    explicit TBDSPackageObjectWrapper(rtl::PackageRef<Package> object) : s(std::move(object)) {}

protected:
    template <class Result, class Call>
    Result Ask(const char* method, const Result& nothing, Call&& call) const noexcept {
        return s.Ask(method, nothing, std::forward<Call>(call));
    }
    template <class Call>
    void Tell(const char* method, Call&& call) const noexcept {
        s.Tell(method, std::forward<Call>(call));
    }
    // A text the package answers from its own buffer, copied; empty for none.
    template <class Call>
    String AskText(const char* method, Call&& call) const {
        return CopyPackageText(Ask(method, static_cast<const WCHAR*>(nullptr), std::forward<Call>(call)));
    }
    // A flag of the package (a one-byte Boolean or a LongBool): any non-zero value is true.
    template <class Call>
    bool AskFlag(const char* method, Call&& call) const noexcept {
        using Flag = std::invoke_result_t<Call, Package&>;
        return Ask(method, Flag(0), std::forward<Call>(call)) != 0;
    }

    // An interface the package answers through an out parameter, with the reference that came
    // with it; nil when the call raised or faulted (whatever it left there is not trusted).
    template <class Answer, class Call>
    Answer* AskOut(const char* method, Call&& call) const noexcept {
        Answer* answer = nullptr;
        const bool completed = Ask(method, false, [&](Package& object) {
            call(object, &answer);
            return true;
        });
        return completed ? answer : nullptr;
    }
    // A package object the package answered, held as this package's.
    template <class Answer>
    rtl::PackageRef<Answer> Owned(Answer* answer) const noexcept {
        return rtl::PackageRef<Answer>::Adopt(answer, s.Package());
    }

    const rtl::PackageRef<Package> s;
};

// A package's object wrapped for the IDE, held as the wrapper's package interface, which the
// object is asked for (the type a package declares proves nothing); nil when the object is nil
// or does not offer it.
template <class Wrapper, class IdeInterface, class Object>
rtl::ComPtr<IdeInterface> WrapPackageObject(const rtl::PackageRef<Object>& object) {
    auto offered = object.template Query<typename Wrapper::PackageInterface>();
    if (!offered) return nullptr;
    return rtl::ComPtr<IdeInterface>(new Wrapper(std::move(offered)));
}

// An object a package handed over in its call: it belongs to the package current now.
template <class Wrapper, class IdeInterface>
rtl::ComPtr<IdeInterface> WrapPackageObject(IUnknown* object) {
    return WrapPackageObject<Wrapper, IdeInterface>(rtl::PackageRef<IUnknown>(object));
}

}  // namespace korvel
