// Binds each C++ interface type to its GUID, its name (for reports) and the interface it extends.
#pragma once

#include <type_traits>

#include "platform/win32/Win32.h"

namespace rtl {

template <class I>
struct InterfaceTraits;

template <>
struct InterfaceTraits<IUnknown> {
    static const IID& Id() { return IID_IUnknown; }
    static constexpr const char* Name() { return "IUnknown"; }
    using Base = void;
};

}  // namespace rtl

#define KORVEL_BIND_INTERFACE(Interface, BaseInterface, Guid)    \
    template <>                                                  \
    struct rtl::InterfaceTraits<Interface> {                      \
        static const IID& Id() { return Guid; }                  \
        static constexpr const char* Name() { return #Interface; } \
        using Base = BaseInterface;                              \
    }

KORVEL_BIND_INTERFACE(IClassFactory, IUnknown, IID_IClassFactory);

// An interface through which packages reach the system's objects: rtl::ComObject lists the
// objects that implement one (HandedToPackages).
#define KORVEL_BIND_PACKAGE_INTERFACE(Interface, BaseInterface, Guid) \
    template <>                                                       \
    struct rtl::InterfaceTraits<Interface> {                           \
        static const IID& Id() { return Guid; }                       \
        static constexpr const char* Name() { return #Interface; }    \
        using Base = BaseInterface;                                   \
        static constexpr bool HandedToPackages = true;                \
    }

namespace rtl {

template <class I, class = void>
inline constexpr bool IsHandedToPackages = false;
template <class I>
inline constexpr bool IsHandedToPackages<I, std::void_t<decltype(InterfaceTraits<I>::HandedToPackages)>> = true;

}  // namespace rtl
