// The owner-drawn menu, read back from the picture its window shows.
#include <gtest/gtest.h>

#include <memory>

#include "ui/clsXPMenu.h"

using namespace tolvenk;
using forms::Colour;

namespace {

constexpr Colour kBack = 0xF7F8F9, kFrame = 0x666666, kBand = 0xD1D8D8, kFill = 0xD2BDB6, kBorder = 0x6A240A,
                 kRed = 0x0000FF, kBlack = 0x000000;

// A red 16 x 16 icon whose top left 4 x 4 corner is clear.
std::shared_ptr<forms::ImageList> icons() {
    std::vector<std::uint32_t> px(16 * 16, 0xFFFF0000u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) px[static_cast<std::size_t>(y * 16 + x)] = 0;
    auto list = std::make_shared<forms::ImageList>();
    list->Add(1, forms::Picture::fromArgb(16, 16, px));
    return list;
}

class XPMenu : public ::testing::Test {
protected:
    void SetUp() override {
        sub->Init("Sub", nullptr);
        sub->AddItem(10, "Excel", 0, 0);
        menu.Init("Main", icons());
        menu.AddItem(1, "Open", 0, 0);
        menu.AddItem(0, "", 0, 1);
        menu.AddItem(2, "Export", 1, 0, sub);
        menu.AddItem(3, "Exit", 0, 0);  // no icon 3 in the list
        th = menu.Window().picMenuBuffer.TextHeight("gW");
        y2 = 3 + th + 8;
        y3 = y2 + 9;
        y4 = y3 + th + 8;
    }
    void TearDown() override { menu.KillAllMenus(); }
    Colour at(int x, int y) { return menu.Window().Picture().point(x, y); }
    // Pixels of a box that are not of the colour under them.
    int inked(int x1, int y1, int x2, int y2, Colour under = kBack) {
        int n = 0;
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x) n += at(x, y) != under;
        return n;
    }
    std::shared_ptr<clsXPMenu> sub = std::make_shared<clsXPMenu>();
    clsXPMenu menu;
    int th = 0, y2 = 0, y3 = 0, y4 = 0;
};

}  // namespace

TEST_F(XPMenu, SizesAndItemsFollowTheCaptions) {
    ASSERT_GT(th, 0);
    const int arrow = 13;  // Marlett 10 pt at 96 dpi: a 13-pixel cell
    EXPECT_EQ(menu.Window().picPopup.TextWidth("4"), arrow);
    const int w = std::max({menu.Window().TextWidth("Open") + 43, menu.Window().TextWidth("Export") + 43 + 8 + arrow,
                            menu.Window().TextWidth("Exit") + 43});
    EXPECT_EQ(menu.GetHeight(), 3 + 3 * (th + 8) + 9 + 4);
    menu.ShowMenu(100, 50);
    EXPECT_TRUE(menu.IsVisible());
    EXPECT_EQ(menu.Window().Tag, "XPMenu");
    EXPECT_TRUE(menu.Window().tmrHover.Enabled && menu.Window().tmrActive.Enabled);
    EXPECT_EQ(menu.Window().Left(), 1500);
    EXPECT_EQ(menu.Window().Top(), 750);
    EXPECT_EQ(menu.Window().Width(), w * 15);
    EXPECT_EQ(menu.Window().Height(), menu.GetHeight() * 15);
    EXPECT_EQ(menu.Window().Picture().width(), w);

    EXPECT_EQ(menu.GetMenuName(), "Main");
    EXPECT_EQ(menu.GetItemText(3), "Export");
    EXPECT_EQ(menu.GetItemText(5), "");
    EXPECT_TRUE(menu.IsTextItem(1));
    EXPECT_FALSE(menu.IsTextItem(2));  // separator
    EXPECT_FALSE(menu.IsTextItem(3));  // sub-menu
    // Rows from y = 3, both bounds inside, the first item winning a shared bound.
    EXPECT_EQ(menu.GetHilightedItem(2.9f), 0);
    EXPECT_EQ(menu.GetHilightedItem(3), 1);
    EXPECT_EQ(menu.GetHilightedItem(static_cast<float>(y2)), 1);
    EXPECT_EQ(menu.GetHilightedItem(y2 + 0.5f), 2);
    EXPECT_EQ(menu.GetHilightedItem(static_cast<float>(y4 + th + 8)), 4);
    EXPECT_EQ(menu.GetHilightedItem(static_cast<float>(y4 + th + 9)), 0);
}

