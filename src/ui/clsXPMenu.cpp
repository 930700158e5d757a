#include "ui/clsXPMenu.h"

#include <algorithm>

#include "platform/forms/Control.h"

namespace tolvenk {

namespace {

constexpr forms::Colour kMenuBack = 0xF7F8F9;
constexpr forms::Colour kFrame = 0x666666;
constexpr forms::Colour kIconBand = 0xD1D8D8;  // also the separator lines
constexpr forms::Colour kHilightFill = 0xD2BDB6;
constexpr forms::Colour kHilightBorder = 0x6A240A;

constexpr int kBandRight = 24;   // the icon column
constexpr int kIconLeft = 6;
constexpr int kIconSize = forms::ImageList::kImageSize;
constexpr int kTextLeft = 32;
constexpr int kArrowGap = 8;     // between the arrow and the right edge
constexpr int kTopMargin = 3;
constexpr int kBottomMargin = 4;
constexpr int kSeparatorHeight = 9;
constexpr int kItemPadding = 8;  // text height + this is an item's height
const char* const kArrowFont = "Marlett";
constexpr double kArrowFontSize = 10;
const char* const kArrow = "4";

}  // namespace

clsXPMenu::clsXPMenu() {
    // Even a menu nobody initialised can be closed through its window.
    frmMenu.XPMenuClass = this;
}

clsXPMenu::~clsXPMenu() { frmMenu.XPMenuClass = nullptr; }

const clsXPMenu::MenuItem* clsXPMenu::item(std::int16_t n) const {
    if (n < 1 || n > static_cast<int>(Items.size())) return nullptr;
    return &Items[static_cast<std::size_t>(n - 1)];
}

std::int32_t clsXPMenu::itemHeight(const MenuItem& it) const {
    return it.Separator ? kSeparatorHeight : TextHeight + kItemPadding;
}

void clsXPMenu::AddItem(std::int32_t ItemID, const std::string& Caption, std::int16_t SubMenu, std::int16_t Separator,
                        std::shared_ptr<clsXPMenu> Popup) {
    Items.push_back({ItemID, Caption, SubMenu != 0, Separator != 0, std::move(Popup)});
    std::int32_t width = frmMenu.TextWidth(Caption) + 43;
    if (SubMenu != 0) width += kArrowGap + frmMenu.picPopup.TextWidth(kArrow);
    MaxWidth = std::max(MaxWidth, width);
}

std::string clsXPMenu::GetItemText(std::int16_t Item) const {
    const MenuItem* it = item(Item);
    return it ? it->Caption : std::string();
}

bool clsXPMenu::IsTextItem(std::int16_t Item) const {
    const MenuItem* it = item(Item);
    return it && !it->SubMenu && !it->Separator;
}

void clsXPMenu::KillAllMenus() {
    for (forms::MenuWindow* w : forms::MenuWindow::loadedWindows()) {
        if (w->Tag != "XPMenu" || !w->XPMenuClass) continue;
        w->XPMenuClass->KillPopupMenus();
        w->XPMenuClass->UnloadMenu();
    }
}

void clsXPMenu::KillPopupMenus() {
    for (const MenuItem& it : Items) {
        if (!it.SubMenu || !it.Popup) continue;
        it.Popup->KillPopupMenus();
        it.Popup->UnloadMenu();
    }
}

void clsXPMenu::ShowMenu(std::int32_t x, std::int32_t y) {
    if (MenuVisible) return;
    frmMenu.setLeft(x * forms::kTwipsPerPixel);
    frmMenu.setTop(y * forms::kTwipsPerPixel);
    DrawMenu();
    MenuVisible = frmMenu.Visible();
    PopupVisible = false;
    frmMenu.tmrActive.Enabled = true;
    frmMenu.tmrHover.Enabled = true;
    frmMenu.Tag = "XPMenu";
}

void clsXPMenu::drawItem(const MenuItem& it, bool highlighted, std::int32_t y) {
    forms::DrawingSurface& buf = frmMenu.picMenuBuffer;
    const int width = buf.Width();
    const int iconTop = y + (TextHeight - 8) / 2;
    if (highlighted) {
        HilightTop = y;
        buf.FillBox(1, y, width - 2, y + itemHeight(it) - 1, kHilightFill);
        buf.Box(1, y, width - 2, y + itemHeight(it) - 1, kHilightBorder);
    }
    // The icon is copied with its cell, so its clear parts take the cell's colour.
    if (Icons && it.ItemID != 0) {
        if (const forms::Picture* icon = Icons->ListImage(it.ItemID)) {
            forms::DrawingSurface& cell = frmMenu.picIcon;
            cell.setBackColor(highlighted ? kHilightFill : kIconBand);
            cell.PaintPicture(*icon, 0, 0);
            buf.CopyBlock(cell, 0, 0, kIconSize, kIconSize, kIconLeft, iconTop);
        }
    }
    if (it.SubMenu) {
        const std::string fontName = buf.FontName();
        const double fontSize = buf.FontSize();
        buf.setFontName(kArrowFont);
        buf.setFontSize(kArrowFontSize);
        buf.Print(width - kArrowGap - buf.TextWidth(kArrow), iconTop + 2, kArrow);
        buf.setFontName(fontName);
        buf.setFontSize(fontSize);
    }
    if (it.Separator) buf.Line(kTextLeft, y + 4, width - 2, y + 4, kIconBand);
    else buf.Print(kTextLeft, y + 4, it.Caption);
}

void clsXPMenu::DrawMenu() {
    forms::DrawingSurface& buf = frmMenu.picMenuBuffer;
    buf.Cls();
    buf.setBackColor(kMenuBack);
    buf.setHeight(GetHeight());
    buf.setWidth(MaxWidth);
    const int width = buf.Width();
    const int height = buf.Height();
    buf.Box(0, 0, width - 1, height - 1, kFrame);
    buf.FillBox(1, 1, kBandRight, height - 2, kIconBand);
    frmMenu.picIcon.setWidth(kIconSize);
    frmMenu.picIcon.setHeight(kIconSize);

    std::int32_t y = kTopMargin;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        const MenuItem& it = Items[i];
        drawItem(it, static_cast<int>(i) + 1 == HilightNum && !it.Separator, y);
        y += itemHeight(it);
    }

