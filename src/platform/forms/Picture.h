#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/forms/Colour.h"

class QImage;

namespace tolvenk::forms {

// An image handed between drawing surfaces, windows and image lists. Copies
// share the pixels, which never change once made.
class Picture {
public:
    Picture() = default;
    explicit Picture(const QImage& image);
    // width x height pixels given row by row as 0xAARRGGBB (alpha 0: clear).
    static Picture fromArgb(int width, int height, const std::vector<std::uint32_t>& pixels);

    bool isNull() const { return !image_; }
    int width() const;
    int height() const;
    // The colour at a pixel as the windows write colours; kNoColour outside.
    Colour point(int x, int y) const;
    // Alpha of a pixel, 0 (clear) to 255; 0 outside.
    int alpha(int x, int y) const;
    const QImage* image() const { return image_.get(); }

private:
    std::shared_ptr<const QImage> image_;
};

// What a point outside a picture reads, as the classic Point gives -1.
constexpr Colour kNoColour = 0xFFFFFFFFu;

// The icons of a menu: square images of one size, found by key.
class ImageList {
public:
    static constexpr int kImageSize = 16;

    // Keeps the image at the list's size; a second image under a key replaces the first.
    void Add(std::int32_t key, const Picture& image);
    // nullptr when the list holds no image under the key.
    const Picture* ListImage(std::int32_t key) const;
    int Count() const { return static_cast<int>(images_.size()); }

private:
    std::map<std::int32_t, Picture> images_;
};

}  // namespace tolvenk::forms
