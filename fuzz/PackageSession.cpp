#include "fuzz/PackageSession.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "fuzz/PackageObjects.h"
#include "loader/KorvelLoader.h"
#include "platform/rtl/Text.h"
#include "platform/win32/emulated/EmulationControl.h"
#include "sim/SimulatedIde.h"
#include "tests/support/FakePackages.h"
#include "tests/support/TestRegistry.h"

namespace fuzz {
namespace {

// Bounds that keep one input fast: nested callbacks and the actions of one run.
constexpr int MaxDepth = 3;
constexpr int MaxSteps = 3000;
constexpr uint32_t FirstPackageSeed = 0xF0;
constexpr int PackageCount = 2;

// KORVEL_FUZZ_TRACE=1 lists the actions of each input on stderr, for reading a finding.
bool Tracing() {
    static const bool tracing = std::getenv("KORVEL_FUZZ_TRACE") != nullptr;
    return tracing;
}

// Built once: a session resets it as it closes, far cheaper than building it again.
sim::SimulatedIde& ProcessIde() {
    static auto* ide = new sim::SimulatedIde;
    return *ide;
}

uint64_t& TotalCalls() {
    static uint64_t calls = 0;
    return calls;
}

const ActionTable& PackageActions() {
    static const ActionTable table = [] {
        ActionTable all;
        for (const ActionTable& part :
             {HubActions(), MenuActions(), ToolBarActions(), HelpActions(), WindowActions(), ToolsApiActions(),
              ReferenceActions()})
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }();
    return table;
}

const ActionTable& AllActions() {
    static const ActionTable table = [] {
        ActionTable all = PackageActions();
        const ActionTable ide = IdeActions();
        all.insert(all.end(), ide.begin(), ide.end());
        return all;
    }();
    return table;
}

BSTR OddLengthCopy(const String& text) {
    BSTR copy = SysAllocStringLen(rtl::W(text), static_cast<UINT>(text.size() + 1));
    // A package's SysAllocStringByteLen with an odd count: the length word says one byte less.
    if (copy) reinterpret_cast<uint32_t*>(copy)[-1] -= 1;
    return copy;
}

}  // namespace

TextArgument::TextArgument(FuzzInput& input, const std::vector<String>& known) {
    const uint8_t kind = input.Byte() % 16;
    if (kind == 0) return;
    const String text = input.Text(known);
    text_ = kind == 1 ? OddLengthCopy(text) : SysAllocStringLen(rtl::W(text), static_cast<UINT>(text.size()));
}

TextArgument::~TextArgument() { SysFreeString(text_); }

PackageSession::PackageSession(FuzzInput& input, std::vector<std::string>* transcript)
    : input_(input),
      transcript_(transcript),
      ide_(&ProcessIde()),
      registry_(std::make_unique<testing_support::TestRegistry>()),
      journal_(std::make_shared<testing_support::Journal>()),
      earlierObjects_(LivePackageObjects()) {
    for (int n = 0; n < PackageCount; ++n) {
        const uint32_t seed = FirstPackageSeed + n;
        testing_support::PackageBehaviour behaviour;
        behaviour.shellPackage = n == 0;
        behaviour.onSetSite = [this](IBdsServices* site) {
            if (site) site->AddRef();
            hubs.Adopt(site);
            NestedSteps();
        };
        behaviour.onInitialize = [this](IBdsServices*) { NestedSteps(); };
        // A tidy package lets go of what it holds; a careless one keeps it past Terminate.
        behaviour.onTerminate = [this](IBdsServices*) {
            if (input_.Coin()) ReleaseEverything();
        };
        packageClasses_.push_back(std::make_unique<testing_support::RegisteredPackageClass>(
            testing_support::MakeGuid(seed), "P" + std::to_string(n), journal_, behaviour));
        registry_->AddPackage(testing_support::GuidText(seed), u"Careless package " + rtl::IntToStr(n),
                              static_cast<int32_t>(input_.Number()));
    }
    if (transcript_) ide_->Record().echo = [this](const String& line) { Write(rtl::ToUtf8(line)); };
    // The IDE shows a handle it cannot read as a number: each session's are the same.
    emulation::RestartBitmapNumbering();
    StartUp();
}

PackageSession::~PackageSession() { Close(); }

int PackageSession::Close() {
    if (!ide_) return left_;
    ShutDown();
    ReleaseEverything();
    designer_ = nullptr;
    ide_->Reset();
    ide_->Record().echo = nullptr;
    ide_ = nullptr;
    packageClasses_.clear();
    registry_.reset();
    left_ = Unreleased();
    if (transcript_) {
        WritePackageCalls();
        Write("package calls: " + std::to_string(calls_) + ", left: " + std::to_string(left_));
    }
    TotalCalls() += std::exchange(calls_, 0);
    if (Tracing()) {
        std::fprintf(stderr, "left: %d package object(s), %d sink(s) and helper(s)\n", journal_->liveObjects,
                     LivePackageObjects() - earlierObjects_);
        ListLivePackageObjects();
    }
    // Counted first: what the module's objects still held would go with them.
    korvel::UnloadModule();
    // The bitmaps the package made and never deleted go with its process.
    for (HBITMAP bitmap : bitmaps_) DeleteObject(bitmap);
    return left_;
}

int PackageSession::Unreleased() const { return journal_->liveObjects + LivePackageObjects() - earlierObjects_; }

uint64_t PackageSession::CallsExecuted() { return TotalCalls(); }

void PackageSession::Run() {
    while (!input_.Exhausted() && steps_ < MaxSteps) Step(false);
}

void PackageSession::Step(bool packageOnly) {
    ++steps_;
    const ActionTable& table = packageOnly ? PackageActions() : AllActions();
    const Action& action = table[input_.Choose(table.size())];
    if (Tracing()) std::fprintf(stderr, "%*s%s\n", 2 * depth_, "", action.name);
    if (transcript_) {
        WritePackageCalls();
        Write(std::string(2 * static_cast<size_t>(depth_), ' ') + action.name);
    }
    const char* const outer = std::exchange(action_, action.name);
    action.run(*this);
    action_ = outer;
}

void PackageSession::Write(std::string line) { transcript_->push_back(std::move(line)); }

void PackageSession::WritePackageCalls() {
    for (; written_ < journal_->calls.size(); ++written_) Write(journal_->calls[written_]);
}

void PackageSession::NestedSteps() {
    if (depth_ >= MaxDepth) return;
    ++depth_;
    for (size_t n = input_.Choose(3); n > 0 && steps_ < MaxSteps; --n) Step(true);
    --depth_;
}

HRESULT PackageSession::React(const void* owner) {
    switch (input_.Choose(8)) {
        case 0:
            return E_FAIL;
        case 1:
            throw std::runtime_error("a package failure in a callback");
        case 2:
            ReleaseHeld(owner);
            return S_OK;
        case 3:
        case 4:
            NestedSteps();
            return S_OK;
        default:
            return S_OK;
    }
}

Integer PackageSession::Bitmap() {
    static const uint8_t pixels[16 * 16 * 4] = {};
    switch (input_.Choose(4)) {
        case 0:
            return 0;
        case 1:
            return input_.Number();
        default: {
            HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, pixels);
            bitmaps_.push_back(bitmap);
            const auto handle = static_cast<Integer>(reinterpret_cast<uintptr_t>(bitmap));
            if (input_.Choose(3) == 0) DeleteObject(bitmap);
            return handle;
        }
    }
}

