// A package object as a careless or hostile package writes it: one object answering every
// sink and window interface, whose reference counting and QueryInterface misbehave on
// request and whose callbacks may throw or run package code. It counts references without
// owning memory, so a test sees the balance: zero once the system has let go of it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>

#include "interop/InterfaceBindings.h"

namespace testing_support {

class RoguePackageObject : public IBdsWindowEvents,
                           public IWin32Window,
                           public IBdsToolBarControlEvents,
                           public IMessageHandler {
public:
    enum class Query { Honest, NullWithSuccess, Refuse, Throw };

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (query == Query::Throw) throw std::runtime_error("package failure in QueryInterface");
        *out = nullptr;
        if (query == Query::NullWithSuccess) return S_OK;
        if (query == Query::Refuse) return E_NOINTERFACE;
        if (iid == IID_IUnknown || iid == IID_IBdsWindowEvents)
            *out = static_cast<IBdsWindowEvents*>(this);
        else if (iid == IID_IWin32Window)
            *out = static_cast<IWin32Window*>(this);
        else if (iid == IID_IBdsToolBarControlEvents)
            *out = static_cast<IBdsToolBarControlEvents*>(this);
        else if (iid == IID_IMessageHandler)
            *out = static_cast<IMessageHandler*>(this);
        else
            return E_NOINTERFACE;
        ++references;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        if (throwOnAddRef) throw std::runtime_error("package failure in AddRef");
        return ++references;
    }
    // A throwing release has released.
    ULONG STDMETHODCALLTYPE Release() override {
        --references;
        if (onRelease) std::exchange(onRelease, nullptr)();
        if (throwOnRelease) throw std::runtime_error("package failure in Release");
        return references;
    }

    HRESULT STDMETHODCALLTYPE OnClose() override { return Callback(); }
    HRESULT STDMETHODCALLTYPE OnActivate() override { return Callback(); }
    HRESULT STDMETHODCALLTYPE RequestIcon(Integer* pRetVal) override {
        *pRetVal = icon;
        return Callback();
    }
    HRESULT STDMETHODCALLTYPE get_Handle(HWND* pRetVal) override {
        *pRetVal = handle;
        return Callback();
    }
    HRESULT STDMETHODCALLTYPE OnExecute() override { return Callback(); }
    HRESULT STDMETHODCALLTYPE OnChange() override { return Callback(); }
    HRESULT STDMETHODCALLTYPE OnUpdate() override { return Callback(); }
    HRESULT STDMETHODCALLTYPE HandleMessage(MSG*, WordBool*, WordBool* handled) override {
        *handled = -1;
        return Callback();
    }

    IUnknown* Unknown() { return static_cast<IBdsWindowEvents*>(this); }

    long references = 0;
    int calls = 0;
    Query query = Query::Honest;
    bool throwOnAddRef = false;
    bool throwOnRelease = false;
    bool throwInCallbacks = false;
    HWND handle = nullptr;
    Integer icon = 0;
    // Package code run inside the next callback, or the next release.
    std::function<void()> onCallback;
    std::function<void()> onRelease;

private:
    HRESULT Callback() {
        ++calls;
        if (onCallback) std::exchange(onCallback, nullptr)();
        if (throwInCallbacks) throw std::runtime_error("package failure in a callback");
        return S_OK;
    }
};

// Offers the object through `offer` while its AddRef throws and while its QueryInterface lies
// or throws: every offer must fail, and none may leave a reference behind.
template <class Offer>
void ExpectRefusedWhileMisbehaving(RoguePackageObject& rogue, Offer&& offer) {
    rogue.throwOnAddRef = true;
    EXPECT_TRUE(FAILED(offer())) << "an object that cannot be held";
    rogue.throwOnAddRef = false;
    for (auto query : {RoguePackageObject::Query::NullWithSuccess, RoguePackageObject::Query::Refuse,
                       RoguePackageObject::Query::Throw}) {
        rogue.query = query;
        EXPECT_TRUE(FAILED(offer())) << "a lying or throwing QueryInterface, kind " << static_cast<int>(query);
    }
    rogue.query = RoguePackageObject::Query::Honest;
    EXPECT_EQ(rogue.references, 0) << "a refused object is not held";
}

}  // namespace testing_support
