#include "host/IdeScreenshot.h"

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

#ifdef KORVEL_HAVE_CAIRO
#include <cairo.h>
#endif

namespace host {

#ifndef KORVEL_HAVE_CAIRO

bool ScreenshotAvailable() { return false; }

std::vector<DrawnArea> SaveScreenshot(sim::SimulatedIde&, const std::filesystem::path&) {
    throw rtl::EInvalidOperation(u"pictures of the IDE are not available in this build");
}

#else

namespace {

constexpr int PictureWidth = 1200;
constexpr int PictureHeight = 720;
constexpr int MenuBarHeight = 22;
constexpr vcl::TColor clBtnFace = 0x00F0F0F0;
constexpr vcl::TColor clBlack = 0x00000000;
constexpr vcl::TColor clWhite = 0x00FFFFFF;
constexpr vcl::TColor clGray = 0x00808080;

String WithoutAccelerator(const String& caption) {
    String text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size() && caption[i + 1] != u'&') continue;
        if (caption[i] == u'&') ++i;
        text += caption[i];
    }
    return text;
}

// A cairo image surface with the few strokes the IDE's controls need; it keeps a list of
// where each named piece went.
class Picture {
public:
    Picture()
        : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, PictureWidth, PictureHeight)),
          cairo_(cairo_create(surface_)) {
        cairo_select_font_face(cairo_, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cairo_, 12);
        Fill({u"", 0, 0, PictureWidth, PictureHeight}, clGray);
    }
    ~Picture() {
        cairo_destroy(cairo_);
        cairo_surface_destroy(surface_);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    void Fill(const DrawnArea& area, vcl::TColor colour) {
        SetColour(colour);
        cairo_rectangle(cairo_, area.left, area.top, area.width, area.height);
        cairo_fill(cairo_);
    }
    void Outline(const DrawnArea& area, vcl::TColor colour) {
        SetColour(colour);
        cairo_set_line_width(cairo_, 1);
        cairo_rectangle(cairo_, area.left + 0.5, area.top + 0.5, area.width - 1, area.height - 1);
        cairo_stroke(cairo_);
    }
    // Text on one line, its baseline a little above the bottom of `area`; returns its width.
    int Text(const DrawnArea& area, const String& text, vcl::TColor colour = clBlack) {
        const std::string utf8 = rtl::ToUtf8(text);
        cairo_text_extents_t extents;
        cairo_text_extents(cairo_, utf8.c_str(), &extents);
        cairo_save(cairo_);
        cairo_rectangle(cairo_, area.left, area.top, area.width, area.height);
        cairo_clip(cairo_);
        SetColour(colour);
        cairo_move_to(cairo_, area.left, area.top + area.height - (area.height - 9) / 2.0);
        cairo_show_text(cairo_, utf8.c_str());
        cairo_restore(cairo_);
        return static_cast<int>(extents.x_advance + 0.5);
    }
    // The image's pixels; transparent ones leave what is below.
    void Image(int left, int top, int width, int height, const std::vector<vcl::TColor>& pixels,
               const std::vector<bool>& transparent) {
        cairo_surface_flush(surface_);
        unsigned char* data = cairo_image_surface_get_data(surface_);
        const int stride = cairo_image_surface_get_stride(surface_);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const size_t at = static_cast<size_t>(y) * width + x;
                if (transparent[at] || left + x < 0 || top + y < 0 || left + x >= PictureWidth ||
                    top + y >= PictureHeight)
                    continue;
                const vcl::TColor colour = pixels[at];
                auto* pixel = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(top + y) * stride) + left + x;
                *pixel = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
            }
        cairo_surface_mark_dirty(surface_);
    }
    void Save(const std::filesystem::path& file) {
        cairo_surface_flush(surface_);
        const cairo_status_t status = cairo_surface_write_to_png(surface_, file.string().c_str());
        if (status != CAIRO_STATUS_SUCCESS)
            throw rtl::EInvalidOperation(u"cannot write " + rtl::FromUtf8(file.string()) + u": " +
                                         rtl::FromUtf8(cairo_status_to_string(status)));
    }

    void Place(DrawnArea area) { areas_.push_back(std::move(area)); }
    std::vector<DrawnArea> Areas() const { return areas_; }

