#include "platform/vcl/ImgList.h"

namespace vcl {

const TImage& TCustomImageList::Images(int index) const {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    return images_[static_cast<size_t>(index)];
}

int TCustomImageList::AddMasked(const TBitmap& bitmap, TColor maskColor) {
    const std::vector<TColor> pixels = bitmap.Pixels();
    const int bitmapWidth = bitmap.Width();
    if (bitmap.Height() != height_ || bitmapWidth < width_ || bitmapWidth % width_ != 0)
        throw rtl::EInvalidOperation(u"Invalid image size");
    const int first = Count();
    for (int left = 0; left < bitmapWidth; left += width_) {
        TImage image;
        for (int y = 0; y < height_; ++y)
            for (int x = left; x < left + width_; ++x) {
                const TColor colour = pixels[static_cast<size_t>(y) * bitmapWidth + x];
                image.pixels.push_back(colour);
                image.transparent.push_back(colour == maskColor);
            }
        images_.push_back(std::move(image));
    }
    return first;
}

}  // namespace vcl
