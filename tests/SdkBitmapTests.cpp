// The SDK's bitmaps as a package makes them for the loader: from a .bmp file's bytes, or from a
// bitmap resource's, which are the same without the file's first 14 bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "korvel/Bitmap.h"

namespace {

// Rows from the top, 0x00RRGGBB.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap) {
    BITMAP size{};
    if (GetObjectW(bitmap, sizeof size, &size) != sizeof size) return {};
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = size.bmWidth;
    request.bmiHeader.biHeight = -size.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(size.bmWidth) * size.bmHeight);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.bmHeight), pixels.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != size.bmHeight) return {};
    for (uint32_t& pixel : pixels) pixel &= 0x00FFFFFF;
    return pixels;
}

TEST(SdkBitmapTest, BmpBytesBecomeTheBitmapTheyDescribe) {
    // 2x2, 24 bits a pixel, rows from the bottom, each padded to 8 bytes.
    std::vector<uint8_t> file = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                                 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
                                 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 255, 0, 255, 0, 0, 0,           // red, green (blue, green, red each)
                                 255, 0, 0, 255, 255, 255, 0, 0};      // blue, white
    const std::vector<uint32_t> topDown = {0x000000FF, 0x00FFFFFF, 0x00FF0000, 0x0000FF00};
    std::vector<uint8_t> resource(file.begin() + 14, file.end());
    for (const std::vector<uint8_t>* bytes : {&file, &resource}) {
        const korvel::sdk::Bitmap bitmap = korvel::sdk::Bitmap::FromDib(bytes->data(), bytes->size());
        ASSERT_FALSE(bitmap.Empty()) << bytes->size() << " bytes";
        EXPECT_EQ(PixelsOf(bitmap.Get()), topDown) << bytes->size() << " bytes";
    }

    EXPECT_TRUE(korvel::sdk::Bitmap::FromDib(file.data(), file.size() - 1).Empty()) << "a row short";
    file[30] = 1;  // run-length encoded
    EXPECT_TRUE(korvel::sdk::Bitmap::FromDib(file.data(), file.size()).Empty());
}

// A handle handed over is the receiver's; one kept is deleted with its object.
TEST(SdkBitmapTest, AnObjectDeletesOnlyTheHandleItStillOwns) {
    HBITMAP kept = nullptr;
    HBITMAP handedOver = nullptr;
    {
        korvel::sdk::Bitmap first = korvel::sdk::Bitmap::Square(16, 0x00C02020, 3);
        korvel::sdk::Bitmap second = korvel::sdk::Bitmap::Square(16, 0x00C02020);
        kept = first.Get();
        handedOver = second.Get();
        EXPECT_EQ(PixelsOf(kept)[0], 0x00FF00FFu) << "the margin is magenta";
        EXPECT_EQ(PixelsOf(kept)[3 * 16 + 3], 0x00C02020u);
        EXPECT_EQ(static_cast<uint32_t>(second.AsInteger()), static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handedOver)));
        second.HandedOver();
        EXPECT_TRUE(second.Empty());
    }
    BITMAP size{};
    EXPECT_EQ(GetObjectW(kept, sizeof size, &size), 0) << "deleted with its object";
    EXPECT_EQ(GetObjectW(handedOver, sizeof size, &size), static_cast<int>(sizeof size)) << "the receiver's to delete";
    DeleteObject(handedOver);
}

}  // namespace
