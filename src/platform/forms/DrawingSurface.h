#pragma once
#include <memory>
#include <string>

#include "platform/forms/Colour.h"
#include "platform/forms/Picture.h"

class QImage;

namespace tolvenk::forms {

// An off-screen picture box measured in pixels: a surface that keeps what is
// drawn on it, with the drawing operations of the classic windows. Fonts are
// measured and drawn at 96 dots per inch whatever the screen, so sizes are
// the same on every machine.
//
// "Marlett" is the system's symbol font, which this platform lacks; in it the
// surface draws the glyphs itself, each in a square cell of the font's pixel
// size: "4" is the right-pointing arrow of sub-menu items. Other characters
// take a blank cell.
class DrawingSurface {
public:
    DrawingSurface();
    ~DrawingSurface();
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Keeps what is drawn where it still fits; new area shows the back colour.
    void setWidth(int pixels);
    void setHeight(int pixels);

    Colour BackColor() const { return back_; }
    // Clears the surface, as a picture box does when its back colour is set.
    void setBackColor(Colour c);
    Colour ForeColor() const { return fore_; }
    void setForeColor(Colour c) { fore_ = c; }
    const std::string& FontName() const { return fontName_; }
    void setFontName(const std::string& name) { fontName_ = name; }
    double FontSize() const { return fontSize_; }
    void setFontSize(double points) { fontSize_ = points; }

    // Fills the whole surface with the back colour.
    void Cls();
    // In pixels, in the current font.
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;

    // Both end points are drawn.
    void Line(int x1, int y1, int x2, int y2, Colour c);
    // The outline of the box with corners (x1, y1) and (x2, y2), both included.
    void Box(int x1, int y1, int x2, int y2, Colour c);
    void FillBox(int x1, int y1, int x2, int y2, Colour c);
    // Writes text in the fore colour with the top left of its cell at (x, y).
    void Print(int x, int y, const std::string& text);
    // Draws a picture with its top left at (x, y), over what is there where it is clear.
    void PaintPicture(const Picture& picture, int x, int y);
    // Copies a block of another surface unchanged (no blending).
    void CopyBlock(const DrawingSurface& from, int fromX, int fromY, int width, int height, int toX, int toY);

    // The colour at a pixel; kNoColour outside.
    Colour Point(int x, int y) const;
    // What the surface shows now; later drawing does not change it.
    Picture Image() const;

private:
    void resize(int width, int height);
    bool marlett() const;
    int marlettCell() const;

    std::unique_ptr<QImage> image_;  // null while either side is 0
    int width_ = 0, height_ = 0;
    Colour back_ = 0xFFFFFF;
    Colour fore_ = 0x000000;
    std::string fontName_;
    double fontSize_ = 9;
};

}  // namespace tolvenk::forms
