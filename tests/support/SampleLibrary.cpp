#include "tests/support/SampleLibrary.h"

#include <stdexcept>
#include <string>

#include "host/HostOptions.h"

namespace testing_support {
namespace {

using DllCanUnloadNowProc = HRESULT(STDMETHODCALLTYPE*)();
using DllRegisterServerProc = HRESULT(STDMETHODCALLTYPE*)();
using DllGetClassObjectProc = HRESULT(STDMETHODCALLTYPE*)(REFCLSID, REFIID, LPVOID*);

}  // namespace

const rtl::String kSampleLibraryName = u"SamplePackage.dll";

rtl::String BesideTheProgram(const rtl::String& name) { return (host::ExecutableFolder() / name).u16string(); }

SampleLibrary::SampleLibrary(const rtl::String& fileName) : module_(LoadLibraryW(rtl::W(BesideTheProgram(fileName)))) {}

SampleLibrary::~SampleLibrary() {
    if (module_) FreeLibrary(module_);
}

HRESULT SampleLibrary::CanUnloadNow() const { return Entry<DllCanUnloadNowProc>("DllCanUnloadNow")(); }

HRESULT SampleLibrary::RegisterServer() const { return Entry<DllRegisterServerProc>("DllRegisterServer")(); }

HRESULT SampleLibrary::UnregisterServer() const { return Entry<DllRegisterServerProc>("DllUnregisterServer")(); }

HRESULT SampleLibrary::GetClassObject(const CLSID& clsid, const IID& iid, void** object) const {
    return Entry<DllGetClassObjectProc>("DllGetClassObject")(clsid, iid, object);
}

rtl::ComPtr<IBdsPackage> SampleLibrary::CreatePackage(const CLSID& clsid) const {
    rtl::ComPtr<IClassFactory> factory;
    rtl::ComPtr<IBdsPackage> package;
    if (FAILED(GetClassObject(clsid, IID_IClassFactory, factory.PutVoid())) ||
        FAILED(factory->CreateInstance(nullptr, IID_IBdsPackage, package.PutVoid())) || !package)
        throw std::runtime_error("SamplePackage.dll made no package");
    return package;
}

template <class Proc>
Proc SampleLibrary::Entry(const char* name) const {
    auto entry = reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    if (!entry) throw std::runtime_error(std::string("the package library lacks ") + name);
    return entry;
}

}  // namespace testing_support
