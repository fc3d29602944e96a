#include "DesignerHelpers.h"

namespace sample {

HRESULT MessageRelay::HandleMessage(MSG* Msg, WordBool* CallDefaultHandler, WordBool* Handled) {
    if (!Handled) return E_POINTER;
    *Handled = 0;
    if (!Msg) return E_POINTER;
    return Guarded([&] {
        const ComRef<MessageRelay> keepAlive(this);
        const MessageCallback handle = Current();
        if (handle && handle(*Msg)) *Handled = -1;
        return S_OK;
    });
}

HRESULT DropHelperRelay::GetDragDropHelper(BSTR ClassName, IUnknown** Helper) {
    if (!Helper) return E_POINTER;
    *Helper = nullptr;
    return Guarded([&] {
        const ComRef<DropHelperRelay> keepAlive(this);
        const DropHelperCallback helperFor = Current();
        if (helperFor) *Helper = helperFor(FromBstr(ClassName)).Detach();
        return S_OK;
    });
}

}  // namespace sample
