#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/forms/DrawingSurface.h"
#include "platform/forms/Picture.h"

class QWidget;

namespace tolvenk::forms {

class MenuWidget;

// What a menu window asks of the menu object that draws into it.
class MenuWindowOwner {
public:
    virtual ~MenuWindowOwner() = default;
    // The item under a pixel row of the window, 0 for none.
    virtual std::int16_t GetHilightedItem(float y) = 0;
    virtual void setHilightedItem(std::int16_t item) = 0;
    virtual void KillPopupMenus() = 0;
    virtual void UnloadMenu() = 0;
};

// The switch of one of the window's timers. The work the timers did by
// polling the pointer is done here on the window's own mouse events, so
// only the switch remains.
struct TimerSwitch {
    bool Enabled = false;
};

// A borderless pop-up window that shows the picture its menu object drew.
// Positions and sizes are in twips, 15 to a pixel; the picture boxes are in
// pixels. Unloading hides the window and returns Tag and Picture to their
// design state; the owner stays, as a form's own variables outlive an unload.
class MenuWindow {
public:
    MenuWindow();
    ~MenuWindow();
    MenuWindow(const MenuWindow&) = delete;
    MenuWindow& operator=(const MenuWindow&) = delete;

    MenuWindowOwner* XPMenuClass = nullptr;
    std::string Tag;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void setLeft(int twips);
    void setTop(int twips);
    void setWidth(int twips);
    void setHeight(int twips);

    const forms::Picture& Picture() const { return picture_; }
    void setPicture(const forms::Picture& picture);

    const std::string& FontName() const { return face_.FontName(); }
    void setFontName(const std::string& name) { face_.setFontName(name); }
    double FontSize() const { return face_.FontSize(); }
    void setFontSize(double points) { face_.setFontSize(points); }
    // In pixels, in the window's font.
    int TextWidth(const std::string& text) const { return face_.TextWidth(text); }

    void Show();
    void Unload();
    bool Loaded() const { return loaded_; }
    bool Visible() const { return loaded_; }

    DrawingSurface picPopup;       // measures the sub-menu arrow, in the arrow font
    DrawingSurface picMenuBuffer;  // where the menu is drawn
    DrawingSurface picIcon;        // one icon cell
    TimerSwitch tmrActive;
    TimerSwitch tmrHover;

    // The pointer moved over the window at pixel row y: while hovering is on,
    // the item under it becomes the highlighted one.
    void hoverAt(int y);

    // The menu windows loaded now, oldest first.
    static std::vector<MenuWindow*> loadedWindows();

    QWidget* widget() const;

private:
    void place();

    MenuWidget* widget_;
    DrawingSurface face_;
    forms::Picture picture_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool loaded_ = false;
};

}  // namespace tolvenk::forms
