#include "SampleModuleWatcher.h"

#include <functional>

#include "korvel/Relay.h"
#include "korvel/Sinks.h"
#include "SampleCommon.h"

namespace sample {
namespace {

// Our PWideChar answers are BSTRs that the package frees.
Text TakeText(PWideChar text) {
    Text result = FromWideString(text);
    SysFreeString(text);
    return result;
}

Text ShortName(const Text& fileName) {
    const size_t slash = fileName.find_last_of(u"\\/");
    return slash == Text::npos ? fileName : fileName.substr(slash + 1);
}

}  // namespace

struct EditorHandlers {
    std::function<void()> onActivated;
};

class EditorEvents final : public ComObject<Sink<IBDSEditServicesNotifier>>, public Relay<EditorHandlers> {
public:
    using Relay::Relay;

    void STDMETHODCALLTYPE WindowNotification(IBDSEditWindow*, Integer Operation) override {
        Quietly([&] { SampleReport(Operation == 0 ? u"an editor window opened" : u"an editor window closed"); });
    }
    void STDMETHODCALLTYPE WindowActivated(IBDSEditWindow*) override {
        Quietly([&] {
            if (const auto handlers = Current(); handlers.onActivated) handlers.onActivated();
        });
    }
    void STDMETHODCALLTYPE WindowCommand(IBDSEditWindow*, Integer Command, Integer Param, Boolean* Handled) override {
        Quietly([&] {
            const bool own = Command == SampleModuleWatcher::OwnCommand;
            if (own && Handled) *Handled = 1;
            SampleReport(u"editor command " + HexText(static_cast<uint32_t>(Command), 4) + u" " +
                         (own ? u"taken by the package" : u"left to the IDE"));
        });
    }
};

struct ModuleHandlers {
    std::function<bool(const ModuleEvents*)> maySave;
    std::function<void(const ModuleEvents*, const Text&)> report;
    std::function<void(const ModuleEvents*, const Text&)> renamed;
    std::function<void(const ModuleEvents*)> destroyed;
};

class ModuleEvents final : public ComObject<Sink<IBDSNotifier>, Sink<IBDSModuleNotifier>, Sink<IBDSModuleNotifier90>>,
                           public Relay<ModuleHandlers> {
public:
    using Relay::Relay;

    LongBool STDMETHODCALLTYPE BeforeSave() override {
        return Answer(LongTrue, [&] {
            const auto handlers = Current();
            return !handlers.maySave || handlers.maySave(this) ? LongTrue : LongBool(0);
        });
    }
    LongBool STDMETHODCALLTYPE AfterSave() override {
        Report(u"saved");
        return LongTrue;
    }
    void STDMETHODCALLTYPE Destroyed() override {
        Quietly([&] {
            if (const auto handlers = Current(); handlers.destroyed) handlers.destroyed(this);
        });
    }
    void STDMETHODCALLTYPE Modified() override { Report(u"modified"); }
    void STDMETHODCALLTYPE ModuleRenamed(BSTR NewName) override {
        Quietly([&] {
            if (const auto handlers = Current(); handlers.renamed) handlers.renamed(this, FromBstr(NewName));
        });
    }
    void STDMETHODCALLTYPE BeforeRename(BSTR, BSTR NewFileName) override {
        Report(u"is about to be renamed to " + ShortName(FromBstr(NewFileName)));
    }

private:
    void Report(const Text& what) {
        Quietly([&] {
            if (const auto handlers = Current(); handlers.report) handlers.report(this, what);
        });
    }
};

SampleModuleWatcher::SampleModuleWatcher() = default;
SampleModuleWatcher::~SampleModuleWatcher() { Stop(); }

void SampleModuleWatcher::Start(IBdsServices& site) {
    modules_ = ServiceOf<IBDSModuleServices70>(site, IID_IBDSModuleServices70);
    editors_ = ServiceOf<IBDSEditorServices80>(site, IID_IBDSEditorServices80);
    if (!editors_) return;
    editorEvents_ = ComRef<EditorEvents>(new EditorEvents(EditorHandlers{[this] { OnEditorWindowActivated(); }}));
    editorIndex_ = editors_->AddNotifier(editorEvents_.Get());
}

void SampleModuleWatcher::Stop() {
    if (editorEvents_) editorEvents_->Disconnect();
    if (editors_ && editorIndex_ >= 0) editors_->RemoveNotifier(editorIndex_);
    editorIndex_ = -1;
    editorEvents_.Reset();
    // Out of the list first: a removal may call back into the package.
    const auto watched = std::move(watched_);
    watched_.clear();
    for (const auto& module : watched) {
        module->events->Disconnect();
        if (module->index >= 0) module->module->RemoveNotifier(module->index);
    }
    editors_.Reset();
    modules_.Reset();
}

void SampleModuleWatcher::OnEditorWindowActivated() { WatchCurrentModule(); }

void SampleModuleWatcher::WatchCurrentModule() {
    if (!modules_) return;
    ComRef<IBDSModule> module;
    if (!module.Received(modules_->GetCurrentModule(module.Put()))) return;
    const Text fileName = TakeText(module->GetFileName());
    if (fileName.empty() || IsWatched(fileName)) return;
    auto watched = std::make_unique<Watched>();
    watched->fileName = fileName;
    watched->module = module;
    watched->events = ComRef<ModuleEvents>(new ModuleEvents(ModuleHandlers{
        [this](const ModuleEvents* events) {
            const Watched* found = Find(events);
            return !found || MaySave(*found);
        },
        [this](const ModuleEvents* events, const Text& what) {
            if (const Watched* found = Find(events)) SampleReport(ShortName(found->fileName) + u" " + what);
        },
        [this](const ModuleEvents* events, const Text& newName) {
            if (Watched* found = Find(events)) found->fileName = newName;
            SampleReport(u"now watching " + ShortName(newName));
        },
        [this](const ModuleEvents* events) { Forget(events); }}));
    watched->index = module->AddNotifier(watched->events.Get());
    if (watched->index < 0) return;
    SampleReport(u"watching " + ShortName(fileName));
    watched_.push_back(std::move(watched));
}

bool SampleModuleWatcher::IsWatched(const Text& fileName) const {
    for (const auto& watched : watched_)
        if (watched->fileName == fileName) return true;
    return false;
}

bool SampleModuleWatcher::MaySave(const Watched& watched) const {
    const Text name = ShortName(watched.fileName);
    if (name.rfind(u"Generated", 0) != 0) return true;
    SampleReport(name + u" is generated code; the package refuses to save it");
    return false;
}

SampleModuleWatcher::Watched* SampleModuleWatcher::Find(const ModuleEvents* events) {
    for (const auto& watched : watched_)
        if (watched->events.Get() == events) return watched.get();
    return nullptr;
}

// The IDE closes the module and lets the notifier go; the registration ends with it.
void SampleModuleWatcher::Forget(const ModuleEvents* events) {
    for (auto it = watched_.begin(); it != watched_.end(); ++it) {
        if ((*it)->events.Get() != events) continue;
        const std::unique_ptr<Watched> gone = std::move(*it);
        watched_.erase(it);
        gone->events->Disconnect();
        SampleReport(ShortName(gone->fileName) + u" closed");
        return;
    }
}

}  // namespace sample
