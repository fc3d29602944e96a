// The one door through which the system calls package code: creation, the IUnknown methods of
// package objects, the package's lifecycle, and every sink, handler, notifier, file system,
// filter, file, creator and hosted window. Whatever the package throws at the IDE stays behind
// the door: a C++ exception, a structured exception, a hardware fault (natively: the signal).
// The call then gives its failure answer, and the door reports what happened.
//
// Who holds what: a PackageRef holds one reference on a package object for as long as it lives;
// every call through it holds one more of the caller's own for the length of the call, so that
// a package that lets go of the object from inside the call does not free it under the call.
#pragma once

#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/InterfaceTraits.h"
#include "platform/rtl/StructuredFaults.h"

namespace rtl {

// A package as the system knows it: the package object the loader created. An identity only:
// nothing is held through it.
using PackageIdentity = const void*;

// The package whose code runs now, or the one a package object being called belongs to; nil
// outside package calls, and for objects whose package is not known.
PackageIdentity CurrentPackage() noexcept;

enum class PackageCallEnd : uint8_t { Returned, Raised, Faulted };

// A method of a package object, for reports: {"IBdsToolBarControlEvents", "OnExecute"}.
struct PackageMethod {
    const char* interfaceName;
    const char* name;
};

// A call into package code that raised or faulted, or an event method that answered a failure.
struct PackageCallReport {
    PackageCallEnd end;
    PackageIdentity package;
    const void* object;
    PackageMethod method;
    HRESULT result;  // Returned: what the method answered
    String text;     // Raised: the exception's text; Faulted: the fault, its address and module
    // When the package is not known: the module that holds the object's code (empty when the
    // object cannot be read).
    String objectModule;
};
using PackageCallHook = std::function<void(const PackageCallReport& report)>;
// Returns the hook it replaces. A hook never changes what the system does.
PackageCallHook SetPackageCallHook(PackageCallHook hook);

namespace door {
struct Outcome;
}

// Raised by the system, out of the door, where a package call's failure is passed on to the
// caller: its text is the exception's or the fault's.
class EPackageFailure : public Exception {
public:
    explicit EPackageFailure(const door::Outcome& outcome);
    // Raised or Faulted.
    PackageCallEnd End() const noexcept { return end_; }

private:
    PackageCallEnd end_;
};

namespace door {

// How one call through the door ended. Only `end` is set for a call that completes: every call
// into package code carries one.
struct Outcome {
    PackageCallEnd end = PackageCallEnd::Returned;
    // Raised, Faulted: the method that was running then.
    PackageMethod method;
    char raised[240];  // Raised: the start of what the exception says, as UTF-8
    StructuredFault fault;

    bool Completed() const noexcept { return end == PackageCallEnd::Returned; }
    // Raised: the exception's text; Faulted: the fault in words.
    String Text() const;
};

// Runs body(context) as the code of `package`, containing what it raises. The body must own
// nothing that needs unwinding.
inline void Enter(PackageIdentity package, void (*body)(void*), void* context, Outcome& outcome) noexcept {
    if (!CallCatchingFaults(body, context, outcome.fault, package)) outcome.end = PackageCallEnd::Faulted;
}
// Inside the body's catch block: notes the exception being handled (what it says is read behind
// the door too, since its what() is the package's code).
void NoteRaised(Outcome& outcome) noexcept;
// Tells the hook, when the call did not complete.
void Report(const Outcome& outcome, PackageIdentity package, const void* object) noexcept;
// Reports a call that did not complete and raises its failure, out of the door, as EPackageFailure.
[[noreturn]] void RaiseReported(const Outcome& outcome, PackageIdentity package, const void* object);
void ReportFailedResult(HRESULT result, PackageIdentity package, const void* object, PackageMethod method) noexcept;

// The IUnknown methods of a package object. AddRef and QueryInterface raise EPackageFailure when
// the package raised or faulted (reported first); a Release that raises or faults counts as done.
void AddRef(IUnknown* object, PackageIdentity package, const char* interfaceName);
void Release(IUnknown* object, PackageIdentity package, const char* interfaceName) noexcept;
// What the object answered, and in `found` the interface with a reference, or nil when it
// refused. A refusal that still wrote a pointer is not taken: no reference came with it.
HRESULT QueryInterface(IUnknown* object, PackageIdentity package, const char* interfaceName, REFIID iid, void** found);

template <class Result, class Call>
struct Body {
    Call& call;
    Result& answer;
    Outcome& outcome;

