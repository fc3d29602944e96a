#include "host/IdeScreenshot.h"

#include <algorithm>

#include "host/IdeStatePrinter.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ide/DockForm.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

#ifdef KORVEL_HAVE_CAIRO
#include <cairo.h>
#include <fontconfig/fontconfig.h>
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
        // The font caches go too: a picture is a rare event, and nothing is left behind.
        cairo_debug_reset_static_data();
        FcFini();
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

// Returns the bottom of the lowest toolbar.
int DrawToolBars(Picture& picture, sim::ToolBarLayout& toolBars) {
    const int top = MenuBarHeight;
    int bottom = top;
    for (const vcl::TToolBar* toolBar : toolBars.ToolBars()) {
        if (!toolBar->Visible()) continue;
        const DrawnArea bar{u"toolbar " + toolBar->Name(), toolBar->Left(), top + toolBar->Top(), toolBar->Width(),
                            toolBar->Height()};
        picture.Fill(bar, clBtnFace);
        picture.Place(bar);
        bottom = std::max(bottom, bar.top + bar.height);
        for (int i = 0; i < toolBar->ButtonCount(); ++i) {
            const vcl::TControl* control = toolBar->Buttons(i);
            if (!control->Visible()) continue;
            const DrawnArea area{toolBar->Name() + u"\\" + control->Name(), bar.left + control->Left(),
                                 bar.top + control->Top(), control->Width(), control->Height()};
            DrawToolBarControl(picture, *toolBar, *control, area);
            picture.Place(area);
        }
    }
    return bottom;
}

String WindowText(HWND window) {
    char16_t text[128] = {};
    GetWindowTextW(window, rtl::W(text), 128);
    return text;
}

// Each visible window inside `parent` as a labelled rectangle: a package's hosted windows.
void DrawHostedWindows(Picture& picture, HWND parent, const DrawnArea& inside, const String& owner) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT rect{};
        GetWindowRect(child, &rect);
        RECT origin{};
        GetWindowRect(parent, &origin);
        const DrawnArea area{owner + u"\\" + WindowText(child), inside.left + (rect.left - origin.left),
                             inside.top + (rect.top - origin.top), std::min<int>(rect.right - rect.left, inside.width),
                             std::min<int>(rect.bottom - rect.top, inside.height)};
        picture.Fill(area, 0x00FFF8F0);
        picture.Outline(area, 0x00C08040);
        picture.Text({u"", area.left + 6, area.top + 4, area.width - 12, 18}, u"package window \"" + WindowText(child) + u"\"");
        picture.Place(area);
    }
}

void DrawImage(Picture& picture, vcl::TCustomImageList& images, int index, int left, int top) {
    if (index < 0 || index >= images.Count()) return;
    const vcl::TImage& image = images.Images(index);
    picture.Image(left, top, images.Width(), images.Height(), image.pixels, image.transparent);
}

// The edit window: its tabs as the tab set paints them (image and overlay asked as a repaint
// asks), and the frame of package documents with their windows over the editor.
void DrawEditorArea(Picture& picture, sim::EditorArea& editors, int top) {
    vcl::TCustomForm* form = editors.EditWindowForm();
    if (!form || !form->Visible()) return;
    const DrawnArea window{u"edit window", 0, top, std::min(form->Width(), PictureWidth - 320), PictureHeight - top};
    picture.Fill(window, clWhite);
    picture.Place(window);
    int tabHeight = 0;
    if (sim::GradientTabSet* tabs = editors.TabSet()) {
        tabHeight = 24;
        picture.Fill({u"", window.left, top, window.width, tabHeight}, clBtnFace);
        int left = 2;
        for (int tab = 0; tab < tabs->Items().Count(); ++tab) {
            const int image = tabs->ImageIndexOf(tab);
            const int overlay = tabs->OverlayIndexOf(tab);
            DrawnArea area{u"tab " + tabs->Items().Strings(tab), left, top + 2, 200, tabHeight - 2};
            area.width = picture.Text({u"", 0, 0, 0, 0}, tabs->Items().Strings(tab)) + 34;
            picture.Fill(area, tab == tabs->TabIndex() ? clWhite : 0x00E0E0E0);
            picture.Outline(area, clGray);
            DrawImage(picture, tabs->Images(), image, area.left + 4, area.top + 3);
            DrawImage(picture, tabs->Images(), overlay, area.left + 8, area.top + 7);
            picture.Text({u"", area.left + 24, area.top, area.width - 26, area.height}, tabs->Items().Strings(tab));
            picture.Place(area);
            left += area.width + 2;
        }
    }
    auto* frame = FindByClassName(*form, u"TKorvelFrame");
    if (!frame || !frame->Visible() || !frame->HandleAllocated()) return;
    const DrawnArea documents{u"package documents", window.left, top + tabHeight, window.width,
                              std::min(frame->Height(), window.height - tabHeight)};
    picture.Outline(documents, 0x00C08040);
    picture.Place(documents);
    DrawHostedWindows(picture, frame->Handle(), documents, u"package documents");
}

