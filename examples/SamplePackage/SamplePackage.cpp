// A package as its author writes it: an in-process COM server built against the package
// contract and the platform's COM alone. The loader creates it by its class identifier, sites
// it with the hub, and tells it to terminate at shut-down.
#include "examples/SamplePackage/SamplePackage.h"

#include <new>

namespace {

// Live objects, class factory references and server locks: while any is left, the library
// must stay loaded. Packages run on the IDE's main thread only.
ULONG moduleReferences = 0;

class SamplePackage final : public IBdsPackage {
public:
    SamplePackage() { ++moduleReferences; }
    SamplePackage(const SamplePackage&) = delete;
    SamplePackage& operator=(const SamplePackage&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, IID_IBdsPackage)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IBdsPackage*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // The package keeps its site until Terminate; a site that cannot answer the simplest
    // question of a hub is not one it can work with.
    HRESULT STDMETHODCALLTYPE SetSite(IBdsServices* site) override {
        if (!site) return E_POINTER;
        Integer packages = 0;
        const HRESULT answer = site->get_PackagesCount(&packages);
        if (FAILED(answer)) return answer;
        site->AddRef();
        ReleaseSite();
        site_ = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Initialize() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Terminate() override {
        ReleaseSite();
        return S_OK;
    }

private:
    ~SamplePackage() {
        ReleaseSite();
        --moduleReferences;
    }
    void ReleaseSite() {
        if (site_) site_->Release();
        site_ = nullptr;
    }

    ULONG references_ = 0;
    IBdsServices* site_ = nullptr;
};

// One class object for the life of the library; its references keep the library loaded.
class SamplePackageFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, IID_IClassFactory)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++moduleReferences; }
    ULONG STDMETHODCALLTYPE Release() override { return --moduleReferences; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        SamplePackage* package = new (std::nothrow) SamplePackage;
        if (!package) return E_OUTOFMEMORY;
        package->AddRef();
        const HRESULT result = package->QueryInterface(iid, object);
        package->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            ++moduleReferences;
        else if (moduleReferences > 0)
            --moduleReferences;
        return S_OK;
    }
};

SamplePackageFactory factory;

}  // namespace

extern "C" HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualGUID(clsid, CLSID_SamplePackage)) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, object);
}

extern "C" HRESULT STDMETHODCALLTYPE DllCanUnloadNow() { return moduleReferences == 0 ? S_OK : S_FALSE; }
