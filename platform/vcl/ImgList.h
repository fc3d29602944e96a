// Image lists: images of one size, each with a mask of its transparent pixels.
#pragma once

#include <vector>

#include "platform/vcl/Graphics.h"

namespace vcl {

struct TImage {
    std::vector<TColor> pixels;
    std::vector<bool> transparent;
};

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* owner, int width = 16, int height = 16)
        : TComponent(owner), width_(width), height_(height) {}
    KORVEL_VCL_CLASS(TCustomImageList)

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }
    const TImage& Images(int index) const;

    // Appends the bitmap, split into images of the list's width; pixels of the mask colour
    // become transparent. Returns the index of the first image added.
    int AddMasked(const TBitmap& bitmap, TColor maskColor);
    // Overwrites the image at `index` with the bitmap's first image.
    void ReplaceMasked(int index, const TBitmap& bitmap, TColor maskColor);

private:
    std::vector<TImage> Split(const TBitmap& bitmap, TColor maskColor) const;

    int width_;
    int height_;
    std::vector<TImage> images_;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
    KORVEL_VCL_CLASS(TImageList)
};

}  // namespace vcl
