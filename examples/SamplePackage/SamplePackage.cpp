#include "SamplePackage.h"

#include <memory>

#include "korvel/Bitmap.h"
#include "Text.h"
#include "SampleCommon.h"
#include "SampleDocument.h"
#include "SampleMenuItems.h"
#include "SampleModuleCreator.h"
#include "SampleModuleWatcher.h"
#include "SampleToolBar.h"
#include "SampleToolWindow.h"

namespace sample {
namespace {

const Text ProductName = u"Korvel Sample Package";
const Text LicenseStatus = u"Registered";
const Text Edition = u"Sample Edition";

// Everything the package has from SetSite to Terminate. Members go in reverse order: the
// toolbar and menu items first, the site last.
struct Sited {
    explicit Sited(IBdsServices* site) : site(site) {}

    ComRef<IBdsServices> site;
    Bitmap splashImage;
    Bitmap aboutImage;
    Bitmap productImage;
    Bitmap menuImage;
    Bitmap buttonImage;
    SampleMenuItems menuItems;
    SampleToolBar toolBar;
    SampleDocument document;
    SampleToolWindow toolWindow;
    SampleModuleWatcher moduleWatcher;
    SampleModules modules;
    bool initialized = false;
};

class SamplePackage final : public ComObject<IBdsPackage> {
public:
    HRESULT STDMETHODCALLTYPE SetSite(IBdsServices* site) override {
        if (!site) return E_POINTER;
        return Guarded([&] {
            if (sited_) return E_UNEXPECTED;
            sited_ = std::make_unique<Sited>(site);
            MakeBitmaps();
            AnnounceProduct();
            // The package's own start-up is done; the loader initializes the packages once
            // the IDE has loaded its toolbars as well, possibly from within this call.
            return site->OnDotNetServicesInitialized();
        });
    }

    HRESULT STDMETHODCALLTYPE Initialize() override {
        return Guarded([&] {
            if (!sited_) return E_UNEXPECTED;
            if (sited_->initialized) return S_OK;
            sited_->initialized = true;
            sited_->menuItems.Add(sited_->site, sited_->menuImage);
            sited_->toolBar.Add(sited_->site, sited_->buttonImage);
            sited_->document.Add(sited_->site);
            sited_->toolWindow.Add(sited_->site);
            sited_->moduleWatcher.Start(*sited_->site.Get());
            sited_->modules.Add(sited_->site);
            SampleReport(u"initialized");
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE Terminate() override {
        return Guarded([&] {
            sited_.reset();
            SampleReport(u"terminated");
            return S_OK;
        });
    }

private:
    void MakeBitmaps() {
        sited_->splashImage = Bitmap::Square(16, 0x002060C0);
        sited_->aboutImage = Bitmap::Square(16, 0x0040A040);
        sited_->productImage = Bitmap::Square(16, 0x00C08020);
        sited_->menuImage = Bitmap::Square(16, 0x00C02020);
        sited_->buttonImage = Bitmap::Square(16, 0x0020A0A0);
    }

    // The splash screen and the About box only borrow the bitmaps, and either may be gone
    // already (the splash screen closes early): whether they took the entry changes nothing
    // else the package does.
    void AnnounceProduct() {
        IBdsServices& site = *sited_->site.Get();
        const Bstr product(ProductName);
        const Bstr license(LicenseStatus);
        const Bstr edition(Edition);
        site.AddSplashInfo(sited_->splashImage.Get(), product.Get(), license.Get(), WordFalse, edition.Get());
        site.AddAboutBoxInfo(sited_->aboutImage.Get(), sited_->productImage.Get(), Bstr(u"About " + ProductName).Get(),
                             Bstr(u"Copyright 2026 Korvel").Get(), product.Get(),
                             Bstr(u"Shows every service of the loader.").Get(), license.Get(), WordFalse,
                             edition.Get());
    }

    std::unique_ptr<Sited> sited_;
};

}  // namespace

HRESULT CreateSamplePackage(REFIID iid, void** object) { return CreateObject<SamplePackage>(iid, object); }

}  // namespace sample
