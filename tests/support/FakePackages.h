// Package objects made by the tests, registered as COM classes of the process. Every call
// the system makes on them goes to one journal, and every object is counted, so that a test
// can see both the order of calls and that no reference was leaked.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/Text.h"

namespace testing_support {

struct PackageBehaviour {
    bool shellPackage = false;
    bool throwInSetSite = false;
    bool failTerminate = false;
    bool throwInTerminate = false;
    bool extraReleaseInSetSite = false;
    // Runs inside SetSite/Initialize, with the hub the package was given.
    std::function<void(IBdsServices*)> onSetSite;
    std::function<void(IBdsServices*)> onInitialize;
    // Runs inside Terminate, before the package lets go of its site.
    std::function<void()> onTerminate;
};

struct Journal {
    std::vector<std::string> calls;
    int liveObjects = 0;
    int createdObjects = 0;
};

class FakePackage : public rtl::ComObject<IBdsPackage, IBdsShellPackage> {
public:
    FakePackage(std::string name, PackageBehaviour behaviour, std::shared_ptr<Journal> journal);
    ~FakePackage() override;

    HRESULT STDMETHODCALLTYPE SetSite(IBdsServices* site) override;
    HRESULT STDMETHODCALLTYPE Initialize() override;
    HRESULT STDMETHODCALLTYPE Terminate() override;
    HRESULT STDMETHODCALLTYPE OnDocumentDeactivated() override;

    IBdsServices* Site() const { return site_.Get(); }

private:
    std::string name_;
    PackageBehaviour behaviour_;
    std::shared_ptr<Journal> journal_;
    rtl::ComPtr<IBdsServices> site_;
};

// Registers a class whose instances are FakePackages, for as long as it lives.
class RegisteredPackageClass {
public:
    RegisteredPackageClass(const GUID& clsid, std::string name, std::shared_ptr<Journal> journal,
                           PackageBehaviour behaviour = {});
    ~RegisteredPackageClass();
    RegisteredPackageClass(const RegisteredPackageClass&) = delete;
    RegisteredPackageClass& operator=(const RegisteredPackageClass&) = delete;

private:
    DWORD cookie_ = 0;
};

// A class that can be created but is no package: it lacks IBdsPackage.
class RegisteredForeignClass {
public:
    explicit RegisteredForeignClass(const GUID& clsid);
    ~RegisteredForeignClass();

private:
    DWORD cookie_ = 0;
};

GUID MakeGuid(uint32_t seed);
rtl::String GuidText(uint32_t seed);

}  // namespace testing_support