    static void Run(void* self) {
        auto& body = *static_cast<Body*>(self);
        try {
            body.answer = body.call();
        } catch (...) {
            NoteRaised(body.outcome);
        }
    }
};

}  // namespace door

// Calls `call` behind the door as code of `package`: the calls of package methods it makes,
// with arguments made beforehand and results used afterwards, since nothing it owns is unwound
// after a fault. `place` names the method running; a call that makes several may move it along.
// The answer, or `fallback` when the call raised or faulted. The hook is told (as the method of
// `object` that was running), unless the caller takes the outcome in `seen` to report it.
template <class Result, class Call>
Result CallPackageAt(PackageIdentity package, const void* object, const PackageMethod& place, Result fallback,
                     Call&& call, door::Outcome* seen = nullptr) noexcept {
    static_assert(std::is_trivially_destructible_v<Result>, "an answer that needs unwinding cannot cross the door");
    door::Outcome own;
    door::Outcome& outcome = seen ? *seen : own;
    Result answer = fallback;
    door::Body<Result, Call> body{call, answer, outcome};
    door::Enter(package, &door::Body<Result, Call>::Run, &body, outcome);
    if (outcome.Completed()) return answer;
    outcome.method = place;
    if (!seen) door::Report(outcome, package, object);
    return fallback;
}

// One method, named by `method`.
template <class Result, class Call>
Result CallPackage(PackageIdentity package, const void* object, PackageMethod method, Result fallback, Call&& call,
                   door::Outcome* seen = nullptr) noexcept {
    return CallPackageAt(package, object, method, fallback, std::forward<Call>(call), seen);
}

// A reference to a package object, counted through the door.
template <class T>
class PackageRef {
public:
    PackageRef() noexcept = default;
    PackageRef(std::nullptr_t) noexcept {}
    // A reference of its own on an object a package handed over, which belongs to the package
    // current now unless another is named.
    explicit PackageRef(T* object, PackageIdentity package = CurrentPackage()) : object_(object), package_(package) {
        if (object_) door::AddRef(object_, package_, InterfaceTraits<T>::Name());
    }
    // Takes over a reference the caller owns.
    static PackageRef Adopt(T* object, PackageIdentity package) noexcept {
        PackageRef ref;
        ref.object_ = object;
        ref.package_ = package;
        return ref;
    }
    PackageRef(const PackageRef& other) : PackageRef(other.object_, other.package_) {}
    PackageRef(PackageRef&& other) noexcept
        : object_(std::exchange(other.object_, nullptr)), package_(other.package_) {}
    ~PackageRef() { Reset(); }
    PackageRef& operator=(const PackageRef& other) {
        PackageRef(other).Swap(*this);
        return *this;
    }
    PackageRef& operator=(PackageRef&& other) noexcept {
        PackageRef(std::move(other)).Swap(*this);
        return *this;
    }
    PackageRef& operator=(std::nullptr_t) noexcept {
        Reset();
        return *this;
    }

    T* Get() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    PackageIdentity Package() const noexcept { return package_; }
    // Hands the held reference to the caller.
    T* Detach() noexcept { return std::exchange(object_, nullptr); }
    // Writes a new reference into an out parameter (nil for none).
    void CopyTo(T** out) const {
        T* object = object_;  // read first: the AddRef may let go of this reference
        if (object) door::AddRef(object, package_, InterfaceTraits<T>::Name());
        *out = object;
    }

    // Lets go of the object; runs from destructors too, so nothing leaves it.
    void Reset() noexcept {
        if (T* old = std::exchange(object_, nullptr)) door::Release(old, package_, InterfaceTraits<T>::Name());
    }
    void Swap(PackageRef& other) noexcept {
        std::swap(object_, other.object_);
        std::swap(package_, other.package_);
    }

    // The object as U in `answer` (nil when it refuses); what QueryInterface answered.
    template <class U>
    HRESULT QueryInto(PackageRef<U>& answer) const {
        answer = nullptr;
        // Read first: the query is package code, which may let go of this reference.
        T* object = object_;
        const PackageIdentity package = package_;
        if (!object) return E_POINTER;
        void* found = nullptr;
        const HRESULT result =
            door::QueryInterface(object, package, InterfaceTraits<T>::Name(), InterfaceTraits<U>::Id(), &found);
        answer = PackageRef<U>::Adopt(static_cast<U*>(found), package);
        return result;
    }
    // The object as U; nil when it refuses.
    template <class U>
    PackageRef<U> Query() const {
        PackageRef<U> answer;
        QueryInto(answer);
        return answer;
    }
    // Like an "as" cast: a refusal raises the language's cast error.
    template <class U>
    PackageRef<U> As() const {
        PackageRef<U> answer = Query<U>();
        if (!answer) RaiseIntfCastError();
        return answer;
    }

