// The library as COM sees it: one class object per package class, and the two entry points
// an in-process server exports.
#include <atomic>

#include "examples/SamplePackage/ComObject.h"
#include "examples/SamplePackage/DesignerPackage.h"
#include "examples/SamplePackage/SamplePackage.h"

#ifdef _WIN32
#define SAMPLE_EXPORT  // the .def names the exports
#else
#define SAMPLE_EXPORT __attribute__((visibility("default")))
#endif

namespace sample {
namespace {

// COM may ask whether the library can go from any thread.
std::atomic<ULONG> moduleReferences{0};

using CreateFunction = HRESULT (*)(REFIID iid, void** object);

// Lives as long as the library; its references count as the library's.
class PackageFactory final : public IClassFactory {
public:
    explicit PackageFactory(CreateFunction create) : create_(create) {}

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
    ULONG STDMETHODCALLTYPE AddRef() override {
        LockModule();
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        UnlockModule();
        return 1;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create_(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            LockModule();
        else
            UnlockModule();
        return S_OK;
    }

private:
    const CreateFunction create_;
};

struct PackageClass {
    const CLSID& id;
    PackageFactory factory;
};

PackageClass packageClasses[] = {
    {CLSID_SamplePackage, PackageFactory(&CreateSamplePackage)},
    {CLSID_SampleDesignerPackage, PackageFactory(&CreateDesignerPackage)},
};

}  // namespace

void LockModule() { ++moduleReferences; }

// More unlocks than locks would let the library go while it is in use.
void UnlockModule() {
    ULONG references = moduleReferences.load();
    while (references > 0 && !moduleReferences.compare_exchange_weak(references, references - 1)) {
    }
}

bool ModuleInUse() { return moduleReferences.load() > 0; }

}  // namespace sample

extern "C" SAMPLE_EXPORT HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    for (sample::PackageClass& packageClass : sample::packageClasses)
        if (IsEqualGUID(clsid, packageClass.id)) return packageClass.factory.QueryInterface(iid, object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" SAMPLE_EXPORT HRESULT STDMETHODCALLTYPE DllCanUnloadNow() { return sample::ModuleInUse() ? S_FALSE : S_OK; }
