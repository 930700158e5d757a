#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Colour.h"

class QDialog;
class QWidget;

namespace tolvenk::forms {

class Control;
class FormDialog;

// A window of the module: a modal dialog with its controls as members and its
// handlers as virtual methods. Load runs Form_Load; Show(modal) blocks until
// the window is unloaded or hidden. Unload brings the controls back to their
// design state, so the next Load starts as the window was built.
class Form {
public:
    Form();
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::string Caption() const { return caption_; }
    void setCaption(const std::string& c);

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void setWidth(int twips);
    void setHeight(int twips);
    void Move(int left, int top, int width, int height);
    // The client area, in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;

    Colour BackColor() const;
    void setBackColor(Colour c);
    // Repaints the window and its controls at once.
    void Refresh();

    bool Loaded() const { return loaded_; }
    // Runs Form_Load once per loading.
    void Load();
    // Loads if needed and shows the window modally, without owner.
    void Show();
    // Runs Form_Unload; unless cancelled, ends the modal loop and unloads.
    // Safe from inside any handler of the window itself.
    bool Unload();
    // Ends the modal loop, leaving the window loaded.
    void Hide();
    bool Showing() const { return showing_; }

    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_Unload(int& Cancel) { (void)Cancel; }

    const std::vector<Control*>& Controls() const { return controls_; }
    // Widens every control whose caption does not fit (after each resize,
    // the first coming as the window shows, when the controls have their places).
    void fitCaptions();
    QWidget* widget() const;
    void registerControl(Control* c);

private:
    friend class FormDialog;
    void resized();
    void activated();
    bool closeRequested();
    void endShow();

    FormDialog* dialog_;
    std::vector<Control*> controls_;
    std::string caption_;
    bool loaded_ = false;
    bool designSaved_ = false;
    bool showing_ = false;
    bool inExec_ = false;
    bool inResize_ = false;
};

}  // namespace tolvenk::forms
