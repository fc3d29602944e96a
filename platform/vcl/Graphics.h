// Bitmaps over Windows bitmap handles, with their pixels read through the platform.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/vcl/Classes.h"

namespace vcl {

// 0x00BBGGRR, as the library stores colours.
using TColor = uint32_t;
constexpr TColor clFuchsia = 0x00FF00FF;

class EInvalidGraphic : public rtl::Exception {
public:
    using Exception::Exception;
};

class TBitmap : public TPersistent {
public:
    TBitmap() = default;
    KORVEL_VCL_CLASS(TBitmap)

    HBITMAP Handle() const { return handle_; }
    // Takes the handle as the image; the bitmap does not delete it.
    void SetHandle(HBITMAP handle) { handle_ = handle; }

    int Width() const;
    int Height() const;
    // Top-down rows of colours; raises EInvalidGraphic when the handle is no bitmap.
    std::vector<TColor> Pixels() const;

private:
    BITMAP Info() const;
    HBITMAP handle_ = nullptr;
};

}  // namespace vcl
