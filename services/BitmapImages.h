// Bitmaps that packages hand over as handles: each receiving operation adds the image to an
// image list with magenta transparent and consumes the handle.
#pragma once

#include <functional>

#include "interop/KorvelBdsInterop.h"
#include "platform/rtl/Text.h"
#include "platform/vcl/ImgList.h"

namespace korvel {

// Adds the bitmap behind `handle` to `images`, hands the new index to `useIndex`, then deletes
// the handle. Any failure is shown as "<operation> <handle> <error text>" in a plain message
// and answered E_FAIL; the handle then stays the package's.
HRESULT AddImageFromHandle(vcl::TCustomImageList* images, Integer handle, const rtl::String& operation,
                           const std::function<void(int index)>& useIndex);

}  // namespace korvel