TEST_F(XPMenu, PictureShowsFrameBandIconsSeparatorArrowAndText) {
    menu.ShowMenu(0, 0);
    const int w = menu.Window().Picture().width(), h = menu.Window().Picture().height();
    EXPECT_EQ(at(0, 0), kFrame);
    EXPECT_EQ(at(w - 1, h - 1), kFrame);
    EXPECT_EQ(at(1, 1), kBand);
    EXPECT_EQ(at(24, h - 2), kBand);
    EXPECT_EQ(at(25, 1), kBack);
    EXPECT_EQ(at(w - 2, h - 2), kBack);

    const int icon1 = 3 + (th - 8) / 2;
    EXPECT_EQ(at(6 + 8, icon1 + 8), kRed);
    EXPECT_EQ(at(6, icon1), kBand);  // clear corner shows the band
    EXPECT_EQ(at(22, icon1 + 8), kBand);
    EXPECT_EQ(inked(1, y4, 24, y4 + th + 7, kBand), 0) << "no icon drawn for an id the list lacks";

    EXPECT_EQ(at(40, y2 + 4), kBand);
    EXPECT_EQ(at(w - 2, y2 + 4), kBand);
    EXPECT_EQ(at(40, y2 + 3), kBack);

    // The arrow: a triangle 4 wide and 7 high in the 13-pixel cell at the right.
    const int ax = w - 8 - 13 + 4, ay = y3 + (th - 8) / 2 + 2 + 3;
    for (int r = 0; r < 7; ++r) EXPECT_EQ(at(ax, ay + r), kBlack) << r;
    EXPECT_EQ(at(ax + 3, ay + 3), kBlack);
    EXPECT_EQ(at(ax + 3, ay), kBack);
    EXPECT_EQ(at(ax - 1, ay + 3), kBack);

    const int tw = menu.Window().TextWidth("Open");
    EXPECT_GT(inked(32, 7, 32 + tw, 7 + th - 1), tw);
    EXPECT_EQ(inked(25, 4, 31, 3 + th + 7), 0);
    EXPECT_EQ(inked(32 + tw + 2, 4, w - 2, 3 + th + 7), 0);
}

TEST_F(XPMenu, HighlightMovesOpensAndClosesTheSubMenu) {
    menu.ShowMenu(100, 50);
    const int w = menu.Window().Picture().width();
    const int icon1 = 3 + (th - 8) / 2;
    menu.setHilightedItem(1);
    EXPECT_EQ(menu.GetHilightNum(), 1);
    EXPECT_EQ(at(1, 3), kBorder);
    EXPECT_EQ(at(w - 2, 3 + th + 7), kBorder);
    EXPECT_EQ(at(w - 4, 5), kFill);
    EXPECT_EQ(at(6, icon1), kFill);  // the clear corner now shows the highlight
    EXPECT_EQ(at(10, icon1 + 8), kRed);
    EXPECT_FALSE(menu.PopupShown());

    menu.setHilightedItem(2);  // a separator takes no highlight
    EXPECT_EQ(menu.GetHilightNum(), 2);
    EXPECT_EQ(at(w - 4, 5), kBack);
    EXPECT_EQ(at(w - 4, y2 + 1), kBack);

    menu.Window().hoverAt(y3 + 2);  // the pointer over "Export"
    EXPECT_EQ(menu.GetHilightNum(), 3);
    EXPECT_EQ(at(w - 4, y3 + 1), kFill);
    EXPECT_TRUE(menu.PopupShown());
    ASSERT_TRUE(sub->IsVisible());
    EXPECT_EQ(sub->Window().Left(), (100 + w - 5) * 15);
    EXPECT_EQ(sub->Window().Top(), (50 + y3) * 15);

    menu.setHilightedItem(3);  // already highlighted: nothing changes
    menu.setHilightedItem(0);
    EXPECT_TRUE(sub->IsVisible());
    menu.setHilightedItem(4);
    EXPECT_FALSE(sub->IsVisible());
    EXPECT_FALSE(menu.PopupShown());
    menu.setHilightedItem(-1);
    EXPECT_EQ(menu.GetHilightNum(), -1);
    EXPECT_EQ(at(w - 4, y4 + 1), kBack);

    menu.UnloadMenu();
    EXPECT_FALSE(menu.IsVisible());
    EXPECT_EQ(menu.GetHilightNum(), 0);
    menu.Window().hoverAt(5);  // hovering stops with the menu
    EXPECT_EQ(menu.GetHilightNum(), 0);
}

TEST_F(XPMenu, KillAllMenusClosesEveryMenuIncludingMadeUpSubMenus) {
    clsXPMenu other;
    other.Init("Other", nullptr);
    other.AddItem(1, "A", 1, 0);  // a sub-menu flag with no sub-menu given
    other.AddItem(2, "B", 0, 0);
    other.ShowMenu(300, 0);
    other.setHilightedItem(1);
    EXPECT_TRUE(other.PopupShown());
    EXPECT_EQ(forms::MenuWindow::loadedWindows().size(), 2u);
    other.setHilightedItem(2);
    EXPECT_EQ(forms::MenuWindow::loadedWindows().size(), 1u);

    menu.ShowMenu(0, 0);
    menu.setHilightedItem(3);
    other.setHilightedItem(1);
    EXPECT_EQ(forms::MenuWindow::loadedWindows().size(), 4u);
    menu.KillAllMenus();
    EXPECT_TRUE(forms::MenuWindow::loadedWindows().empty());
    EXPECT_FALSE(menu.IsVisible() || sub->IsVisible() || other.IsVisible());
}
