#include "services/BitmapImages.h"

#include "platform/vcl/Dialogs.h"

namespace korvel {
namespace {

HBITMAP BitmapFromInteger(Integer handle) {
    // Handles travel as 32-bit integers; a handle's value is its low 32 bits on every platform.
    return reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(static_cast<uint32_t>(handle)));
}

}  // namespace

HRESULT AddImageFromHandle(vcl::TCustomImageList* images, Integer handle, const rtl::String& operation,
                           const std::function<void(int index)>& useIndex) {
    try {
        if (!images) throw rtl::EInvalidOperation(u"No image list");
        vcl::TBitmap bitmap;
        bitmap.SetHandle(BitmapFromInteger(handle));
        useIndex(images->AddMasked(bitmap, vcl::clFuchsia));
        DeleteObject(bitmap.Handle());
        return S_OK;
    } catch (const rtl::Exception& error) {
        vcl::ShowMessage(operation + u" " + rtl::IntToStr(handle) + u" " + error.Message());
        return E_FAIL;
    }
}

}  // namespace korvel
