#include "services/BitmapImages.h"

#include "platform/vcl/Dialogs.h"

namespace korvel {
namespace {

HBITMAP BitmapFromInteger(Integer handle) {
    // Handles travel as 32-bit integers; a handle's value is its low 32 bits on every platform.
    return reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(static_cast<uint32_t>(handle)));
}

// Nearest-pixel stretch of `source` (width x height) to the target size.
std::vector<vcl::TColor> Stretch(const std::vector<vcl::TColor>& source, int width, int height, int targetWidth,
                                 int targetHeight) {
    std::vector<vcl::TColor> target(static_cast<size_t>(targetWidth) * targetHeight);
    for (int y = 0; y < targetHeight; ++y)
        for (int x = 0; x < targetWidth; ++x)
            target[static_cast<size_t>(y) * targetWidth + x] =
                source[static_cast<size_t>(int64_t{y} * height / targetHeight) * width +
                       static_cast<size_t>(int64_t{x} * width / targetWidth)];
    return target;
}

// Deletes a GDI object when it goes out of scope.
struct DeleteOnExit {
    HBITMAP handle;
    ~DeleteOnExit() { DeleteObject(handle); }
};

}  // namespace

HRESULT UseBitmapHandle(Integer handle, const rtl::String& operation,
                        const std::function<void(const vcl::TBitmap& bitmap)>& use) {
    try {
        vcl::TBitmap bitmap;
        bitmap.SetHandle(BitmapFromInteger(handle));
        use(bitmap);
        DeleteObject(bitmap.Handle());
        return S_OK;
    } catch (const rtl::Exception& error) {
        vcl::ShowMessage(operation + u" " + rtl::IntToStr(handle) + u" " + error.Message());
        return E_FAIL;
    }
}

HRESULT AddImageFromHandle(vcl::TCustomImageList* images, Integer handle, const rtl::String& operation,
                           const std::function<void(int index)>& useIndex) {
    return UseBitmapHandle(handle, operation, [&](const vcl::TBitmap& bitmap) {
        if (!images) throw rtl::EInvalidOperation(u"No image list");
        useIndex(images->AddMasked(bitmap, vcl::clFuchsia));
    });
}

std::unique_ptr<vcl::TIcon> BitmapToIcon(const vcl::TBitmap& bitmap) {
    const int width = GetSystemMetrics(SM_CXICON);
    const int height = GetSystemMetrics(SM_CYICON);
    std::vector<vcl::TColor> colours = Stretch(bitmap.Pixels(), bitmap.Width(), bitmap.Height(), width, height);
    const vcl::TColor key = bitmap.TransparentColor() & 0xFFFFFF;
    std::vector<bool> transparent(colours.size());
    for (size_t i = 0; i < colours.size(); ++i)
        if (colours[i] == key) {
            transparent[i] = true;
            colours[i] = 0;
        }
    const DeleteOnExit mask{vcl::CreateMonochromeBitmap(width, height, transparent)};
    const DeleteOnExit colour{vcl::CreateColourBitmap(width, height, colours)};
    ICONINFO info{TRUE, 0, 0, mask.handle, colour.handle};
    HICON icon = CreateIconIndirect(&info);
    if (!icon) throw vcl::EInvalidGraphic(u"Out of system resources");
    return std::make_unique<vcl::TIcon>(icon);
}

}  // namespace korvel
