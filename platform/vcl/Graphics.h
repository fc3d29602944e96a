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
    // The colour that drawing leaves out: the bottom-left pixel's, as the library picks it.
    TColor TransparentColor() const;

private:
    BITMAP Info() const;
    HBITMAP handle_ = nullptr;
};

// A new 32-bit bitmap of top-down rows of colours; raises EInvalidGraphic when it cannot be made.
HBITMAP CreateColourBitmap(int width, int height, const std::vector<TColor>& pixels);
// A new monochrome bitmap, white where `white` is set.
HBITMAP CreateMonochromeBitmap(int width, int height, const std::vector<bool>& white);

// An icon over a Windows icon handle, which it destroys with itself.
class TIcon : public TPersistent {
public:
    explicit TIcon(HICON handle) : handle_(handle) {}
    ~TIcon() override;
    KORVEL_VCL_CLASS(TIcon)

    HICON Handle() const { return handle_; }
    // Gives up the handle without destroying it.
    HICON ReleaseHandle();
    // The icon's pixels, with the mask's transparent ones marked; empty without a handle.
    struct Picture {
        int width = 0;
        int height = 0;
        std::vector<TColor> pixels;
        std::vector<bool> transparent;
    };
    Picture Read() const;

private:
    HICON handle_;
};

}  // namespace vcl
