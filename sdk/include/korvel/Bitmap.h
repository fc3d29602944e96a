// A bitmap for a menu item, a toolbar button, a tool window's icon or a document's tab.
//
// Who owns a handle handed over: AddMenuItem, InsertMenuItem, IBdsToolBarButton::SetImage,
// IBdsDockableWindow::SetIcon and the answer to IBdsWindowEvents::RequestIcon consume it: the
// loader copies the picture into its image list (magenta, 0x00FF00FF, shows as transparent)
// and deletes the handle. Once such a call succeeded, the handle is gone: call HandedOver and
// never use it again. A call that failed, and AddMenuItem or InsertMenuItem naming an item
// that is there already (which changes nothing), leave it to the package. The splash screen
// (AddSplashInfo) and the About box (AddAboutBoxInfo) only borrow theirs: the package deletes
// those when it likes, after the call.
#pragma once

#include <cstddef>
#include <cstdint>

#include "korvel/BdsInterop.h"

namespace korvel::sdk {

// The package's until HandOver; deleted with the object otherwise.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(Bitmap&& other) noexcept : bitmap_(other.bitmap_) { other.bitmap_ = nullptr; }
    Bitmap& operator=(Bitmap&& other) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    ~Bitmap() { Delete(); }

    // Rows from the top, 0x00RRGGBB each.
    static Bitmap FromPixels(int width, int height, const uint32_t* pixels);
    // A square of one colour; with a margin, on magenta, which the loader shows as transparent.
    static Bitmap Square(int side, uint32_t colour, int margin = 0);
    // The bytes of a .bmp file, or of a bitmap resource (the same without the file's first 14
    // bytes): uncompressed, 24 or 32 bits a pixel. Empty when they are none of these.
    static Bitmap FromDib(const void* bytes, size_t size);
#ifdef _WIN32
    // A BITMAP resource of the package's library (GetModuleHandleExW finds the library).
    static Bitmap FromResource(HMODULE library, LPCWSTR name);
#endif

    HBITMAP Get() const { return bitmap_; }
    bool Empty() const { return bitmap_ == nullptr; }
    // The handle as the loader's image methods take it: 32 bits on every platform.
    Integer AsInteger() const;
    // The loader took the handle and deletes it; this object lets go of it.
    void HandedOver() { bitmap_ = nullptr; }
    void Delete();

private:
    explicit Bitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
    HBITMAP bitmap_ = nullptr;
};

}  // namespace korvel::sdk
