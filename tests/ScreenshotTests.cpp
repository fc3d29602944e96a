#include <gtest/gtest.h>

#include "host/IdeScreenshot.h"
#include "platform/vcl/ComCtrls.h"

#ifdef KORVEL_HAVE_CAIRO
#include <cairo.h>
#endif

namespace {

#ifdef KORVEL_HAVE_CAIRO
const host::DrawnArea* FindArea(const std::vector<host::DrawnArea>& areas, const rtl::String& what) {
    for (const host::DrawnArea& area : areas)
        if (area.what == what) return &area;
    return nullptr;
}
#endif

TEST(ScreenshotTest, ToolBarButtonImageIsDrawnWithMagentaTransparent) {
    sim::SimulatedIde ide;
    const auto file = std::filesystem::temp_directory_path() / "korvel-screenshot-test.png";
    if (!host::ScreenshotAvailable()) {
        EXPECT_THROW(host::SaveScreenshot(ide, file), rtl::Exception);
        GTEST_SKIP() << "this build draws no pictures";
    }
#ifdef KORVEL_HAVE_CAIRO
    // A green image whose left half is magenta.
    std::vector<uint32_t> pixels(16 * 16, 0x0000FF00u);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x) pixels[y * 16 + x] = 0x00FF00FFu;
    vcl::TBitmap bitmap;
    bitmap.SetHandle(CreateBitmap(16, 16, 1, 32, pixels.data()));
    vcl::TCustomImageList& images = ide.Services().ToolBars().Images();
    const int image = images.AddMasked(bitmap, vcl::clFuchsia);
    DeleteObject(bitmap.Handle());
    vcl::TToolBar* toolBar = ide.Services().ToolBars().Add(u"PictureBar", u"Picture");
    auto* button = new vcl::TToolButton(toolBar);
    button->SetName(u"GreenButton");
    button->SetImageIndex(image);
    button->SetParent(toolBar);

    const std::vector<host::DrawnArea> areas = host::SaveScreenshot(ide, file);
    const host::DrawnArea* drawn = FindArea(areas, u"PictureBar\\GreenButton");
    ASSERT_TRUE(drawn);
    ASSERT_TRUE(FindArea(areas, u"menu FileMenu")) << "the main menu bar is drawn";

    cairo_surface_t* png = cairo_image_surface_create_from_png(file.string().c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    const auto pixel = [&](int x, int y) {
        const unsigned char* row = cairo_image_surface_get_data(png) + y * cairo_image_surface_get_stride(png);
        return reinterpret_cast<const uint32_t*>(row)[x] & 0x00FFFFFFu;
    };
    const int imageLeft = drawn->left + (drawn->width - 16) / 2;
    const int imageTop = drawn->top + (drawn->height - 16) / 2;
    EXPECT_EQ(pixel(imageLeft + 12, imageTop + 8), 0x0000FF00u) << "the image's own colour";
    EXPECT_NE(pixel(imageLeft + 3, imageTop + 8), 0x00FF00FFu) << "magenta lets the toolbar through";
    const host::DrawnArea* bar = FindArea(areas, u"toolbar PictureBar");
    ASSERT_TRUE(bar);
    EXPECT_EQ(pixel(imageLeft + 3, imageTop + 8), pixel(bar->left + bar->width - 2, bar->top + 2))
        << "the toolbar's own face shows where the image is transparent";
    cairo_surface_destroy(png);
    std::filesystem::remove(file);
#endif
}

}  // namespace
