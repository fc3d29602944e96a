// @NAME@: a package for KorvelLoader150. It adds "@NAME@" to the IDE's Tools menu and shows
// a message box when the item is clicked.
#include "korvel/ComObject.h"
#include "korvel/ControlEvents.h"
#include "korvel/InprocServer.h"
#include "korvel/Text.h"

using namespace korvel::sdk;

namespace {

// @CLSID_TEXT@
constexpr CLSID CLSID_@NAME@ = @CLSID_INITIALIZER@;

// AddMenuItem puts the new item after the reference item (1) or before it (0).
constexpr Integer AfterReferenceItem = 1;

class Package final : public ComObject<IBdsPackage> {
public:
    HRESULT STDMETHODCALLTYPE SetSite(IBdsServices* site) override {
        if (!site) return E_POINTER;
        return Guarded([&] {
            site_ = ComRef<IBdsServices>(site);
            // The loader initializes the packages once a package has said that its own start-up
            // is done (and the IDE has loaded its toolbars). Without this call, Initialize never
            // comes.
            return site->OnDotNetServicesInitialized();
        });
    }

    HRESULT STDMETHODCALLTYPE Initialize() override {
        return Guarded([&] {
            if (!site_) return E_UNEXPECTED;
            ComRef<IBdsMenuBarService> menuBar;
            if (!menuBar.Received(site_->Get_BdsMenuBarService(menuBar.Put()))) return E_FAIL;
            ComRef<IBdsMenuItem> item;
            if (!item.Received(menuBar->AddMenuItem(Bstr(u"ToolsMenu\\ToolsOptionsItem").Get(), AfterReferenceItem,
                                                    Bstr(u"@NAME@Item").Get(), Bstr(u"@NAME@").Get(), 0,
                                                    item.Put())))
                return E_FAIL;
            menuItem_.Subscribe(item, {[] { ShowMessage(u"Hello from @NAME@.", u"@NAME@"); }, nullptr});
            return S_OK;
        });
    }

    // Letting go of the item takes it off the menu.
    HRESULT STDMETHODCALLTYPE Terminate() override {
        return Guarded([&] {
            menuItem_.Cancel();
            site_.Reset();
            return S_OK;
        });
    }

private:
    ComRef<IBdsServices> site_;
    Subscription<IBdsMenuItem> menuItem_;
};

}  // namespace

// The class DllRegisterServer writes, with the display name and load order the loader lists.
KORVEL_PACKAGE_CLASSES({CLSID_@NAME@, u"@NAME@", 100, &CreatePackage<Package>});
