#include "designer/BdsDesignerNotifier.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "interop/InterfaceBindings.h"
#include "loader/KorvelLoader.h"
#include "platform/rtl/Bstr.h"
#include "services/KorvelBdsServices.h"

namespace korvel {
namespace {

// A coordinate as the designer reads it: a signed 16-bit value. Clamped, so that a position
// beyond its range cannot spill into the other coordinate's word.
uint32_t DesignWord(Integer coordinate) {
    const Integer clamped = std::clamp<Integer>(coordinate, INT16_MIN, INT16_MAX);
    return static_cast<uint16_t>(static_cast<int16_t>(clamped));
}

// Top in the high word, left in the low word.
int32_t DesignInfoOf(Integer x, Integer y) { return static_cast<int32_t>((DesignWord(y) << 16) | DesignWord(x)); }

// Raises the platform's OLE error when the helper is no IDragDropHelper or fails, and the
// package's failure when it raises or faults.
int32_t DropPosition(const rtl::PackageRef<IUnknown>& helper) {
    rtl::PackageRef<IDragDropHelper> dropHelper;
    HRESULT result = helper.QueryInto(dropHelper);
    if (SUCCEEDED(result) && !dropHelper) result = E_NOINTERFACE;
    rtl::OleCheck(result);
    rtl::OleCheck(dropHelper.AskOrRaise("WaitForInfo", [](IDragDropHelper& h) { return h.WaitForInfo(); }));
    Integer x = 0;
    Integer y = 0;
    rtl::OleCheck(dropHelper.AskOrRaise("Get_DropX", [&](IDragDropHelper& h) { return h.Get_DropX(&x); }));
    rtl::OleCheck(dropHelper.AskOrRaise("Get_DropY", [&](IDragDropHelper& h) { return h.Get_DropY(&y); }));
    return DesignInfoOf(x, y);
}

}  // namespace

TDragDropDesignerNotifier::TDragDropDesignerNotifier() { ide::RegisterDesignNotification(this); }

void TDragDropDesignerNotifier::ItemInserted(ide::IDesigner*, vcl::TPersistent* AItem) {
    // The helper may let the designer run while it waits, and the component may go meanwhile.
    const vcl::ComponentPtr<vcl::TComponent> component(dynamic_cast<vcl::TComponent*>(AItem));
    if (!component || !BdsServices) return;
    if (BdsServices->DragDropHelpers().empty()) return;
    // A copy: a provider may register another one while it is asked.
    const auto providers = rtl::HeldCopy(BdsServices->DragDropHelpers());
    const rtl::WideString className(component->ClassName());
    for (const auto& provider : providers) {
        IUnknown* answer = nullptr;
        // Only the helper counts, not the result.
        provider.AskOrRaise("GetDragDropHelper", [&](IDragDropHelperProvider& p) {
            return p.GetDragDropHelper(className.Get(), &answer);
        });
        const auto helper = rtl::PackageRef<IUnknown>::Adopt(answer, provider.Package());
        if (!helper) continue;
        const int32_t position = DropPosition(helper);
        if (component) component->DesignInfo = position;
        return;
    }
}

}  // namespace korvel
