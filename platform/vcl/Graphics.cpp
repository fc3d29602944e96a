#include "platform/vcl/Graphics.h"

namespace vcl {

BITMAP TBitmap::Info() const {
    BITMAP info{};
    if (!handle_ || GetObjectW(handle_, sizeof(info), &info) != sizeof(info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        throw EInvalidGraphic(u"Bitmap image is not valid");
    return info;
}

int TBitmap::Width() const { return Info().bmWidth; }
int TBitmap::Height() const { return Info().bmHeight; }

std::vector<TColor> TBitmap::Pixels() const {
    const BITMAP info = Info();
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;  // top-down
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> rows(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = GetDC(nullptr);
    const int copied = GetDIBits(screen, handle_, 0, static_cast<UINT>(info.bmHeight), rows.data(), &request,
                                 DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (copied != info.bmHeight) throw EInvalidGraphic(u"Bitmap image is not valid");
    std::vector<TColor> colours;
    colours.reserve(rows.size());
    // The platform hands out 0x00RRGGBB; the library speaks 0x00BBGGRR.
    for (uint32_t pixel : rows)
        colours.push_back(((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF));
    return colours;
}

TColor TBitmap::TransparentColor() const {
    const std::vector<TColor> pixels = Pixels();
    return pixels[static_cast<size_t>(Height() - 1) * Width()];
}

HBITMAP CreateColourBitmap(int width, int height, const std::vector<TColor>& pixels) {
    std::vector<uint32_t> rows;
    rows.reserve(pixels.size());
    for (TColor colour : pixels)
        rows.push_back(((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF));
    HBITMAP bitmap = CreateBitmap(width, height, 1, 32, rows.data());
    if (!bitmap) throw EInvalidGraphic(u"Out of system resources");
    return bitmap;
}

HBITMAP CreateMonochromeBitmap(int width, int height, const std::vector<bool>& white) {
    // Rows are padded to 16 bits; the leftmost pixel is the highest bit.
    const size_t stride = ((static_cast<size_t>(width) + 15) / 16) * 2;
    std::vector<BYTE> rows(stride * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (white[static_cast<size_t>(y) * width + x]) rows[y * stride + x / 8] |= 0x80 >> (x % 8);
    HBITMAP bitmap = CreateBitmap(width, height, 1, 1, rows.data());
    if (!bitmap) throw EInvalidGraphic(u"Out of system resources");
    return bitmap;
}

TIcon::~TIcon() {
    if (handle_) DestroyIcon(handle_);
}

HICON TIcon::ReleaseHandle() {
    HICON handle = handle_;
    handle_ = nullptr;
    return handle;
}

TIcon::Picture TIcon::Read() const {
    Picture picture;
    ICONINFO info{};
    if (!handle_ || !GetIconInfo(handle_, &info)) return picture;
    TBitmap mask;
    mask.SetHandle(info.hbmMask);
    TBitmap colour;
    colour.SetHandle(info.hbmColor);
    try {
        picture.width = colour.Width();
        picture.height = colour.Height();
        picture.pixels = colour.Pixels();
        for (TColor bit : mask.Pixels()) picture.transparent.push_back(bit != 0);
    } catch (const EInvalidGraphic&) {
        picture = Picture{};
    }
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return picture;
}

}  // namespace vcl
