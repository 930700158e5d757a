// The drawing surface, image list and pop-up window the owner-drawn menu uses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>

#include "platform/forms/DrawingSurface.h"
#include "platform/forms/MenuWindow.h"

using namespace tolvenk::forms;

namespace {

struct Owner : MenuWindowOwner {
    std::vector<std::string> log;
    std::int16_t GetHilightedItem(float y) override {
        log.push_back("get " + std::to_string(static_cast<int>(y)));
        return 2;
    }
    void setHilightedItem(std::int16_t item) override { log.push_back("set " + std::to_string(item)); }
    void KillPopupMenus() override {}
    void UnloadMenu() override {}
};

}  // namespace

TEST(DrawingSurface, KeepsItsSizeAndDrawingThroughResizesAndCopiesWithoutBlending) {
    DrawingSurface s;
    s.setHeight(12);  // a side of 0 draws nothing but keeps the other side
    s.Print(0, 0, "x");
    EXPECT_TRUE(s.Image().isNull());
    s.setWidth(20);
    s.setBackColor(0x112233);
    s.Line(2, 5, 6, 5, 0x0000FF);
    s.setHeight(14);
    EXPECT_EQ(s.Point(6, 5), 0x0000FFu);  // both ends drawn, kept by the resize
    EXPECT_EQ(s.Point(7, 5), 0x112233u);
    EXPECT_EQ(s.Point(6, 13), 0x112233u);
    EXPECT_EQ(s.Point(20, 0), kNoColour);

    // Half the picture clear: painting keeps what is under it, copying does not.
    s.PaintPicture(Picture::fromArgb(2, 1, {0x00000000u, 0xFFFFFFFFu}), 2, 5);
    EXPECT_EQ(s.Point(2, 5), 0x0000FFu);
    EXPECT_EQ(s.Point(3, 5), 0xFFFFFFu);
    DrawingSurface cell;
    cell.setWidth(2);
    cell.setHeight(2);
    cell.setBackColor(0xABCDEF);
    s.CopyBlock(cell, 0, 0, 2, 2, 4, 4);
    EXPECT_EQ(s.Image().point(5, 5), 0xABCDEFu);
    EXPECT_EQ(s.Point(6, 5), 0x0000FFu);

    ImageList list;  // one size for every image
    list.Add(5, Picture::fromArgb(32, 32, std::vector<std::uint32_t>(32 * 32, 0xFF00FF00u)));
    ASSERT_NE(list.ListImage(5), nullptr);
    EXPECT_EQ(list.ListImage(5)->width(), 16);
    EXPECT_EQ(list.ListImage(5)->point(15, 15), 0x00FF00u);
    EXPECT_EQ(list.ListImage(6), nullptr);
}

TEST(MenuWindow, ShowsItsPictureWhereTwipsSayAndReportsThePointer) {
    MenuWindow w;
    Owner owner;
    w.XPMenuClass = &owner;
    w.setLeft(150);
    w.setTop(300);
    w.setWidth(30 * 15);
    w.setHeight(20 * 15);
    EXPECT_EQ(w.widget()->geometry(), QRect(10, 20, 30, 20));
    DrawingSurface s;
    s.setWidth(30);
    s.setHeight(20);
    s.setBackColor(0xF7F8F9);
    s.FillBox(0, 0, 9, 19, 0x6A240A);
    w.setPicture(s.Image());
    w.Tag = "XPMenu";
    w.Show();
    EXPECT_TRUE(w.Visible());
    ASSERT_EQ(MenuWindow::loadedWindows(), std::vector<MenuWindow*>{&w});
    const QImage shown = w.widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(9, 19), QColor(0x0A, 0x24, 0x6A));
    EXPECT_EQ(shown.pixelColor(10, 0), QColor(0xF9, 0xF8, 0xF7));

    auto move = [&](int y) {
        QMouseEvent e(QEvent::MouseMove, QPointF(5, y), QPointF(15, 20 + y), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w.widget(), &e);
    };
    move(7);  // hovering is off
    w.tmrHover.Enabled = true;
    move(8);
    EXPECT_EQ(owner.log, (std::vector<std::string>{"get 8", "set 2"}));

    w.Unload();
    EXPECT_FALSE(w.Visible());
    EXPECT_FALSE(w.widget()->isVisible());
    EXPECT_EQ(w.Tag, "");
    EXPECT_TRUE(w.Picture().isNull());
    EXPECT_EQ(w.XPMenuClass, &owner);
    EXPECT_TRUE(MenuWindow::loadedWindows().empty());
}
