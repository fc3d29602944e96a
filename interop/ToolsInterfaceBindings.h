// Ties the package-facing Tools API interfaces to their GUIDs for the system's COM object base.
#pragma once

#include "interop/KorvelBdsToolsInterop.h"
#include "platform/rtl/InterfaceTraits.h"

KORVEL_BIND_INTERFACE(IBDSModuleServices70, IUnknown, IID_IBDSModuleServices70);
KORVEL_BIND_INTERFACE(IBDSEditorServices80, IUnknown, IID_IBDSEditorServices80);
KORVEL_BIND_INTERFACE(IBDSModule, IUnknown, IID_IBDSModule);
KORVEL_BIND_INTERFACE(IBDSEditor, IUnknown, IID_IBDSEditor);
KORVEL_BIND_INTERFACE(IBDSNotifier, IUnknown, IID_IBDSNotifier);
KORVEL_BIND_INTERFACE(IBDSModuleNotifier, IUnknown, IID_IBDSModuleNotifier);
KORVEL_BIND_INTERFACE(IBDSModuleNotifier80, IUnknown, IID_IBDSModuleNotifier80);
KORVEL_BIND_INTERFACE(IBDSModuleNotifier90, IUnknown, IID_IBDSModuleNotifier90);
KORVEL_BIND_INTERFACE(IBDSEditorNotifier, IUnknown, IID_IBDSEditorNotifier);
KORVEL_BIND_INTERFACE(IBDSEditServicesNotifier, IUnknown, IID_IBDSEditServicesNotifier);
KORVEL_BIND_INTERFACE(IBDSFile, IUnknown, IID_IBDSFile);
KORVEL_BIND_INTERFACE(IBDSFileSystem, IUnknown, IID_IBDSFileSystem);
KORVEL_BIND_INTERFACE(IBDSFileFilter, IUnknown, IID_IBDSFileFilter);
KORVEL_BIND_INTERFACE(IBDSCreator, IUnknown, IID_IBDSCreator);
KORVEL_BIND_INTERFACE(IBDSModuleCreator, IUnknown, IID_IBDSModuleCreator);
KORVEL_BIND_INTERFACE(IBDSProject, IUnknown, IID_IBDSProject);
