#include <gtest/gtest.h>

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

}  // namespace
