#include "Bitmap.h"

#include <vector>

namespace sample {
namespace {

constexpr int Side = 16;

}  // namespace

void OwnedBitmap::Make(uint32_t colour) {
    Delete();
    const std::vector<uint32_t> pixels(Side * Side, colour);
    bitmap_ = CreateBitmap(Side, Side, 1, 32, pixels.data());
}

void OwnedBitmap::MakeOnMagenta(uint32_t colour) {
    Delete();
    constexpr uint32_t Magenta = 0x00FF00FF;
    constexpr int Margin = 3;
    std::vector<uint32_t> pixels(Side * Side, Magenta);
    for (int y = Margin; y < Side - Margin; ++y)
        for (int x = Margin; x < Side - Margin; ++x) pixels[y * Side + x] = colour;
    bitmap_ = CreateBitmap(Side, Side, 1, 32, pixels.data());
}

void OwnedBitmap::Delete() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
}

Integer OwnedBitmap::AsInteger() const {
    return static_cast<Integer>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(bitmap_)));
}

}  // namespace sample
