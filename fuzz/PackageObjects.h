// The objects a careless package hands to the system: event sinks, message handlers,
// drag-and-drop providers and their helpers. Each one is counted while it lives, so that the
// fuzzer can see every reference the system took was given back.
#pragma once

#include "fuzz/FuzzInput.h"
#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/Text.h"

namespace fuzz {

class PackageSession;

// Package objects alive now.
int LivePackageObjects();
// Names the action that made each live package object, one line each, for reading a finding.
void ListLivePackageObjects();

// What a careless package hands back when asked for an object: nil, itself (not of the kind
// asked for), or what `make` gives; the caller's reference.
template <class Interface, class Make>
Interface* HandedOut(FuzzInput& input, IUnknown* self, Make&& make) {
    switch (input.Choose(4)) {
        case 0:
            return nullptr;
        case 1:
            self->AddRef();
            return reinterpret_cast<Interface*>(self);
        default:
            return make();
    }
}

// Counts its object among the live package objects; `origin` names what made it.
class Counted {
public:
    explicit Counted(const char* origin);
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
    ~Counted();
    const char* Origin() const { return origin_; }

private:
    const char* origin_;
};

// One sink for everything the system calls back: each callback lets the session decide from
// the input what the package does (call back in, release its own wrapper, fail, throw).
// `owner` is the object it was registered with; no reference is held on it.
class CarelessSink : public rtl::ComObject<IBdsToolBarControlEvents, IBdsWindowEvents, IMessageHandler,
                                          IDragDropHelperProvider>,
                     public Counted {
public:
    CarelessSink(PackageSession& session, const char* origin) : Counted(origin), session_(session) {}
    void SetOwner(const void* owner) { owner_ = owner; }

    HRESULT STDMETHODCALLTYPE OnExecute() override;
    HRESULT STDMETHODCALLTYPE OnChange() override;
    HRESULT STDMETHODCALLTYPE OnUpdate() override;
    HRESULT STDMETHODCALLTYPE OnClose() override;
    HRESULT STDMETHODCALLTYPE OnActivate() override;
    HRESULT STDMETHODCALLTYPE RequestIcon(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE HandleMessage(MSG* Msg, WordBool* CallDefaultHandler, WordBool* Handled) override;
    HRESULT STDMETHODCALLTYPE GetDragDropHelper(BSTR ClassName, IUnknown** Helper) override;

private:
    HRESULT React();

    PackageSession& session_;
    const void* owner_ = nullptr;
};

// A package window handed over for hosting. Each time its handle is asked it may call back
// in first, then answers its own window, that window after destroying it, a made-up handle,
// none, or a failure. `owner` is the document it was handed to; no reference is held on it.
class CarelessWindow : public rtl::ComObject<IWin32Window>, public Counted {
public:
    CarelessWindow(PackageSession& session, const char* origin);
    ~CarelessWindow() override;
    void SetOwner(const void* owner) { owner_ = owner; }

    HRESULT STDMETHODCALLTYPE get_Handle(HWND* pRetVal) override;

private:
    PackageSession& session_;
    const void* owner_ = nullptr;
    HWND handle_ = nullptr;
};

// Answers a drop position drawn from the input when it is made.
class DropHelper : public rtl::ComObject<IDragDropHelper>, public Counted {
public:
    DropHelper(PackageSession& session, const char* origin);

    HRESULT STDMETHODCALLTYPE WaitForInfo() override;
    HRESULT STDMETHODCALLTYPE Get_DropX(Integer* pRetVal) override { return Answer(values_[0], pRetVal); }
    HRESULT STDMETHODCALLTYPE Get_DropY(Integer* pRetVal) override { return Answer(values_[1], pRetVal); }
    HRESULT STDMETHODCALLTYPE Get_ClientLeft(Integer* pRetVal) override { return Answer(values_[2], pRetVal); }
    HRESULT STDMETHODCALLTYPE Get_ClientTop(Integer* pRetVal) override { return Answer(values_[3], pRetVal); }
    HRESULT STDMETHODCALLTYPE Get_ClientRight(Integer* pRetVal) override { return Answer(values_[4], pRetVal); }
    HRESULT STDMETHODCALLTYPE Get_ClientBottom(Integer* pRetVal) override { return Answer(values_[5], pRetVal); }

private:
    HRESULT Answer(Integer value, Integer* out);

    PackageSession& session_;
    Integer values_[6];
};

}  // namespace fuzz
