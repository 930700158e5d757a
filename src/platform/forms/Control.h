#pragma once
#include <optional>
#include <string>

#include "platform/forms/Colour.h"

class QWidget;

namespace tolvenk::forms {

class Form;

// Positions and sizes are in twips, 15 to a pixel, as the windows are laid out.
constexpr int kTwipsPerPixel = 15;

// Base of every control: geometry, Enabled and Visible, kept in C++ so a
// window can be driven and read without an event loop, and mirrored to Qt.
// A control returns to its design state (as built) when its form unloads.
class Control {
public:
    Control(Form& form, QWidget* widget);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int Left() const { return geo_.left; }
    int Top() const { return geo_.top; }
    int Width() const { return geo_.width; }
    int Height() const { return geo_.height; }
    void setLeft(int v) { Move(v, geo_.top, geo_.width, geo_.height); }
    void setTop(int v) { Move(geo_.left, v, geo_.width, geo_.height); }
    void setWidth(int v) { Move(geo_.left, geo_.top, v, geo_.height); }
    void setHeight(int v) { Move(geo_.left, geo_.top, geo_.width, v); }
    void Move(int left, int top, int width, int height);

    bool Enabled() const { return enabled_; }
    void setEnabled(bool v);
    bool Visible() const { return visible_; }
    void setVisible(bool v);
    // The colour behind the control's content; what Qt shows until one is set.
    Colour BackColor() const;
    void setBackColor(Colour c);
    // Repaints at once, for windows that show progress inside a long handler.
    virtual void Refresh();
    void SetFocus();
    // Brings the control in front of the others in its container.
    void ZOrder();

    // Control-array index, -1 for a single control.
    int Index = -1;

    QWidget* widget() const { return widget_; }
    // Puts the control inside a container (a frame); geometry is then relative to it.
    void setContainer(Control& container);

    // The width, in twips, that the control's caption needs in its font; 0
    // for a control without one.
    int CaptionWidth() const;
    // Widens the control to its caption's width: into free space to its
    // right (moving the controls beside it along into the gaps of its row),
    // then to its left. Only when there is no room anywhere does the caption
    // get a smaller font, rather than be cut off.
    void fitCaption();

    // Called by the form: remember the state as built / go back to it.
    void saveDesign();
    void restoreDesign();

protected:
    virtual void saveOwnDesign() {}
    virtual void restoreOwnDesign() {}
    // The palette role (QPalette::ColorRole) the back colour paints.
    virtual int backRole() const;
    // Pixels the caption needs in the widget's current font; 0 for none.
    virtual int captionPixels() const { return 0; }
    // Fits the caption when the window is up; called by captioned controls
    // after their caption changed.
    void captionChanged();

private:
    void shiftRowRight(int pixels);
    struct Geometry {
        int left = 0, top = 0, width = 1200, height = 375;
    };
    Form& form_;
    QWidget* widget_;
    Geometry geo_;
    int fontPercent_ = 100;  // below 100 only when the caption had no room
    bool enabled_ = true;
    bool visible_ = true;
    Geometry designGeo_;
    bool designEnabled_ = true;
    bool designVisible_ = true;
    bool designFill_ = false;
    std::optional<Colour> back_, designBack_;
};

}  // namespace tolvenk::forms
