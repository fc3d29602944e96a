#include "bench/NotifierPackage.h"

#include "platform/rtl/ComObject.h"

namespace bench {
namespace {

class PackageNotifier final : public rtl::ComObject<IBDSNotifier> {
public:
    explicit PackageNotifier(long& modifications) : modifications_(modifications) {}
    LongBool STDMETHODCALLTYPE AfterSave() override { return -1; }
    LongBool STDMETHODCALLTYPE BeforeSave() override { return -1; }
    void STDMETHODCALLTYPE Destroyed() override {}
    void STDMETHODCALLTYPE Modified() override { ++modifications_; }

private:
    long& modifications_;
};

}  // namespace

rtl::ComPtr<IBDSNotifier> NewPackageNotifier(long& modifications) {
    return rtl::ComPtr<IBDSNotifier>(new PackageNotifier(modifications));
}

}  // namespace bench
