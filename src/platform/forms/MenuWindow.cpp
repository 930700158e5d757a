#include "platform/forms/MenuWindow.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

#include "platform/forms/Control.h"
#include "platform/services/Application.h"

namespace tolvenk::forms {

namespace {
std::vector<MenuWindow*>& loaded() {
    static std::vector<MenuWindow*> windows;
    return windows;
}
}  // namespace

// The Qt side: shows the picture pixel for pixel and reports the pointer.
class MenuWidget : public QWidget {
public:
    explicit MenuWidget(MenuWindow& window)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), window_(window) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (const QImage* img = window_.Picture().image()) {
            QPainter p(this);
            p.drawImage(0, 0, *img);
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override { window_.hoverAt(static_cast<int>(e->position().y())); }

private:
    MenuWindow& window_;
};

MenuWindow::MenuWindow() {
    platform::ensureApplication();
    widget_ = new MenuWidget(*this);
    picPopup.setFontName("Marlett");
    picPopup.setFontSize(10);
}

MenuWindow::~MenuWindow() {
    auto& w = loaded();
    w.erase(std::remove(w.begin(), w.end(), this), w.end());
    delete widget_;
}

QWidget* MenuWindow::widget() const { return widget_; }

void MenuWindow::setLeft(int twips) {
    left_ = twips;
    place();
}
void MenuWindow::setTop(int twips) {
    top_ = twips;
    place();
}
void MenuWindow::setWidth(int twips) {
    width_ = std::max(0, twips);
    place();
}
void MenuWindow::setHeight(int twips) {
    height_ = std::max(0, twips);
    place();
}

void MenuWindow::place() {
    widget_->setGeometry(left_ / kTwipsPerPixel, top_ / kTwipsPerPixel, std::max(1, width_ / kTwipsPerPixel),
                         std::max(1, height_ / kTwipsPerPixel));
}

void MenuWindow::setPicture(const forms::Picture& picture) {
    picture_ = picture;
    widget_->update();
}

void MenuWindow::Show() {
    if (!loaded_) loaded().push_back(this);
    loaded_ = true;
    widget_->show();
}

void MenuWindow::Unload() {
    widget_->hide();
    if (loaded_) {
        auto& w = loaded();
        w.erase(std::remove(w.begin(), w.end(), this), w.end());
    }
    loaded_ = false;
    Tag.clear();
    picture_ = {};
}

void MenuWindow::hoverAt(int y) {
    if (!tmrHover.Enabled || !XPMenuClass) return;
    XPMenuClass->setHilightedItem(XPMenuClass->GetHilightedItem(static_cast<float>(y)));
}

std::vector<MenuWindow*> MenuWindow::loadedWindows() { return loaded(); }

}  // namespace tolvenk::forms
