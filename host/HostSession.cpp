#include "host/HostSession.h"

#include "host/PackageLibraries.h"
#include "host/RegFile.h"
#include "korvel/InprocServer.h"
#include "platform/rtl/HandedToPackages.h"

namespace host {
namespace {

// Only the name: the folders differ between machines and between the native and wine runs.
String FileName(const std::filesystem::path& file) { return file.filename().u16string(); }

size_t ValueCount(const std::vector<RegKey>& keys) {
    size_t count = 0;
    for (const RegKey& key : keys) count += key.values.size();
    return count;
}

}  // namespace

HostSession::HostSession(Transcript& transcript)
    : transcript_(transcript), trace_(transcript), firstObject_(rtl::HandedToPackages::Mark()) {
    ide_.Record().echo = [this](const String& line) {
        transcript_.Line(line);
        if (line.rfind(u"designer error", 0) == 0) problems_.push_back(line);
    };
}

HostSession::~HostSession() {
    ShutDown();
    ide_.Record().echo = nullptr;
}

void HostSession::ImportRegistry(const std::filesystem::path& file) {
    std::vector<RegKey> keys = ReadRegFile(file);
    ResolveServerPaths(keys, file.parent_path());
    ApplyRegFile(keys);
    transcript_.Line(u"registry: " + FileName(file) + u", " + rtl::IntToStr(static_cast<int64_t>(keys.size())) +
                     u" keys, " + rtl::IntToStr(static_cast<int64_t>(ValueCount(keys))) + u" values");
}

void HostSession::RegisterPackage(const std::filesystem::path& library) {
    RegisterServer(library);
    transcript_.Line(u"registered: " + FileName(library) + u" (DllRegisterServer)");
}

void HostSession::ClearPackages() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, reinterpret_cast<LPCWSTR>(korvel::sdk::PackagesKey));
}

bool HostSession::StartWizard(const std::filesystem::path& library) {
    wizard_ = std::make_unique<WizardLibrary>(library);
    // Without the extension, which is the platform's (.dll or .so).
    transcript_.Line(u"wizard: " + library.stem().u16string());
    transcript_.Line(u"start-up: " + rtl::FromUtf8(ide::WizardEntryPoint));
    const rtl::Stopwatch entry;
    const bool tookPart = wizard_->Enter();
    transcript_.Timed(rtl::FromUtf8(ide::WizardEntryPoint) + u" answered " + (tookPart ? u"true" : u"false"),
                      entry.Elapsed());
    return tookPart;
}

void HostSession::LoadToolbars() {
    transcript_.Line(u"toolbars loaded");
    toolbarsLoaded_ = true;
    ide_.LoadToolbars();
}

// Packages are initialized once the toolbars are loaded and a package has said that its
// runtime services are up; whichever notice is missing is the reason.
String HostSession::NotInitializedReason() const {
    return toolbarsLoaded_ ? u"no package called OnDotNetServicesInitialized"
                           : u"the IDE has not loaded its toolbars";
}

void HostSession::ReportStartUp() {
    const std::vector<String> waiting = trace_.NotInitialized();
    if (waiting.empty()) return;
    transcript_.Line(u"start-up ended with " + rtl::IntToStr(static_cast<int64_t>(waiting.size())) +
                     u" package(s) not initialized: " + NotInitializedReason());
    for (const String& label : waiting) transcript_.Line(u"  not initialized: " + label);
}

std::vector<String> HostSession::Problems() const {
    std::vector<String> problems = trace_.Failures();
    problems.insert(problems.end(), problems_.begin(), problems_.end());
    return problems;
}

// After Terminate and the loader's release, a library that still has objects was left
// holding a reference by someone: the package itself or the system. An object of the system
// with more references than its own is held by a package.
void HostSession::CheckReleased() {
    for (const String& server : trace_.ServerFiles())
        if (ServerHoldsObjects(server)) {
            const String objects = LiveObjectsOf(server);
            ReportLeak(u"objects of " + server + u" are still referenced after shut-down" +
                       (objects.empty() ? String() : u": " + objects));
        }
    const std::vector<rtl::HeldObject> held = rtl::HandedToPackages::StillHeld(firstObject_);
    if (held.empty()) return;
    String classes;
    for (const rtl::HeldObject& object : held)
        classes += (classes.empty() ? u"" : u", ") + object.className + u" (" + rtl::IntToStr(object.references) +
                   (object.references == 1 ? u" reference)" : u" references)");
    ReportLeak(u"the IDE's objects are still referenced after shut-down: " + classes);
}

void HostSession::ReportLeak(const String& problem) {
    TranscriptEvent leak;
    leak.kind = u"still referenced";
    leak.text = problem;
    transcript_.Write(leak);
    problems_.push_back(problem);
}

void HostSession::ShutDown() {
    if (!wizard_) return;
    for (const String& label : trace_.NotInitialized())
        problems_.push_back(u"never initialized: " + label + u" (" + NotInitializedReason() + u")");
    transcript_.Line(u"shut-down");
    const rtl::Stopwatch terminate;
    if (wizard_->Terminate())
        transcript_.Timed(u"terminate procedure returned", terminate.Elapsed());
    else
        transcript_.Line(u"no terminate procedure to call");
    wizard_.reset();
    CheckReleased();
}

}  // namespace host
