// An event sink as an odd package writes it: one object holding the sink twice, whose
// QueryInterface answers every interface with the first part (or throws, when asked to).
// It counts references without owning memory; a test lets it go before it ends.
#pragma once

#include <stdexcept>

#include "interop/InterfaceBindings.h"

namespace testing_support {

struct DoubleSink {
    struct Part : IBdsToolBarControlEvents {
        explicit Part(DoubleSink& owner) : owner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
            if (owner.throwOnQuery) throw std::runtime_error("package failure in QueryInterface");
            *out = &owner.first;
            return AddRef(), S_OK;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return ++owner.references; }
        ULONG STDMETHODCALLTYPE Release() override { return --owner.references; }
        HRESULT STDMETHODCALLTYPE OnExecute() override { return ++executed, S_OK; }
        HRESULT STDMETHODCALLTYPE OnChange() override { return S_OK; }
        HRESULT STDMETHODCALLTYPE OnUpdate() override { return S_OK; }
        DoubleSink& owner;
        int executed = 0;
    };
    Part first{*this};
    Part second{*this};
    ULONG references = 0;
    bool throwOnQuery = false;
};

}  // namespace testing_support
