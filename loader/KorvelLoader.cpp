#include "loader/KorvelLoader.h"

#include <optional>
#include <unordered_set>

#include "loader/PackageDiscovery.h"
#include "platform/rtl/ComGuard.h"
#include "platform/rtl/Guid.h"
#include "platform/rtl/LoaderTrace.h"
#include "platform/vcl/Forms.h"
#include "platform/win32/Observed.h"
#include "services/KorvelBdsServices.h"

namespace korvel {

std::vector<rtl::PackageRef<IBdsPackage>> Packages;
std::vector<PackageInfoEntry> PackagesInfo;
rtl::PackageRef<IBdsShellPackage> ShellPackage;
TBdsServices* BdsServices = nullptr;
const String LoadOrderValue = u"LoadOrder";
const int32_t DefaultLoadOrder = 100;
const String LoaderCaption = u"Korvel Products Loader";

namespace {

// Names handed out through PackageInfo stay valid while the module is loaded, so their texts
// are never freed. Each distinct text is kept once, so that a repeated start-up finds its names
// here instead of piling up copies of them.
const char16_t* RetainedName(const String& name) {
    static std::unordered_set<String> names;
    return names.insert(name).first->c_str();
}

// The text up to the first zero character: what a reader of a zero-terminated string sees.
String VisiblePart(const String& text) { return text.substr(0, text.find(u'\0')); }

void ReportLoadFailure(const String& name, const String& id, const rtl::Exception& error) {
    win32::ShowMessageBox(GetForegroundWindow(), LoadFailureMessage(name, id, error.Message()), LoaderCaption,
                          MB_OK | MB_ICONERROR);
}

// The package's class made by the platform (and through it the package library's class
// factory) and asked for IBdsPackage, behind the door. Raises the library's error when the
// platform refuses or the package faults, EPackageFailure ending in Raised when the package's
// code let an exception out.
rtl::PackageRef<IBdsPackage> CreatePackage(const GUID& id) {
    IUnknown* object = nullptr;
    rtl::door::Outcome outcome;
    const HRESULT created = rtl::CallPackage(nullptr, nullptr, {"IClassFactory", "CreateInstance"}, E_FAIL, [&] {
        return CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&object));
    }, &outcome);
    if (!outcome.Completed()) throw rtl::EPackageFailure(outcome);
    rtl::OleCheck(created);
    rtl::PackageRef<IBdsPackage> package = rtl::PackageRef<IUnknown>::Adopt(object, nullptr).As<IBdsPackage>();
    IBdsPackage* identity = package.Get();
    return rtl::PackageRef<IBdsPackage>::Adopt(package.Detach(), identity);
}

// A package's own C++ exception out of its creation is not the library's error: the entry is
// dropped without a message. Everything else that went wrong is shown.
bool ShownToTheUser(const rtl::Exception& error) {
    const auto* failure = dynamic_cast<const rtl::EPackageFailure*>(&error);
    return !failure || failure->End() != rtl::PackageCallEnd::Raised;
}

void LoadPackages(const std::vector<String>& pkgIDs, const std::vector<String>& pkgNames) {
    PackagesInfo.clear();
    Packages.clear();
    PackagesInfo.reserve(pkgIDs.size());
    Packages.reserve(pkgIDs.size());
    for (size_t k = 0; k < pkgIDs.size(); ++k) {
        GUID packageId;
        if (!rtl::TryStringToGUID(pkgIDs[k], packageId)) continue;
        PackageInfoEntry entry{packageId, RetainedName(pkgNames[k]), nullptr};
        const rtl::Stopwatch creation;
        try {
            // Every call into the package first, each of which may fail; then nothing fails.
            rtl::PackageRef<IBdsPackage> package = CreatePackage(packageId);
            rtl::PackageRef<IBdsPackage> instance = package;
            auto shell = ShellPackage ? rtl::PackageRef<IBdsShellPackage>() : package.Query<IBdsShellPackage>();
            entry.Instance = std::move(instance);
            if (shell) ShellPackage = std::move(shell);
            rtl::TracePackageCreated(pkgIDs[k], pkgNames[k], package.Get(), creation);
            Packages.push_back(std::move(package));
        } catch (const rtl::Exception& error) {
            rtl::TracePackageCreationFailed(pkgIDs[k], pkgNames[k], creation, error.Message());
            if (!ShownToTheUser(error)) continue;
            ReportLoadFailure(pkgNames[k], pkgIDs[k], error);
        } catch (...) {
            rtl::TracePackageCreationFailed(pkgIDs[k], pkgNames[k], creation, u"a failure outside the library's errors");
            continue;  // not the library's exception: the entry is abandoned silently
        }
        PackagesInfo.push_back(std::move(entry));
    }
}

void SitePackages() {
    TBdsServices* hub = BdsServices;
    rtl::ComPtr<IBdsServices> site(hub);
    const auto packages = rtl::HeldCopy(Packages);  // a package may call back in while it is sited
    hub->HoldHandshake();
    for (const auto& package : packages)
        rtl::CallTraced(rtl::PackageStep::Sited, package, "SetSite", [&](IBdsPackage& p) { return p.SetSite(site.Get()); });
    hub->ReleaseHandshake();
}

// Every package terminates before any is released, and the callbacks they registered go
// in between: a message or drop during a later package's Terminate must not reach a
// callback of a package that is already gone.
void TerminatePackages(const std::vector<rtl::PackageRef<IBdsPackage>>& packages) {
    for (auto package = packages.rbegin(); package != packages.rend(); ++package)
        rtl::CallTraced(rtl::PackageStep::Terminated, *package, "Terminate", [](IBdsPackage& p) { return p.Terminate(); });
}

void ReleasePackages(std::vector<rtl::PackageRef<IBdsPackage>>& packages) {
    for (auto package = packages.rbegin(); package != packages.rend(); ++package) package->Reset();
}

}  // namespace

String LoadFailureMessage(const String& name, const String& id, const String& error) {
    String text = u"Failed to load package";
    const String shownName = VisiblePart(name);
    if (!shownName.empty()) text += u" '" + shownName + u"'";
    return text + u"." + u"\n\r" + u"Package ID: " + id + u"\n\r" + u"Error: " + error;
}

bool InitWizard(ide::IBorlandIDEServices* services, TWizardTerminateProc* terminate) {
    if (!services) return false;
    if (services != ide::BorlandIDEServices())
        throw rtl::EAssertionFailed(u"Assertion failure (Shell\\Src\\BdsShell\\Expert\\KorvelLoader, line 68)");
    if (terminate) *terminate = &FinalizeWizard;

    std::vector<String> pkgNames;
    std::optional<std::vector<String>> pkgIDs = DetectPackages(pkgNames);
    if (!pkgIDs || pkgIDs->empty()) return true;
    LoadPackages(*pkgIDs, pkgNames);

    if (!Packages.empty()) {
        BdsServices = new TBdsServices;
        SitePackages();
    }
    return true;
}

void FinalizeWizard() {
    ShellPackage = nullptr;
    PackagesInfo.clear();
    std::vector<rtl::PackageRef<IBdsPackage>> packages = std::move(Packages);
    Packages.clear();
    TBdsServices* hub = BdsServices;  // lives on; the pointer is forgotten at the end
    TerminatePackages(packages);
    if (vcl::TApplication* application = vcl::Application()) application->OnMessage = nullptr;
    if (hub) hub->ReleaseCallbacks();
    ReleasePackages(packages);
    if (hub) hub->FreeServices();
    BdsServices = nullptr;
}

}  // namespace korvel
