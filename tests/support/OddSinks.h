// Event sinks as odd but legal (or plainly lying) packages write them.
#pragma once

#include <stdexcept>

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComObject.h"

namespace testing_support {

// One object that implements the sink twice and means the second: QueryInterface answers the
// first, as the object's identity.
class DoubleSink {
public:
    DoubleSink() = default;
    DoubleSink(const DoubleSink&) = delete;
    DoubleSink& operator=(const DoubleSink&) = delete;

    IBdsToolBarControlEvents* First() { return &first_; }
    IBdsToolBarControlEvents* Second() { return &second_; }
    ULONG References() const { return references_; }

    int firstExecuted = 0;
    int secondExecuted = 0;

private:
    class Part : public IBdsToolBarControlEvents {
    public:
        Part(DoubleSink& owner, int DoubleSink::*executed) : owner_(owner), executed_(executed) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
            if (!out) return E_POINTER;
            *out = nullptr;
            if (iid != IID_IUnknown && iid != IID_IBdsToolBarControlEvents) return E_NOINTERFACE;
            *out = owner_.First();
            AddRef();
            return S_OK;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return ++owner_.references_; }
        ULONG STDMETHODCALLTYPE Release() override { return --owner_.references_; }
        HRESULT STDMETHODCALLTYPE OnExecute() override {
            ++(owner_.*executed_);
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE OnChange() override { return S_OK; }
        HRESULT STDMETHODCALLTYPE OnUpdate() override { return S_OK; }

    private:
        DoubleSink& owner_;
        int DoubleSink::*executed_;
    };

    ULONG references_ = 0;
    Part first_{*this, &DoubleSink::firstExecuted};
    Part second_{*this, &DoubleSink::secondExecuted};
};

// Answers every interface with itself, whatever its table really holds.
class EverythingSink : public rtl::ComObject<IBdsToolBarControlEvents> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        if (!out) return E_POINTER;
        *out = Unknown();
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnExecute() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnChange() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUpdate() override { return S_OK; }
};

// Throws from QueryInterface.
class ThrowingSink : public EverythingSink {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override {
        throw std::runtime_error("package failure in QueryInterface");
    }
};

// Refuses the sink interface it is passed as.
class RefusingSink : public EverythingSink {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IBdsToolBarControlEvents) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return EverythingSink::QueryInterface(iid, out);
    }
};

}  // namespace testing_support
