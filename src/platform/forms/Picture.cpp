#include "platform/forms/Picture.h"

#include <QImage>

namespace tolvenk::forms {

Picture::Picture(const QImage& image)
    : image_(image.isNull() ? nullptr : std::make_shared<const QImage>(image.convertToFormat(QImage::Format_ARGB32))) {}

Picture Picture::fromArgb(int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0) return {};
    QImage img(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
            img.setPixel(x, y, i < pixels.size() ? pixels[i] : 0u);
        }
    return Picture(img);
}

int Picture::width() const { return image_ ? image_->width() : 0; }
int Picture::height() const { return image_ ? image_->height() : 0; }

Colour Picture::point(int x, int y) const {
    if (!image_ || !image_->valid(x, y)) return kNoColour;
    return fromQColor(QColor::fromRgb(image_->pixel(x, y)));
}

int Picture::alpha(int x, int y) const {
    if (!image_ || !image_->valid(x, y)) return 0;
    return qAlpha(image_->pixel(x, y));
}

void ImageList::Add(std::int32_t key, const Picture& image) {
    if (image.isNull()) {
        images_.erase(key);
        return;
    }
    if (image.width() == kImageSize && image.height() == kImageSize) images_[key] = image;
    else images_[key] = Picture(image.image()->scaled(kImageSize, kImageSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

const Picture* ImageList::ListImage(std::int32_t key) const {
    const auto it = images_.find(key);
    return it == images_.end() ? nullptr : &it->second;
}

}  // namespace tolvenk::forms
