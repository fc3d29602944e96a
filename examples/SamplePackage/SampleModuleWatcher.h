// The sample's watch over the IDE's source editor: it follows editor windows and key
// commands through the editor services, and watches every module that becomes current. A
// module whose file name starts with "Generated" is generated code: the package refuses to
// save it by hand.
#pragma once

#include <memory>
#include <vector>

#include "korvel/ComObject.h"
#include "Text.h"

namespace sample {

class EditorEvents;
class ModuleEvents;

class SampleModuleWatcher {
public:
    // The editor command the package takes for itself.
    static constexpr Integer OwnCommand = 0x4B53;

    SampleModuleWatcher();
    SampleModuleWatcher(const SampleModuleWatcher&) = delete;
    SampleModuleWatcher& operator=(const SampleModuleWatcher&) = delete;
    ~SampleModuleWatcher();

    // Without the Tools API services the package watches nothing.
    void Start(IBdsServices& site);
    // Removes every registration the package still has and cuts its notifiers off.
    void Stop();

private:
    struct Watched {
        Text fileName;
        ComRef<IBDSModule> module;
        Integer index = -1;
        ComRef<ModuleEvents> events;
    };

    void OnEditorWindowActivated();
    void WatchCurrentModule();
    bool IsWatched(const Text& fileName) const;
    // BeforeSave's answer: false stops the save.
    bool MaySave(const Watched& watched) const;
    void Forget(const ModuleEvents* events);
    Watched* Find(const ModuleEvents* events);

    ComRef<IBDSModuleServices70> modules_;
    ComRef<IBDSEditorServices80> editors_;
    Integer editorIndex_ = -1;
    ComRef<EditorEvents> editorEvents_;
    std::vector<std::unique_ptr<Watched>> watched_;
};

}  // namespace sample
