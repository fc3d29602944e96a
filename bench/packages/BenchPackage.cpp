// The packages of the start-up benchmark: as little as a package does, so that the loader's own
// cost shows. SetSite keeps the site and says the package's runtime is up; Initialize does no more.
#include "korvel/ComObject.h"
#include "korvel/InprocServer.h"

namespace bench_packages {

using namespace korvel::sdk;

class BenchPackage final : public ComObject<IBdsPackage> {
public:
    HRESULT STDMETHODCALLTYPE SetSite(IBdsServices* site) override {
        if (!site) return E_POINTER;
        site_ = ComRef<IBdsServices>(site);
        return site->OnDotNetServicesInitialized();
    }
    HRESULT STDMETHODCALLTYPE Initialize() override {
        initialized_ = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Terminate() override {
        site_.Reset();
        return S_OK;
    }

private:
    ComRef<IBdsServices> site_;
    bool initialized_ = false;
};

HRESULT Create(REFIID iid, void** object) { return CreatePackage<BenchPackage>(iid, object); }

}  // namespace bench_packages
