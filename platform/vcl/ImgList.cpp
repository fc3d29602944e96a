#include "platform/vcl/ImgList.h"

namespace vcl {

const TImage& TCustomImageList::Images(int index) const {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    return images_[static_cast<size_t>(index)];
}

std::vector<TImage> TCustomImageList::Split(const TBitmap& bitmap, TColor maskColor) const {
    const std::vector<TColor> pixels = bitmap.Pixels();
    const int bitmapWidth = bitmap.Width();
    if (bitmap.Height() != height_ || bitmapWidth < width_ || bitmapWidth % width_ != 0)
        throw rtl::EInvalidOperation(u"Invalid image size");
    std::vector<TImage> images;
    images.reserve(static_cast<size_t>(bitmapWidth / width_));
    for (int left = 0; left < bitmapWidth; left += width_) {
        TImage image;
        image.pixels.reserve(static_cast<size_t>(width_) * height_);
        image.transparent.reserve(static_cast<size_t>(width_) * height_);
        for (int y = 0; y < height_; ++y)
            for (int x = left; x < left + width_; ++x) {
                const TColor colour = pixels[static_cast<size_t>(y) * bitmapWidth + x];
                image.pixels.push_back(colour);
                image.transparent.push_back(colour == maskColor);
            }
        images.push_back(std::move(image));
    }
    return images;
}

int TCustomImageList::AddMasked(const TBitmap& bitmap, TColor maskColor) {
    std::vector<TImage> added = Split(bitmap, maskColor);
    const int first = Count();
    for (TImage& image : added) images_.push_back(std::move(image));
    return first;
}

void TCustomImageList::ReplaceMasked(int index, const TBitmap& bitmap, TColor maskColor) {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    images_[static_cast<size_t>(index)] = std::move(Split(bitmap, maskColor).front());
}

}  // namespace vcl
