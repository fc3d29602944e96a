// A COM object class that answers one interface more than the class it derives from, for
// class families whose descendants each add an interface of their own. `Extra` derives
// directly from IUnknown; its IUnknown slots reach the same object as the base's.
#pragma once

#include "platform/rtl/ComObject.h"

namespace rtl {

template <class Base, class Extra>
class ComObjectExtension : public Base, public Extra {
public:
    using Base::Base;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return Base::QueryInterface(iid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }

protected:
    void* QueryOtherInterface(REFIID iid) override {
        if (iid == InterfaceTraits<Extra>::Id()) return static_cast<Extra*>(this);
        return Base::QueryOtherInterface(iid);
    }
};

}  // namespace rtl
