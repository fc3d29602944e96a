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

}  // namespace vcl
