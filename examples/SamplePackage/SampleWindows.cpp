#include "SampleWindows.h"

namespace sample {

HRESULT WindowEvents::OnClose() {
    return Guarded([&] {
        if (const auto handlers = Current(); handlers.onClose) handlers.onClose();
        return S_OK;
    });
}

HRESULT WindowEvents::OnActivate() {
    return Guarded([&] {
        if (const auto handlers = Current(); handlers.onActivate) handlers.onActivate();
        return S_OK;
    });
}

HRESULT WindowEvents::RequestIcon(Integer* pRetVal) {
    if (!pRetVal) return E_POINTER;
    return Guarded([&] {
        const auto handlers = Current();
        const HBITMAP icon = handlers.requestIcon ? handlers.requestIcon() : nullptr;
        *pRetVal = static_cast<Integer>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(icon)));
        return S_OK;
    });
}

}  // namespace sample
