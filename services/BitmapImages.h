// Bitmaps that packages hand over as handles: each receiving operation uses the image (adds it
// to an image list with magenta transparent, or makes an icon of it) and consumes the handle.
#pragma once

#include <functional>
#include <memory>

#include "interop/KorvelBdsInterop.h"
#include "platform/rtl/Text.h"
#include "platform/vcl/ImgList.h"

namespace korvel {

// Hands the bitmap behind `handle` to `use`, then deletes the handle. Any failure is shown as
// "<operation> <handle> <error text>" in a plain message and answered E_FAIL; the handle then
// stays the package's.
HRESULT UseBitmapHandle(Integer handle, const rtl::String& operation,
                        const std::function<void(const vcl::TBitmap& bitmap)>& use);

// Adds the bitmap behind `handle` to `images` and hands the new index to `useIndex`, as
// UseBitmapHandle.
HRESULT AddImageFromHandle(vcl::TCustomImageList* images, Integer handle, const rtl::String& operation,
                           const std::function<void(int index)>& useIndex);

// An icon of the system's icon size from the bitmap stretched onto it; the bitmap's transparent
// colour becomes black in the colour plane and transparent through the mask.
std::unique_ptr<vcl::TIcon> BitmapToIcon(const vcl::TBitmap& bitmap);

}  // namespace korvel
