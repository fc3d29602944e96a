#include "tests/support/FakePackages.h"

#include <stdexcept>

#include "platform/rtl/Guid.h"

namespace testing_support {
namespace {

class ClassFactory : public rtl::ComObject<IClassFactory> {
public:
    using Maker = std::function<IUnknown*()>;
    explicit ClassFactory(Maker maker) : maker_(std::move(maker)) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        IUnknown* made = maker_();
        made->AddRef();
        const HRESULT result = made->QueryInterface(riid, object);
        made->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    Maker maker_;
};

class ForeignObject : public rtl::ComObject<IDragDropHelper> {
public:
    HRESULT STDMETHODCALLTYPE WaitForInfo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Get_DropX(Integer*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Get_DropY(Integer*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Get_ClientLeft(Integer*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Get_ClientTop(Integer*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Get_ClientRight(Integer*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Get_ClientBottom(Integer*) override { return S_OK; }
};

DWORD Register(const GUID& clsid, ClassFactory::Maker maker) {
    rtl::ComPtr<ClassFactory> factory(new ClassFactory(std::move(maker)));
    DWORD cookie = 0;
    CoRegisterClassObject(clsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    return cookie;
}

// A package object that is not a shell package refuses IBdsShellPackage.
class PlainPackage : public FakePackage {
public:
    using FakePackage::FakePackage;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IBdsShellPackage) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return FakePackage::QueryInterface(iid, out);
    }
};

}  // namespace

FakePackage::FakePackage(std::string name, PackageBehaviour behaviour, std::shared_ptr<Journal> journal)
    : name_(std::move(name)), behaviour_(std::move(behaviour)), journal_(std::move(journal)) {
    ++journal_->liveObjects;
    ++journal_->createdObjects;
}

FakePackage::~FakePackage() { --journal_->liveObjects; }

HRESULT FakePackage::SetSite(IBdsServices* site) {
    journal_->calls.push_back(name_ + ".SetSite");
    site_ = rtl::ComPtr<IBdsServices>(site);
    if (behaviour_.onSetSite) behaviour_.onSetSite(site);
    if (behaviour_.extraReleaseInSetSite && site) site->Release();
    if (behaviour_.throwInSetSite) throw std::runtime_error("package failure in SetSite");
    return S_OK;
}

HRESULT FakePackage::Initialize() {
    journal_->calls.push_back(name_ + ".Initialize");
    if (behaviour_.onInitialize) behaviour_.onInitialize(site_.Get());
    return S_OK;
}

HRESULT FakePackage::Terminate() {
    journal_->calls.push_back(name_ + ".Terminate");
    if (behaviour_.onTerminate) behaviour_.onTerminate();
    site_ = nullptr;
    if (behaviour_.throwInTerminate) throw std::runtime_error("package failure in Terminate");
    return behaviour_.failTerminate ? E_FAIL : S_OK;
}

HRESULT FakePackage::OnDocumentDeactivated() {
    journal_->calls.push_back(name_ + ".OnDocumentDeactivated");
    return S_OK;
}

RegisteredPackageClass::RegisteredPackageClass(const GUID& clsid, std::string name, std::shared_ptr<Journal> journal,
                                               PackageBehaviour behaviour) {
    cookie_ = Register(clsid, [name, journal, behaviour]() -> IUnknown* {
        FakePackage* package = behaviour.shellPackage ? new FakePackage(name, behaviour, journal)
                                                      : new PlainPackage(name, behaviour, journal);
        return package->Unknown();
    });
}

RegisteredPackageClass::~RegisteredPackageClass() { CoRevokeClassObject(cookie_); }

RegisteredForeignClass::RegisteredForeignClass(const GUID& clsid) {
    cookie_ = Register(clsid, []() -> IUnknown* { return (new ForeignObject)->Unknown(); });
}

RegisteredForeignClass::~RegisteredForeignClass() { CoRevokeClassObject(cookie_); }

GUID MakeGuid(uint32_t seed) {
    return GUID{0x6B0A0000u + seed, 0x1234, 0x4ABC, {0x80, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, static_cast<uint8_t>(seed)}};
}

rtl::String GuidText(uint32_t seed) { return rtl::GUIDToString(MakeGuid(seed)); }

}  // namespace testing_support
