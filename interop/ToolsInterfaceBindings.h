// Ties the package-facing Tools API interfaces to their GUIDs for the system's COM object base.
#pragma once

#include "interop/KorvelBdsToolsInterop.h"
#include "platform/rtl/InterfaceTraits.h"

#define KORVEL_BIND_TOOLS_INTERFACE(Interface, Base, ...) KORVEL_BIND_PACKAGE_INTERFACE(Interface, Base, IID_##Interface);
KORVEL_TOOLS_INTERFACES(KORVEL_BIND_TOOLS_INTERFACE)
#undef KORVEL_BIND_TOOLS_INTERFACE
