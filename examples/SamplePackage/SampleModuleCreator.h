// The sample's modules: it registers its in-memory file system with the IDE and adds
// "Korvel Sample New Form Unit" after its Tools menu item, which has the IDE create a unit
// with a form, described by the sample's module creator, inside that file system.
#pragma once

#include "Text.h"
#include "korvel/ControlEvents.h"

namespace sample {

// Destroying it removes the file system from the IDE and lets go of the menu item.
class SampleModules {
public:
    static constexpr const char16_t* UnitFileName = u"KorvelForm.pas";

    SampleModules() = default;
    SampleModules(const SampleModules&) = delete;
    SampleModules& operator=(const SampleModules&) = delete;
    ~SampleModules();

    // Without the module services, or the menu bar, the package leaves that part out.
    void Add(const ComRef<IBdsServices>& site);

private:
    void CreateFormUnit();

    ComRef<IBDSModuleServices70> modules_;
    Integer fileSystemIndex_ = -1;
    Subscription<IBdsMenuItem> newUnitItem_;
};

}  // namespace sample
