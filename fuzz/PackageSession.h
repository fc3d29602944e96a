// One run of a careless package against the system inside a simulated IDE. The input picks
// a sequence of actions: the package's calls through the contract's vtables and the IDE's own
// doings (clicks, key presses, designer drops, items destroyed, shut-down and a new start).
//
// Who holds what: the process has one simulated IDE, which every session plays in and resets
// as it closes. The session owns the registry entries of its two packages and the references
// the package holds (HeldReferences). The loader owns the package objects between start-up
// and shut-down. The session's destructor shuts the wizard down, lets go of every held
// reference and resets the IDE (Close); after that the system must hold no package object.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "fuzz/HeldReferences.h"
#include "interop/InterfaceBindings.h"
#include "interop/ToolsInterfaceBindings.h"
#include "platform/ide/ToolsAPI.h"
#include "platform/rtl/ComPtr.h"

namespace sim {
class SimulatedIde;
class FormDesigner;
}  // namespace sim

namespace testing_support {
class TestRegistry;
class RegisteredPackageClass;
struct Journal;
}  // namespace testing_support

namespace fuzz {

class PackageSession;
class CarelessSink;
class CarelessWindow;

struct Action {
    const char* name;
    void (*run)(PackageSession& session);
};
using ActionTable = std::vector<Action>;

// What a package can call, one table per interface family; the IDE's side in its own table.
ActionTable HubActions();
ActionTable MenuActions();
ActionTable ToolBarActions();
ActionTable HelpActions();
ActionTable WindowActions();
ActionTable ReferenceActions();
ActionTable ToolsApiActions();
ActionTable IdeActions();

// A BSTR argument the package owns for the duration of one call: null, empty, huge, of odd
// byte length, or text from the input.
class TextArgument {
public:
    explicit TextArgument(FuzzInput& input, const std::vector<String>& known);
    TextArgument(const TextArgument&) = delete;
    TextArgument& operator=(const TextArgument&) = delete;
    ~TextArgument();
    operator BSTR() const { return text_; }

private:
    BSTR text_ = nullptr;
};

class PackageSession {
public:
    // With a transcript, the session writes down what happened: each action, what the IDE
    // showed, the packages' own calls.
    explicit PackageSession(FuzzInput& input, std::vector<std::string>* transcript = nullptr);
    ~PackageSession();
    PackageSession(const PackageSession&) = delete;
    PackageSession& operator=(const PackageSession&) = delete;

    // Runs actions until the input is used up.
    void Run();
    // Shuts the wizard down, lets go of every held reference, resets the IDE and unloads the
    // module, as an IDE that ends does. Answers the package objects the system still held:
    // 0 when every reference came back.
    int Close();

    // What package code does when the system calls it: nothing, fail, throw, release the
    // object it was registered with, or call back in.
    HRESULT React(const void* owner);

    // Arguments as a careless package makes them.
    FuzzInput& Input() { return input_; }
    TextArgument Text(const std::vector<String>& known) { return TextArgument(input_, known); }
    // Mostly the slot, sometimes a null out pointer.
    template <class T>
    T* Out(T* slot) {
        return input_.Choose(12) == 0 ? nullptr : slot;
    }
    // A bitmap handle: a fresh one, one already deleted, zero or made up.
    Integer Bitmap();
    // A new sink for `owner`, also passed where the system expects an object of its own;
    // the caller's reference.
    CarelessSink* NewSink(const void* owner);
    IUnknown* NewDropHelper();
    // A new package window for the document `owner`; the caller's reference.
    CarelessWindow* NewWindow(const void* owner);
    // A new Tools API object of the package (a notifier, file system, creator...), not yet
    // registered anywhere.
    template <class Object>
    rtl::ComPtr<Object> NewToolsObject() {
        return rtl::ComPtr<Object>(new Object(*this, action_));
    }
    void CountCall() { ++calls_; }

    HeldReferences<IBdsServices> hubs;
    HeldReferences<IBdsMenuBarService> menuServices;
    HeldReferences<IBdsMenuItem> menuItems;
    HeldReferences<IBdsToolBarService> toolBarServices;
    HeldReferences<IBdsToolBar> toolBars;
    HeldReferences<IBdsToolBarControl> controls;
    HeldReferences<IBdsHelpService> helpServices;
    HeldReferences<IBdsWindowsService> windowsServices;
    HeldReferences<IBdsDocumentWindow> documents;
    HeldReferences<IBdsDockableWindow> dockables;
    HeldReferences<IBDSModuleServices70> moduleServices;
    HeldReferences<IBDSEditorServices80> editorServices;
    HeldReferences<IBDSModule> modules;
    HeldReferences<IBDSEditor> editors;
    HeldReferences<IUnknown> others;
    // Lets go of one reference on `object` wherever the package holds it.
    void ReleaseHeld(const void* object);
    void ReleaseEverything();

    // The IDE's side.
    sim::SimulatedIde& Ide() { return *ide_; }
    sim::FormDesigner& Designer();
    void ShutDown();
    void StartUp();
    // Shuts down, with a new IDE brings the IDE back as it started, and starts again.
    void Restart(bool newIde);

    // Package calls made by every session of this process.
    static uint64_t CallsExecuted();

private:
    int Unreleased() const;
    void Step(bool packageOnly);
    void NestedSteps();
    void Write(std::string line);
    // The packages' own calls (SetSite, Initialize...) since the last were written.
    void WritePackageCalls();

    FuzzInput& input_;
    std::vector<std::string>* transcript_;
    sim::SimulatedIde* ide_;
    std::unique_ptr<testing_support::TestRegistry> registry_;
    std::shared_ptr<testing_support::Journal> journal_;
    std::vector<std::unique_ptr<testing_support::RegisteredPackageClass>> packageClasses_;
    ide::TWizardTerminateProc terminate_ = nullptr;
    sim::FormDesigner* designer_ = nullptr;
    // Package objects that were alive before this session; not its business.
    const int earlierObjects_;
    const char* action_ = "start-up";
    int depth_ = 0;
    int steps_ = 0;
    uint64_t calls_ = 0;
    int left_ = 0;
    std::vector<HBITMAP> bitmaps_;
    size_t written_ = 0;
};

// Plays one input as a package; the number of package objects the system did not give back.
int RunCarelessPackage(const uint8_t* data, size_t size, std::vector<std::string>* transcript = nullptr);

}  // namespace fuzz
