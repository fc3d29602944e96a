// What the host can find out about a package's in-process server on its own: the library its
// class registration names, why that library does not load, whether it still has objects
// alive, and regsvr32's registration call.
#pragma once

#include <filesystem>

#include "platform/rtl/Text.h"

namespace host {

using rtl::String;

// "80004005 Unspecified error": the code and the platform's text for it.
String ResultText(HRESULT result);

// The InprocServer32 file registered for a class ("{...}"); empty when there is none.
String RegisteredServer(const String& classId);
// One line on why a class could not be made from its library: the file tried and the
// platform's reason (the dynamic loader's message natively), or that the file loads.
String ServerDiagnosis(const String& classId);
// Whether the loaded library answers DllCanUnloadNow with "not now": some of its objects
// are still referenced.
bool ServerHoldsObjects(const String& serverFile);
// Sends the message boxes a package shows itself to the IDE's recorder, as the system's own
// go there: natively the platform does so already; on Windows the library of the package
// object has its import of MessageBoxW pointed at the recorder.
void ObserveMessageBoxes(IUnknown* package);
// "1 Package, 2 korvel::sdk::ControlEvents": the library's live objects by class, as a library
// made with the SDK's C++ helpers lists them (KorvelListLiveObjects); empty from others.
String LiveObjectsOf(const String& serverFile);
// Calls the library's DllRegisterServer against the session's registry, as regsvr32 does.
// Raises HostError with the reason when the library cannot be loaded or refuses.
void RegisterServer(const std::filesystem::path& library);

}  // namespace host
