#include "SampleCommon.h"

namespace sample {

void SampleReport(const Text& what) { WriteDebugLine(u"Korvel Sample: " + what); }

ComRef<IBdsHelpService> HelpServiceOf(IBdsServices& site) {
    ComRef<IBdsHelpService> help;
    if (!help.Received(site.Get_BdsHelpService(help.Put()))) return ComRef<IBdsHelpService>();
    return help;
}

void AddItemAfter(IBdsMenuBarService& menuBar, const Text& reference, const Text& name, const Text& caption,
                  Subscription<IBdsMenuItem>& item, std::function<void()> onClick) {
    // AddMenuItem puts the new item before the reference item (0) or after it (1).
    constexpr Integer AfterReferenceItem = 1;
    ComRef<IBdsMenuItem> added;
    if (!added.Received(menuBar.AddMenuItem(Bstr(reference).Get(), AfterReferenceItem, Bstr(name).Get(),
                                            Bstr(caption).Get(), 0, added.Put())))
        return;
    item.Subscribe(added, {std::move(onClick), nullptr});
}

}  // namespace sample