private:
    void SetColour(vcl::TColor colour) {
        cairo_set_source_rgb(cairo_, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                             ((colour >> 16) & 0xFF) / 255.0);
    }

    cairo_surface_t* surface_;
    cairo_t* cairo_;
    std::vector<DrawnArea> areas_;
};

void DrawMenuBar(Picture& picture, const vcl::TMainMenu* menu) {
    picture.Fill({u"", 0, 0, PictureWidth, MenuBarHeight}, clBtnFace);
    if (!menu) return;
    int left = 6;
    const vcl::TMenuItem* items = menu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        const vcl::TMenuItem* item = items->Items(i);
        if (!item->Visible()) continue;
        DrawnArea area{u"menu " + item->Name(), left, 0, PictureWidth - left, MenuBarHeight};
        area.width = picture.Text(area, WithoutAccelerator(item->Caption())) + 12;
        picture.Place(area);
        left += area.width;
    }
}

void DrawToolBarControl(Picture& picture, const vcl::TToolBar& toolBar, const vcl::TControl& control,
                        const DrawnArea& area) {
    if (const auto* button = dynamic_cast<const vcl::TToolButton*>(&control)) {
        if (button->Style() != vcl::TToolButtonStyle::tbsButton) {
            picture.Fill({u"", area.left + area.width / 2, area.top + 2, 1, area.height - 4}, clGray);
            return;
        }
        if (button->Down()) picture.Fill(area, clWhite);
        picture.Outline(area, clGray);
        const vcl::TCustomImageList* images = toolBar.Images();
        if (images && button->ImageIndex() >= 0 && button->ImageIndex() < images->Count()) {
            const vcl::TImage& image = images->Images(button->ImageIndex());
            picture.Image(area.left + (area.width - images->Width()) / 2, area.top + (area.height - images->Height()) / 2,
                          images->Width(), images->Height(), image.pixels, image.transparent);
        } else {
            picture.Text({u"", area.left + 3, area.top, area.width - 6, area.height}, button->Caption());
        }
    } else if (const auto* comboBox = dynamic_cast<const vcl::TComboBox*>(&control)) {
        picture.Fill(area, clWhite);
        picture.Outline(area, clGray);
        picture.Text({u"", area.left + 3, area.top, area.width - 6, area.height}, comboBox->Text());
    } else {
        picture.Text(area, control.Caption());
    }
}

void DrawToolBars(Picture& picture, sim::ToolBarLayout& toolBars) {
    const int top = MenuBarHeight;
    for (const vcl::TToolBar* toolBar : toolBars.ToolBars()) {
        if (!toolBar->Visible()) continue;
        const DrawnArea bar{u"toolbar " + toolBar->Name(), toolBar->Left(), top + toolBar->Top(), toolBar->Width(),
                            toolBar->Height()};
        picture.Fill(bar, clBtnFace);
        picture.Place(bar);
        for (int i = 0; i < toolBar->ButtonCount(); ++i) {
            const vcl::TControl* control = toolBar->Buttons(i);
            if (!control->Visible()) continue;
            const DrawnArea area{toolBar->Name() + u"\\" + control->Name(), bar.left + control->Left(),
                                 bar.top + control->Top(), control->Width(), control->Height()};
            DrawToolBarControl(picture, *toolBar, *control, area);
            picture.Place(area);
        }
    }
}

}  // namespace

bool ScreenshotAvailable() { return true; }

std::vector<DrawnArea> SaveScreenshot(sim::SimulatedIde& ide, const std::filesystem::path& file) {
    Picture picture;
    DrawMenuBar(picture, ide.Services().GetMainMenu());
    DrawToolBars(picture, ide.Services().ToolBars());
    picture.Save(file);
    return picture.Areas();
}

#endif

}  // namespace host
