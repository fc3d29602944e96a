// A package library that the build puts beside the test program (the sample's unless named),
// loaded once more so that tests can call its COM entry points themselves.
#pragma once

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComPtr.h"
#include "platform/rtl/Text.h"

namespace testing_support {

extern const rtl::String kSampleLibraryName;

rtl::String BesideTheProgram(const rtl::String& name);

class SampleLibrary {
public:
    explicit SampleLibrary(const rtl::String& fileName = kSampleLibraryName);
    ~SampleLibrary();
    SampleLibrary(const SampleLibrary&) = delete;
    SampleLibrary& operator=(const SampleLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    HRESULT CanUnloadNow() const;
    // As regsvr32 and regsvr32 /u call them.
    HRESULT RegisterServer() const;
    HRESULT UnregisterServer() const;
    HRESULT GetClassObject(const CLSID& clsid, const IID& iid, void** object) const;
    // A new object of the class, as its IBdsPackage; raises when the library refuses.
    rtl::ComPtr<IBdsPackage> CreatePackage(const CLSID& clsid) const;

private:
    template <class Proc>
    Proc Entry(const char* name) const;

    HMODULE module_;
};

}  // namespace testing_support
