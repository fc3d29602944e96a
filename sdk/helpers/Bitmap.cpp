#include "korvel/Bitmap.h"

#include <cstring>
#include <utility>
#include <vector>

namespace korvel::sdk {
namespace {

uint32_t Read(const uint8_t* bytes, size_t count) {
    uint32_t value = 0;
    for (size_t i = count; i-- > 0;) value = value << 8 | bytes[i];
    return value;
}

}  // namespace

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        Delete();
        bitmap_ = std::exchange(other.bitmap_, nullptr);
    }
    return *this;
}

Bitmap Bitmap::FromPixels(int width, int height, const uint32_t* pixels) {
    if (width <= 0 || height <= 0 || !pixels) return Bitmap();
    return Bitmap(CreateBitmap(width, height, 1, 32, pixels));
}

Bitmap Bitmap::Square(int side, uint32_t colour, int margin) {
    constexpr uint32_t Magenta = 0x00FF00FF;
    if (side <= 0) return Bitmap();
    std::vector<uint32_t> pixels(static_cast<size_t>(side) * side, Magenta);
    for (int y = margin; y < side - margin; ++y)
        for (int x = margin; x < side - margin; ++x) pixels[static_cast<size_t>(y) * side + x] = colour;
    return FromPixels(side, side, pixels.data());
}

Bitmap Bitmap::FromDib(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!bytes) return Bitmap();
    size_t bitsOffset = 0;
    if (size >= 14 && bytes[0] == 'B' && bytes[1] == 'M') {
        bitsOffset = Read(bytes + 10, 4);
        bytes += 14;
        size -= 14;
        if (bitsOffset < 14) return Bitmap();
        bitsOffset -= 14;
    }
    if (size < 40) return Bitmap();
    const uint32_t headerSize = Read(bytes, 4);
    const auto width = static_cast<int32_t>(Read(bytes + 4, 4));
    const auto height = static_cast<int32_t>(Read(bytes + 8, 4));
    const uint32_t bitCount = Read(bytes + 14, 2);
    const uint32_t compression = Read(bytes + 16, 4);
    if (headerSize < 40 || headerSize > size || width <= 0 || width > 4096 || height == 0 || height < -4096 ||
        height > 4096 || (bitCount != 24 && bitCount != 32) || compression != 0)
        return Bitmap();
    if (bitsOffset == 0) bitsOffset = headerSize;  // a resource: the pixels follow the header
    const int rows = height < 0 ? -height : height;
    const size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    if (bitsOffset > size || (size - bitsOffset) / stride < static_cast<size_t>(rows)) return Bitmap();
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * rows);
    for (int row = 0; row < rows; ++row) {
        // Bottom-up unless the height is negative.
        const uint8_t* source = bytes + bitsOffset + stride * static_cast<size_t>(height > 0 ? rows - 1 - row : row);
        for (int x = 0; x < width; ++x) {
            const uint8_t* pixel = source + static_cast<size_t>(x) * (bitCount / 8);
            pixels[static_cast<size_t>(row) * width + x] = Read(pixel, 3);
        }
    }
    return FromPixels(width, rows, pixels.data());
}

#ifdef _WIN32
Bitmap Bitmap::FromResource(HMODULE library, LPCWSTR name) {
    HRSRC found = FindResourceW(library, name, MAKEINTRESOURCEW(2));  // RT_BITMAP
    HGLOBAL loaded = found ? LoadResource(library, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? FromDib(bytes, SizeofResource(library, found)) : Bitmap();
}
#endif

Integer Bitmap::AsInteger() const {
    return static_cast<Integer>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(bitmap_)));
}

void Bitmap::Delete() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
}

}  // namespace korvel::sdk
