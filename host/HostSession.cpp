#include "host/HostSession.h"

#include "host/RegFile.h"

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

HostSession::HostSession(Transcript& transcript) : transcript_(transcript), trace_(transcript) {
    ide_.Record().echo = [this](const String& line) { transcript_.Line(line); };
}

HostSession::~HostSession() {
    ShutDown();
    ide_.Record().echo = nullptr;
}

void HostSession::ImportRegistry(const std::filesystem::path& file) {
    const std::vector<RegKey> keys = ReadRegFile(file);
    ApplyRegFile(keys);
    transcript_.Line(u"registry: " + FileName(file) + u", " + rtl::IntToStr(static_cast<int64_t>(keys.size())) +
                     u" keys, " + rtl::IntToStr(static_cast<int64_t>(ValueCount(keys))) + u" values");
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
    ide_.LoadToolbars();
}

void HostSession::ShutDown() {
    if (!wizard_) return;
    transcript_.Line(u"shut-down");
    const rtl::Stopwatch terminate;
    if (wizard_->Terminate())
        transcript_.Timed(u"terminate procedure returned", terminate.Elapsed());
    else
        transcript_.Line(u"no terminate procedure to call");
    wizard_.reset();
}

}  // namespace host
