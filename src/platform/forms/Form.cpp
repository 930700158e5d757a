#include "platform/forms/Dispatch.h"
#include "platform/forms/Form.h"

#include <QCloseEvent>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QPalette>

#include "platform/db/Activation.h"
#include "platform/forms/Control.h"
#include "platform/services/Application.h"

namespace tolvenk::forms {

// The Qt side of a form: passes window events to the form's handlers.
class FormDialog : public QDialog {
public:
    explicit FormDialog(Form& form) : form_(form) {}

    // Esc does not close a window of the module; only its own buttons do.
    void reject() override {}

protected:
    void resizeEvent(QResizeEvent* e) override {
        QDialog::resizeEvent(e);
        dispatch([&] { form_.resized(); });
    }
    void closeEvent(QCloseEvent* e) override {
        bool close = true;
        dispatch([&] { close = form_.closeRequested(); });
        if (close) e->accept();
        else e->ignore();
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::WindowActivate) dispatch([&] { form_.activated(); });
        else if (e->type() == QEvent::WindowDeactivate) active_ = false;
        return QDialog::event(e);
    }

public:
    bool active_ = false;

private:
    Form& form_;
};

Form::Form() {
    platform::ensureApplication();
    dialog_ = new FormDialog(*this);
    dialog_->setModal(true);
    dialog_->resize(4800 / kTwipsPerPixel, 3600 / kTwipsPerPixel);
}

Form::~Form() { delete dialog_; }

QWidget* Form::widget() const { return dialog_; }

void Form::registerControl(Control* c) { controls_.push_back(c); }

void Form::setCaption(const std::string& c) {
    caption_ = c;
    dialog_->setWindowTitle(QString::fromStdString(c));
}

int Form::Left() const { return dialog_->x() * kTwipsPerPixel; }
int Form::Top() const { return dialog_->y() * kTwipsPerPixel; }
int Form::Width() const { return dialog_->width() * kTwipsPerPixel; }
int Form::Height() const { return dialog_->height() * kTwipsPerPixel; }
int Form::ScaleWidth() const { return dialog_->contentsRect().width() * kTwipsPerPixel; }
int Form::ScaleHeight() const { return dialog_->contentsRect().height() * kTwipsPerPixel; }

// Sizes round up to whole pixels, so a window is never smaller than asked
// (the minimum-size rule compares the size read back with its limit).
namespace {
int pixelsUp(int twips) { return (twips + kTwipsPerPixel - 1) / kTwipsPerPixel; }
}  // namespace

void Form::setWidth(int twips) { dialog_->resize(pixelsUp(twips), dialog_->height()); }
void Form::setHeight(int twips) { dialog_->resize(dialog_->width(), pixelsUp(twips)); }

void Form::Move(int left, int top, int width, int height) {
    dialog_->move(left / kTwipsPerPixel, top / kTwipsPerPixel);
    dialog_->resize(pixelsUp(width), pixelsUp(height));
}

Colour Form::BackColor() const { return fromQColor(dialog_->palette().color(QPalette::Window)); }

void Form::setBackColor(Colour c) {
    QPalette p = dialog_->palette();
    p.setColor(QPalette::Window, toQColor(c));
    dialog_->setPalette(p);
    dialog_->setAutoFillBackground(true);
}

void Form::Refresh() { dialog_->repaint(); }

void Form::Load() {
    if (loaded_) return;
    if (!designSaved_) {
        for (Control* c : controls_) c->saveDesign();
        designSaved_ = true;
    }
    loaded_ = true;
    try {
        Form_Load();
    } catch (...) {
        // A window whose load failed is not loaded.
        loaded_ = false;
        dialog_->hide();
        for (Control* c : controls_) c->restoreDesign();
        throw;
    }
}

void Form::Show() {
    Load();
    if (!loaded_ || showing_) return;  // unloaded by its own load handler, or already up
    showing_ = true;
    dialog_->show();
    dialog_->active_ = true;
    db::noteWindowActivated();
    try {
        Form_Activate();
    } catch (...) {
        // The window stays loaded but must be showable again next time.
        endShow();
        throw;
    }
    if (loaded_ && showing_) {
        inExec_ = true;
        dialog_->exec();
        inExec_ = false;
    }
    showing_ = false;
}

void Form::endShow() {
    if (inExec_) dialog_->done(0);
    else dialog_->hide();
    showing_ = false;
}

bool Form::Unload() {
    if (!loaded_) return true;
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel != 0) return false;
    loaded_ = false;
    endShow();
    for (Control* c : controls_) c->restoreDesign();
    return true;
}

void Form::Hide() { endShow(); }

void Form::resized() {
    if (inResize_ || !loaded_) return;
    inResize_ = true;
    Form_Resize();
    fitCaptions();
    inResize_ = false;
}

void Form::activated() {
    if (dialog_->active_ || !loaded_) return;
    dialog_->active_ = true;
    db::noteWindowActivated();
    Form_Activate();
}

bool Form::closeRequested() {
    if (!loaded_) return true;
    return Unload();
}

}  // namespace tolvenk::forms