    frmMenu.setWidth(width * forms::kTwipsPerPixel);
    frmMenu.setHeight(height * forms::kTwipsPerPixel);
    frmMenu.setPicture(buf.Image());
    frmMenu.Show();
}

std::int32_t clsXPMenu::GetHeight() const {
    std::int32_t h = kTopMargin;
    for (const MenuItem& it : Items) h += itemHeight(it);
    return h + kBottomMargin;
}

std::int16_t clsXPMenu::GetHilightedItem(float y) {
    std::int32_t y0 = kTopMargin;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        const std::int32_t h = itemHeight(Items[i]);
        if (static_cast<float>(y0) <= y && y <= static_cast<float>(y0 + h)) return static_cast<std::int16_t>(i + 1);
        y0 += h;
    }
    return 0;
}

void clsXPMenu::Init(const std::string& Name, std::shared_ptr<const forms::ImageList> Images) {
    MenuName = Name;
    frmMenu.XPMenuClass = this;
    Icons = std::move(Images);
    frmMenu.setFontName("Tahoma");
    frmMenu.picMenuBuffer.setFontName("Tahoma");
    TextHeight = frmMenu.picMenuBuffer.TextHeight("gW");
    Items.clear();
    HilightNum = 0;
}

void clsXPMenu::MoveMenu(std::int32_t x, std::int32_t y) {
    frmMenu.setLeft(x);
    frmMenu.setTop(y);
}

void clsXPMenu::setHilightedItem(std::int16_t Item) {
    if (Item == 0 || Item == HilightNum) return;
    if (Item == -1) {
        HilightNum = -1;
        DrawMenu();
        return;
    }
    if (!item(Item)) return;
    HilightNum = Item;
    KillPopupMenus();
    PopupVisible = false;
    DrawMenu();
    MenuItem& it = Items[static_cast<std::size_t>(Item - 1)];
    if (!it.SubMenu) return;
    PopupVisible = true;
    // Kept with the item, so that moving on closes it like any other sub-menu.
    if (!it.Popup) it.Popup = std::make_shared<clsXPMenu>();
    CurrentPopup = it.Popup;
    if (!CurrentPopup->IsVisible())
        CurrentPopup->ShowMenu(frmMenu.Left() / forms::kTwipsPerPixel + frmMenu.Width() / forms::kTwipsPerPixel - 5,
                               frmMenu.Top() / forms::kTwipsPerPixel + HilightTop);
}

void clsXPMenu::UnloadMenu() {
    frmMenu.Unload();
    MenuVisible = false;
    HilightNum = 0;
    frmMenu.tmrActive.Enabled = false;
    frmMenu.tmrHover.Enabled = false;
}

}  // namespace tolvenk