// Docked tool windows stack in the dock site on the right; floating ones lie over the picture.
void DrawToolWindows(Picture& picture, int top) {
    int dockedTop = top;
    int floatingLeft = 360;
    for (ide::TDockableForm* form : ide::TDockableForm::Forms()) {
        if (!form->Visible()) continue;
        DrawnArea area{u"tool window " + form->DeskSection, 0, 0, std::min(form->Width(), 300), std::min(form->Height(), 220)};
        if (form->Floating()) {
            area.left = floatingLeft;
            area.top = top + 80;
            floatingLeft += 40;
        } else {
            area.left = PictureWidth - 310;
            area.top = dockedTop;
            dockedTop += area.height + 6;
        }
        picture.Fill(area, clBtnFace);
        picture.Outline(area, form->Floating() ? clBlack : clGray);
        const DrawnArea captionBar{u"", area.left + 1, area.top + 1, area.width - 2, 20};
        picture.Fill(captionBar, form->Active() ? 0x00A06030 : 0x00C0C0C0);
        int textLeft = captionBar.left + 4;
        if (vcl::TIcon* icon = form->Icon()) {
            const vcl::TIcon::Picture pixels = icon->Read();
            if (!pixels.pixels.empty()) {
                // The icon shrunk to the caption bar, every other pixel.
                std::vector<vcl::TColor> small;
                std::vector<bool> transparent;
                for (int y = 0; y < pixels.height; y += 2)
                    for (int x = 0; x < pixels.width; x += 2) {
                        small.push_back(pixels.pixels[static_cast<size_t>(y) * pixels.width + x]);
                        transparent.push_back(pixels.transparent[static_cast<size_t>(y) * pixels.width + x]);
                    }
                picture.Image(textLeft, captionBar.top + 2, (pixels.width + 1) / 2, (pixels.height + 1) / 2, small, transparent);
                textLeft += (pixels.width + 1) / 2 + 4;
            }
        }
        picture.Text({u"", textLeft, captionBar.top, captionBar.width - (textLeft - captionBar.left), captionBar.height},
                     form->Caption() + (form->Floating() ? u" (floating)" : u""), form->Active() ? clWhite : clBlack);
        picture.Place(area);
        if (form->HandleAllocated())
            DrawHostedWindows(picture, form->Handle(), {u"", area.left + 2, area.top + 22, area.width - 4, area.height - 24},
                              u"tool window " + form->DeskSection);
    }
}

}  // namespace

bool ScreenshotAvailable() { return true; }

std::vector<DrawnArea> SaveScreenshot(sim::SimulatedIde& ide, const std::filesystem::path& file) {
    Picture picture;
    DrawMenuBar(picture, ide.Services().GetMainMenu());
    const int belowToolBars = DrawToolBars(picture, ide.Services().ToolBars()) + 4;
    DrawEditorArea(picture, ide.Editors(), belowToolBars);
    DrawToolWindows(picture, belowToolBars);
    picture.Save(file);
    return picture.Areas();
}

#endif

}  // namespace host
