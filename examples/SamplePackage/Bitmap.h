// A bitmap the package owns until it hands it over. The splash screen and the About box only
// borrow their bitmaps; a menu item's or a tool button's image is taken over by the loader,
// which deletes the handle once it has copied the picture.
#pragma once

#include <cstdint>

#include "korvel/BdsInterop.h"

namespace sample {

class OwnedBitmap {
public:
    OwnedBitmap() = default;
    OwnedBitmap(const OwnedBitmap&) = delete;
    OwnedBitmap& operator=(const OwnedBitmap&) = delete;
    ~OwnedBitmap() { Delete(); }

    // A small square of one colour (0x00RRGGBB); a bitmap the platform could not make stays empty.
    void Make(uint32_t colour);
    // A square of one colour on magenta, which the loader's icons and tab images show as
    // transparent.
    void MakeOnMagenta(uint32_t colour);
    void Delete();

    HBITMAP Get() const { return bitmap_; }
    bool Empty() const { return bitmap_ == nullptr; }
    // As the loader's image methods take handles: 32 bits, on every platform.
    Integer AsInteger() const;
    // The receiver accepted the handle and deletes it; the package must not.
    void HandedOver() { bitmap_ = nullptr; }

private:
    HBITMAP bitmap_ = nullptr;
};

}  // namespace sample
