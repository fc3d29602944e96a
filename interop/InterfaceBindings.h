// Ties the contract's interfaces to their GUIDs for the system's COM object base.
#pragma once

#include "interop/KorvelBdsInterop.h"
#include "platform/rtl/InterfaceTraits.h"

KORVEL_BIND_INTERFACE(IBdsToolBarControlEvents, IUnknown, IID_IBdsToolBarControlEvents);
KORVEL_BIND_INTERFACE(IBdsWindowEvents, IUnknown, IID_IBdsWindowEvents);
KORVEL_BIND_INTERFACE(IBdsMenuBarService, IUnknown, IID_IBdsMenuBarService);
KORVEL_BIND_INTERFACE(IBdsMenuItem, IUnknown, IID_IBdsMenuItem);
KORVEL_BIND_INTERFACE(IBdsToolBarService, IUnknown, IID_IBdsToolBarService);
KORVEL_BIND_INTERFACE(IBdsToolBar, IUnknown, IID_IBdsToolBar);
KORVEL_BIND_INTERFACE(IBdsToolBarControl, IUnknown, IID_IBdsToolBarControl);
KORVEL_BIND_INTERFACE(IBdsToolBarButton, IUnknown, IID_IBdsToolBarButton);
KORVEL_BIND_INTERFACE(IBdsToolBarComboBox, IUnknown, IID_IBdsToolBarComboBox);
KORVEL_BIND_INTERFACE(IBdsToolBarPopUp, IUnknown, IID_IBdsToolBarPopUp);
KORVEL_BIND_INTERFACE(IBdsDockableWindow, IUnknown, IID_IBdsDockableWindow);
KORVEL_BIND_INTERFACE(IBdsDocumentWindow, IUnknown, IID_IBdsDocumentWindow);
KORVEL_BIND_INTERFACE(IBdsWindowsService, IUnknown, IID_IBdsWindowsService);
KORVEL_BIND_INTERFACE(IBdsHelpService, IUnknown, IID_IBdsHelpService);
KORVEL_BIND_INTERFACE(IDragDropHelper, IUnknown, IID_IDragDropHelper);
KORVEL_BIND_INTERFACE(IBdsServices, IUnknown, IID_IBdsServices);
KORVEL_BIND_INTERFACE(IBdsPackage, IUnknown, IID_IBdsPackage);
KORVEL_BIND_INTERFACE(IBdsShellPackage, IUnknown, IID_IBdsShellPackage);
KORVEL_BIND_INTERFACE(IDragDropHelperProvider, IUnknown, IID_IDragDropHelperProvider);
KORVEL_BIND_INTERFACE(IMessageHandler, IUnknown, IID_IMessageHandler);
