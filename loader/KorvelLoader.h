// The wizard entry and the package lifecycle: create every registered package, site it with
// the one hub, and terminate them in reverse order at shut-down.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "interop/InterfaceBindings.h"
#include "platform/ide/ToolsAPI.h"
#include "platform/rtl/PackageDoor.h"

namespace korvel {

using rtl::String;

class TBdsServices;

struct PackageInfoEntry {
    GUID Id;
    // Points into the retained name list: valid while the module is loaded, never nil.
    const char16_t* Name;
    rtl::PackageRef<IBdsPackage> Instance;
};

// Each package is known by its IBdsPackage pointer: it is the identity its objects are
// reported under.
extern std::vector<rtl::PackageRef<IBdsPackage>> Packages;
extern std::vector<PackageInfoEntry> PackagesInfo;
extern rtl::PackageRef<IBdsShellPackage> ShellPackage;
// No reference: the hub keeps itself alive.
extern TBdsServices* BdsServices;
extern const String LoadOrderValue;
extern const int32_t DefaultLoadOrder;

using ide::TWizardTerminateProc;

// The entry's work. Raises EAssertionFailed when `services` is not the IDE's global object.
bool InitWizard(ide::IBorlandIDEServices* services, TWizardTerminateProc* terminate);
void FinalizeWizard();

// The message shown when a registered package cannot be created.
String LoadFailureMessage(const String& name, const String& id, const String& error);
extern const String LoaderCaption;

}  // namespace korvel
