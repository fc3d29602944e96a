#include "SampleMenuItems.h"

#include "SampleCommon.h"

namespace sample {
namespace {

// AddMenuItem puts the new item before the reference item (0) or after it (1).
constexpr Integer AfterReferenceItem = 1;

}  // namespace

void SampleMenuItems::Add(const ComRef<IBdsServices>& site, Bitmap& image) {
    site_ = site;
    ComRef<IBdsMenuBarService> menuBar;
    if (!menuBar.Received(site_->Get_BdsMenuBarService(menuBar.Put()))) return;
    AddPackagesItem(*menuBar.Get(), image);
    AddHelpItem(*menuBar.Get());
}

void SampleMenuItems::AddPackagesItem(IBdsMenuBarService& menuBar, Bitmap& image) {
    ComRef<IBdsMenuItem> item;
    const HRESULT added = menuBar.AddMenuItem(Bstr(u"ToolsMenu\\ToolsOptionsItem").Get(), AfterReferenceItem,
                                              Bstr(u"KorvelSampleItem").Get(), Bstr(u"Korvel &Sample").Get(),
                                              image.AsInteger(), item.Put());
    if (SUCCEEDED(added)) image.HandedOver();
    if (!item.Received(added) || FAILED(item->Set_BeginGroup(WordTrue))) return;
    packagesItem_.Subscribe(item, {[this] { ListPackages(); }, nullptr});
}

void SampleMenuItems::AddHelpItem(IBdsMenuBarService& menuBar) {
    ComRef<IBdsMenuItem> item;
    if (!item.Received(menuBar.InsertMenuItem(Bstr(u"HelpMenu").Get(), 0, Bstr(u"KorvelSampleHelpItem").Get(),
                                              Bstr(u"Korvel Sample &Help").Get(), 0, item.Put())))
        return;
    helpItem_.Subscribe(item, {[this] { OpenHelp(); }, nullptr});
}

void SampleMenuItems::ListPackages() {
    Integer count = 0;
    if (FAILED(site_->get_PackagesCount(&count))) return;
    Text names;
    for (Integer index = 0; index < count; ++index) {
        PackageInfo info{};
        if (FAILED(site_->GetPackageInfo(index, &info))) continue;
        // The record carries a reference to the package; its name is only lent.
        const ComRef<IBdsPackage> instance = ComRef<IBdsPackage>::Adopt(info.Instance);
        names += (index == 0 ? u"" : u", ") + FromWideString(info.Name);
    }
    SampleReport(u"menu item clicked; " + DecimalText(count) + u" packages: " + names);
}

void SampleMenuItems::OpenHelp() {
    const ComRef<IBdsHelpService> help = HelpServiceOf(*site_.Get());
    if (help && SUCCEEDED(help->ShowHelpByURL(Bstr(u"ms-help://korvel/sample/index.htm").Get())))
        SampleReport(u"help opened");
}

}  // namespace sample
