#include <gtest/gtest.h>

#include "platform/vcl/ImgList.h"
#include "services/BitmapImages.h"
#include "sim/SimulatedIde.h"

namespace {

// A 16x16 bitmap, magenta but for one white pixel at (3, 2).
HBITMAP MakeIcon() {
    std::vector<uint32_t> pixels(16 * 16, 0x00FF00FFu);
    pixels[2 * 16 + 3] = 0x00FFFFFFu;
    return CreateBitmap(16, 16, 1, 32, pixels.data());
}

Integer AsInteger(HBITMAP handle) { return static_cast<Integer>(reinterpret_cast<uintptr_t>(handle)); }

bool HandleAlive(HBITMAP handle) {
    BITMAP info{};
    return GetObjectW(handle, sizeof(info), &info) == sizeof(info);
}

TEST(BitmapImagesTest, MagentaBecomesTransparentAndTheHandleIsConsumed) {
    sim::SimulatedIde ide;
    vcl::TImageList images(nullptr);
    HBITMAP icon = MakeIcon();
    ASSERT_TRUE(icon);
    int index = -1;
    EXPECT_EQ(korvel::AddImageFromHandle(&images, AsInteger(icon), u"Op", [&](int i) { index = i; }), S_OK);
    EXPECT_EQ(index, 0);
    ASSERT_EQ(images.Count(), 1);
    const vcl::TImage& image = images.Images(0);
    EXPECT_TRUE(image.transparent[0]);
    EXPECT_FALSE(image.transparent[2 * 16 + 3]);
    EXPECT_EQ(image.pixels[2 * 16 + 3], 0x00FFFFFFu);
    EXPECT_FALSE(HandleAlive(icon));
    EXPECT_TRUE(ide.Record().dialogs.empty());

    HBITMAP second = MakeIcon();
    korvel::AddImageFromHandle(&images, AsInteger(second), u"Op", [&](int i) { index = i; });
    EXPECT_EQ(index, 1) << "every call appends";
}

TEST(BitmapImagesTest, FailuresShowTheOperationHandleAndErrorAndKeepTheHandle) {
    sim::SimulatedIde ide;
    HBITMAP icon = MakeIcon();
    bool used = false;
    EXPECT_EQ(korvel::AddImageFromHandle(nullptr, AsInteger(icon), u"TBdsMenuBarService.SetImage",
                                         [&](int) { used = true; }),
              E_FAIL);
    EXPECT_FALSE(used);
    ASSERT_EQ(ide.Record().dialogs.size(), 1u);
    EXPECT_TRUE(ide.Record().dialogs[0].plainMessage);
    EXPECT_EQ(ide.Record().dialogs[0].text,
              u"TBdsMenuBarService.SetImage " + rtl::IntToStr(AsInteger(icon)) + u" No image list");
    EXPECT_TRUE(HandleAlive(icon));
    DeleteObject(icon);

    vcl::TImageList images(nullptr);
    EXPECT_EQ(korvel::AddImageFromHandle(&images, 12345, u"Op", [](int) {}), E_FAIL);
    EXPECT_EQ(ide.Record().dialogs.back().text, u"Op 12345 Bitmap image is not valid");
    EXPECT_EQ(images.Count(), 0);
}

// Red, with the bottom-left quarter (the corner that names the transparent colour) magenta.
HBITMAP MakeQuarteredBitmap(int size) {
    std::vector<uint32_t> pixels(static_cast<size_t>(size) * size, 0x00FF0000u);
    for (int y = size / 2; y < size; ++y)
        for (int x = 0; x < size / 2; ++x) pixels[static_cast<size_t>(y) * size + x] = 0x00FF00FFu;
    return CreateBitmap(size, size, 1, 32, pixels.data());
}

TEST(BitmapImagesTest, IconHasTheSystemSizeWithTheKeyColourBlackAndTransparent) {
    vcl::TBitmap bitmap;
    bitmap.SetHandle(MakeQuarteredBitmap(16));
    std::unique_ptr<vcl::TIcon> icon = korvel::BitmapToIcon(bitmap);
    DeleteObject(bitmap.Handle());
    ASSERT_TRUE(icon && icon->Handle());
    const vcl::TIcon::Picture picture = icon->Read();
    const int size = GetSystemMetrics(SM_CXICON);
    ASSERT_EQ(picture.width, size);
    ASSERT_EQ(picture.height, GetSystemMetrics(SM_CYICON));
    const auto at = [&](int x, int y) { return static_cast<size_t>(y) * size + x; };
    EXPECT_EQ(picture.pixels[at(size - 1, 0)], 0x000000FFu) << "red stays, stretched to the far corner";
    EXPECT_FALSE(picture.transparent[at(size - 1, 0)]);
    EXPECT_EQ(picture.pixels[at(0, size - 1)], 0u) << "the key colour is black in the colour plane";
    EXPECT_TRUE(picture.transparent[at(0, size - 1)]);
    EXPECT_TRUE(picture.transparent[at(size / 2 - 1, size / 2)]);
    EXPECT_FALSE(picture.transparent[at(size / 2, size / 2)]);
}

TEST(BitmapImagesTest, ReplacingAnImageKeepsTheOthers) {
    vcl::TImageList images(nullptr);
    vcl::TBitmap first;
    first.SetHandle(MakeIcon());
    vcl::TBitmap second;
    second.SetHandle(MakeQuarteredBitmap(16));
    images.AddMasked(first, vcl::clFuchsia);
    images.AddMasked(first, vcl::clFuchsia);
    images.ReplaceMasked(0, second, vcl::clFuchsia);
    EXPECT_EQ(images.Count(), 2);
    EXPECT_EQ(images.Images(0).pixels[0], 0x000000FFu);
    EXPECT_TRUE(images.Images(1).transparent[0]);
    EXPECT_THROW(images.ReplaceMasked(2, second, vcl::clFuchsia), rtl::Exception);
    DeleteObject(first.Handle());
    DeleteObject(second.Handle());
}

}  // namespace
