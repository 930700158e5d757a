#include "platform/forms/DrawingSurface.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

#include "platform/db/AsciiCase.h"
#include "platform/services/Application.h"

namespace tolvenk::forms {

namespace {

constexpr int kDotsPerMeter = 3780;  // 96 dots per inch

QImage blank(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    QImage img(width, height, QImage::Format_RGB32);
    img.setDotsPerMeterX(kDotsPerMeter);
    img.setDotsPerMeterY(kDotsPerMeter);
    return img;
}

// Fonts are measured against a 96-dpi device, the one they are drawn on.
const QImage& metricDevice() {
    static const QImage device = blank(1, 1);
    return device;
}

QFont fontOf(const std::string& name, double points) {
    QFont f;
    if (!name.empty()) f.setFamily(QString::fromStdString(name));
    f.setPointSizeF(points > 0 ? points : 9);
    return f;
}

QRect boxOf(int x1, int y1, int x2, int y2) {
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)));
}

}  // namespace

DrawingSurface::DrawingSurface() : image_(std::make_unique<QImage>()) { platform::ensureApplication(); }

DrawingSurface::~DrawingSurface() = default;

void DrawingSurface::setWidth(int pixels) { resize(pixels, height_); }
void DrawingSurface::setHeight(int pixels) { resize(width_, pixels); }

void DrawingSurface::resize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    QImage next = blank(width_, height_);
    if (!next.isNull()) {
        next.fill(toQColor(back_));
        if (!image_->isNull()) {
            QPainter p(&next);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, *image_);
        }
    }
    *image_ = next;
}

void DrawingSurface::setBackColor(Colour c) {
    back_ = c;
    Cls();
}

void DrawingSurface::Cls() {
    if (!image_->isNull()) image_->fill(toQColor(back_));
}

bool DrawingSurface::marlett() const { return equalsNoCase(fontName_, "Marlett"); }

int DrawingSurface::marlettCell() const { return std::max(1, qRound(fontSize_ * 96.0 / 72.0)); }

int DrawingSurface::TextWidth(const std::string& text) const {
    const QString s = QString::fromStdString(text);
    if (marlett()) return static_cast<int>(s.size()) * marlettCell();
    return QFontMetrics(fontOf(fontName_, fontSize_), &metricDevice()).horizontalAdvance(s);
}

int DrawingSurface::TextHeight(const std::string& text) const {
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    if (marlett()) return lines * marlettCell();
    return lines * QFontMetrics(fontOf(fontName_, fontSize_), &metricDevice()).height();
}

void DrawingSurface::Line(int x1, int y1, int x2, int y2, Colour c) {
    if (image_->isNull()) return;
    if (x1 == x2 || y1 == y2) {
        FillBox(x1, y1, x2, y2, c);
        return;
    }
    QPainter p(image_.get());
    p.setPen(QPen(toQColor(c), 0));
    p.drawLine(x1, y1, x2, y2);
    p.drawPoint(x2, y2);
}

void DrawingSurface::Box(int x1, int y1, int x2, int y2, Colour c) {
    const QRect r = boxOf(x1, y1, x2, y2);
    FillBox(r.left(), r.top(), r.right(), r.top(), c);
    FillBox(r.left(), r.bottom(), r.right(), r.bottom(), c);
    FillBox(r.left(), r.top(), r.left(), r.bottom(), c);
    FillBox(r.right(), r.top(), r.right(), r.bottom(), c);
}

void DrawingSurface::FillBox(int x1, int y1, int x2, int y2, Colour c) {
    if (image_->isNull()) return;
    QPainter p(image_.get());
    p.fillRect(boxOf(x1, y1, x2, y2), toQColor(c));
}

void DrawingSurface::Print(int x, int y, const std::string& text) {
    if (image_->isNull() || text.empty()) return;
    QPainter p(image_.get());
    if (!marlett()) {
        const QFont f = fontOf(fontName_, fontSize_);
        p.setFont(f);
        p.setPen(toQColor(fore_));
        p.drawText(QPoint(x, y + QFontMetrics(f, image_.get()).ascent()), QString::fromStdString(text));
        return;
    }
    // The arrow is a solid triangle, about half the cell high, centred in it.
    const int cell = marlettCell();
    const int h = (cell / 2) | 1;
    const int w = (h + 1) / 2;
    const QString s = QString::fromStdString(text);
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] != QLatin1Char('4')) continue;
        const int left = x + i * cell + (cell - w) / 2;
        const int top = y + (cell - h) / 2;
        for (int col = 0; col < w; ++col)
            p.fillRect(QRect(QPoint(left + col, top + col), QPoint(left + col, top + h - 1 - col)), toQColor(fore_));
    }
}

void DrawingSurface::PaintPicture(const Picture& picture, int x, int y) {
    if (image_->isNull() || picture.isNull()) return;
    QPainter p(image_.get());
    p.drawImage(x, y, *picture.image());
}

void DrawingSurface::CopyBlock(const DrawingSurface& from, int fromX, int fromY, int width, int height, int toX,
                               int toY) {
    if (image_->isNull() || from.image_->isNull() || width <= 0 || height <= 0) return;
    QPainter p(image_.get());
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(toX, toY, *from.image_, fromX, fromY, width, height);
}

Colour DrawingSurface::Point(int x, int y) const {
    if (!image_->valid(x, y)) return kNoColour;
    return fromQColor(QColor::fromRgb(image_->pixel(x, y)));
}

Picture DrawingSurface::Image() const { return Picture(*image_); }

}  // namespace tolvenk::forms
