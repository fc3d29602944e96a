// The objects the designer package registers with the loader, which keeps them until it shuts
// down: a message handler and a drag-drop helper provider, both relaying to the package, and
// the helper that tells the form designer where a dropped component goes.
#pragma once

#include <functional>

#include "Text.h"
#include "korvel/Relay.h"
#include "Text.h"

namespace sample {

// The package answers whether it handled the message.
using MessageCallback = std::function<bool(const MSG& msg)>;

class MessageRelay final : public ComObject<IMessageHandler>, public Relay<MessageCallback> {
public:
    explicit MessageRelay(MessageCallback callback) : Relay(std::move(callback)) {}

    // Handled is always answered; CallDefaultHandler is left as it came.
    HRESULT STDMETHODCALLTYPE HandleMessage(MSG* Msg, WordBool* CallDefaultHandler, WordBool* Handled) override;
};

// The package answers the helper for a component class, or nothing.
using DropHelperCallback = std::function<ComRef<IUnknown>(const Text& className)>;

class DropHelperRelay final : public ComObject<IDragDropHelperProvider>, public Relay<DropHelperCallback> {
public:
    explicit DropHelperRelay(DropHelperCallback callback) : Relay(std::move(callback)) {}

    HRESULT STDMETHODCALLTYPE GetDragDropHelper(BSTR ClassName, IUnknown** Helper) override;
};

// A drop point that is known at once, on a client area of a fixed size.
class DropPoint final : public ComObject<IDragDropHelper> {
public:
    DropPoint(Integer x, Integer y) : x_(x), y_(y) {}

    HRESULT STDMETHODCALLTYPE WaitForInfo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Get_DropX(Integer* pRetVal) override { return Answer(pRetVal, x_); }
    HRESULT STDMETHODCALLTYPE Get_DropY(Integer* pRetVal) override { return Answer(pRetVal, y_); }
    HRESULT STDMETHODCALLTYPE Get_ClientLeft(Integer* pRetVal) override { return Answer(pRetVal, 0); }
    HRESULT STDMETHODCALLTYPE Get_ClientTop(Integer* pRetVal) override { return Answer(pRetVal, 0); }
    HRESULT STDMETHODCALLTYPE Get_ClientRight(Integer* pRetVal) override { return Answer(pRetVal, ClientWidth); }
    HRESULT STDMETHODCALLTYPE Get_ClientBottom(Integer* pRetVal) override { return Answer(pRetVal, ClientHeight); }

private:
    static constexpr Integer ClientWidth = 800;
    static constexpr Integer ClientHeight = 600;

    static HRESULT Answer(Integer* out, Integer value) {
        if (!out) return E_POINTER;
        *out = value;
        return S_OK;
    }

    const Integer x_;
    const Integer y_;
};

}  // namespace sample