CarelessSink* PackageSession::NewSink(const void* owner) {
    auto* sink = new CarelessSink(*this, action_);
    sink->SetOwner(owner);
    sink->AddRef();
    return sink;
}

IUnknown* PackageSession::NewDropHelper() {
    auto* helper = new DropHelper(*this, action_);
    helper->AddRef();
    return helper->Unknown();
}

CarelessWindow* PackageSession::NewWindow(const void* owner) {
    auto* window = new CarelessWindow(*this, action_);
    window->SetOwner(owner);
    window->AddRef();
    return window;
}

void PackageSession::ReleaseHeld(const void* object) {
    hubs.ReleaseOneOf(object);
    menuServices.ReleaseOneOf(object);
    menuItems.ReleaseOneOf(object);
    toolBarServices.ReleaseOneOf(object);
    toolBars.ReleaseOneOf(object);
    controls.ReleaseOneOf(object);
    helpServices.ReleaseOneOf(object);
    windowsServices.ReleaseOneOf(object);
    documents.ReleaseOneOf(object);
    dockables.ReleaseOneOf(object);
    moduleServices.ReleaseOneOf(object);
    editorServices.ReleaseOneOf(object);
    modules.ReleaseOneOf(object);
    editors.ReleaseOneOf(object);
    others.ReleaseOneOf(object);
}

void PackageSession::ReleaseEverything() {
    controls.ReleaseAll();
    toolBars.ReleaseAll();
    menuItems.ReleaseAll();
    documents.ReleaseAll();
    dockables.ReleaseAll();
    others.ReleaseAll();
    editors.ReleaseAll();
    modules.ReleaseAll();
    moduleServices.ReleaseAll();
    editorServices.ReleaseAll();
    windowsServices.ReleaseAll();
    toolBarServices.ReleaseAll();
    menuServices.ReleaseAll();
    helpServices.ReleaseAll();
    hubs.ReleaseAll();
}

sim::FormDesigner& PackageSession::Designer() {
    if (!designer_) designer_ = &ide_->Designers().Open();
    return *designer_;
}

void PackageSession::StartUp() {
    if (terminate_) return;
    korvel::InitWizard(ide::BorlandIDEServices(), &terminate_);
}

void PackageSession::ShutDown() {
    if (!terminate_) return;
    const ide::TWizardTerminateProc terminate = terminate_;
    terminate_ = nullptr;
    terminate();
}

void PackageSession::Restart(bool newIde) {
    ShutDown();
    if (newIde) {
        designer_ = nullptr;
        ide_->Reset();
    }
    StartUp();
}

int RunCarelessPackage(const uint8_t* data, size_t size, std::vector<std::string>* transcript) {
    FuzzInput input(data, size);
    PackageSession session(input, transcript);
    session.Run();
    return session.Close();
}

}  // namespace fuzz