    // One method of the object (`call` gets the object), with a reference of the caller's own
    // held across it, taken and given back behind the same door (and given back through a door of
    // its own when the method raised or faulted). The method's answer, or `fallback` when there is
    // no object or it raised or faulted.
    template <class Result, class Call>
    Result Ask(const char* method, Result fallback, Call&& call, door::Outcome* seen = nullptr) const noexcept {
        // Read first: the call may let go of this reference.
        T* object = object_;
        const PackageIdentity package = package_;
        if (!object) return fallback;
        PackageMethod place{InterfaceTraits<T>::Name(), "AddRef"};
        bool held = false;
        const Result answer = CallPackageAt(package, object, place, fallback, [&]() -> Result {
            object->AddRef();
            held = true;
            place.name = method;
            const Result given = call(*object);
            held = false;
            place.name = "Release";
            object->Release();
            return given;
        }, seen);
        if (held) door::Release(object, package, InterfaceTraits<T>::Name());
        return answer;
    }
    // Ask on a reference of the caller's own for the call (a local one, which nothing the package
    // does can let go): no second reference is taken.
    template <class Result, class Call>
    Result AskOwn(const char* method, Result fallback, Call&& call) const noexcept {
        T* object = object_;
        return object ? CallPackage(package_, object, {InterfaceTraits<T>::Name(), method}, fallback,
                                    [&]() -> Result { return call(*object); })
                      : fallback;
    }
    // Ask through interface U, asked of the object for this call alone and let go after it, all
    // behind one door. `fallback` when the object does not offer U.
    template <class U, class Result, class Call>
    Result AskOffered(const char* method, Result fallback, Call&& call) const noexcept {
        T* object = object_;
        if (!object) return fallback;
        const PackageIdentity package = package_;
        PackageMethod place{InterfaceTraits<T>::Name(), "QueryInterface"};
        U* held = nullptr;
        const Result answer = CallPackageAt(package, object, place, fallback, [&]() -> Result {
            void* found = nullptr;
            // A refusal that still wrote a pointer is not taken: no reference came with it.
            if (FAILED(object->QueryInterface(InterfaceTraits<U>::Id(), &found)) || !found) return fallback;
            U* offered = held = static_cast<U*>(found);
            place = {InterfaceTraits<U>::Name(), method};
            const Result given = call(*offered);
            held = nullptr;
            place.name = "Release";
            offered->Release();
            return given;
        });
        if (held) door::Release(held, package, InterfaceTraits<U>::Name());
        return answer;
    }
    // Like Ask, for a caller that passes a package's failure on: a raise or fault is reported and
    // raised again, out of the door, as EPackageFailure.
    template <class Call, class Result = std::invoke_result_t<Call, T&>>
    Result AskOrRaise(const char* method, Call&& call) const {
        const PackageIdentity package = package_;
        const T* object = object_;
        door::Outcome outcome;
        const Result answer = Ask(method, Result(), std::forward<Call>(call), &outcome);
        if (!outcome.Completed()) door::RaiseReported(outcome, package, object);
        return answer;
    }
    // A method with no answer.
    template <class Call>
    void Tell(const char* method, Call&& call) const noexcept {
        Ask(method, false, [&](T& object) {
            call(object);
            return true;
        });
    }
    // An event method: a failure it answers is reported too. E_FAIL when there is no object or
    // it raised or faulted.
    template <class Call>
    HRESULT Notify(const char* method, Call&& call) const noexcept {
        const PackageIdentity package = package_;
        const T* object = object_;
        door::Outcome outcome;
        const HRESULT result = Ask(method, E_FAIL, std::forward<Call>(call), &outcome);
        if (!outcome.Completed())
            door::Report(outcome, package, object);
        else if (FAILED(result) && object)
            door::ReportFailedResult(result, package, object, {InterfaceTraits<T>::Name(), method});
        return result;
    }

private:
    T* object_ = nullptr;
    PackageIdentity package_ = nullptr;
};

// Keeps the very pointer a package passed (one object may implement an interface several times
// and mean one of them), once the object has confirmed that it answers T. Nil stays nil; a
// refusal raises the cast error.
template <class T>
PackageRef<T> CheckedPackageInterface(T* pointer) {
    PackageRef<T> kept(pointer);
    if (kept) kept.template As<T>();
    return kept;
}

// A copy of a list of package objects, each with a reference of the copy's own, to walk while
// the packages change the list; an object whose AddRef fails is left out.
template <class T>
std::vector<PackageRef<T>> HeldCopy(const std::vector<PackageRef<T>>& objects) {
    std::vector<PackageRef<T>> held;
    held.reserve(objects.size());
    // By index: an AddRef is package code, which may change the list under the walk.
    for (size_t index = 0; index < objects.size(); ++index) {
        try {
            held.push_back(objects[index]);
        } catch (const EPackageFailure&) {
        }
    }
    return held;
}

}  // namespace rtl
