// Ties the contract's interfaces to their GUIDs for the system's COM object base.
#pragma once

#include "interop/KorvelBdsInterop.h"
#include "platform/rtl/InterfaceTraits.h"

#define KORVEL_BIND_CONTRACT_INTERFACE(Interface, Base, ...) KORVEL_BIND_PACKAGE_INTERFACE(Interface, Base, IID_##Interface);
KORVEL_INTERFACES(KORVEL_BIND_CONTRACT_INTERFACE)
#undef KORVEL_BIND_CONTRACT_INTERFACE
