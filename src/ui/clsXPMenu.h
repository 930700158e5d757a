#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/MenuWindow.h"
#include "platform/forms/Picture.h"

namespace tolvenk {

// A flat pop-up menu drawn into its own borderless window: items with an
// optional 16 x 16 icon, separators, one highlighted item and cascading
// sub-menus, each itself a clsXPMenu. Item numbers count from 1; window
// positions are in twips, ShowMenu's point in pixels.
class clsXPMenu : public forms::MenuWindowOwner {
public:
    clsXPMenu();
    ~clsXPMenu() override;
    clsXPMenu(const clsXPMenu&) = delete;
    clsXPMenu& operator=(const clsXPMenu&) = delete;

    // A non-zero flag is set.
    void AddItem(std::int32_t ItemID, const std::string& Caption, std::int16_t SubMenu, std::int16_t Separator,
                 std::shared_ptr<clsXPMenu> Popup = nullptr);
    std::int16_t GetHilightNum() const { return HilightNum; }
    // "" for a number that is no item.
    std::string GetItemText(std::int16_t Item) const;
    std::string GetMenuName() const { return MenuName; }
    bool IsTextItem(std::int16_t Item) const;
    bool IsVisible() const { return MenuVisible; }
    // Closes every loaded menu of the program with its sub-menus.
    void KillAllMenus();
    void KillPopupMenus() override;
    bool PopupShown() const { return PopupVisible; }
    // At pixel (x, y) of the screen; nothing when the menu is already shown.
    void ShowMenu(std::int32_t x, std::int32_t y);
    void DrawMenu();
    std::int32_t GetHeight() const;
    // The item whose rows hold pixel row y; 0 when none.
    std::int16_t GetHilightedItem(float y) override;
    void Init(const std::string& Name, std::shared_ptr<const forms::ImageList> Images);
    // To (x, y) in twips.
    void MoveMenu(std::int32_t x, std::int32_t y);
    // 0 and the current item change nothing, -1 clears the highlight; an
    // item with the sub-menu flag opens its sub-menu beside it.
    void setHilightedItem(std::int16_t Item) override;
    void UnloadMenu() override;

    // The window the menu draws into.
    forms::MenuWindow& Window() { return frmMenu; }

private:
    struct MenuItem {
        std::int32_t ItemID = 0;
        std::string Caption;
        bool SubMenu = false;
        bool Separator = false;
        std::shared_ptr<clsXPMenu> Popup;
    };
    const MenuItem* item(std::int16_t n) const;
    std::int32_t itemHeight(const MenuItem& it) const;
    void drawItem(const MenuItem& it, bool highlighted, std::int32_t y);

    std::string MenuName;
    std::vector<MenuItem> Items;
    std::int32_t MaxWidth = 0;
    std::int32_t TextHeight = 0;
    std::int16_t HilightNum = 0;
    std::int32_t HilightTop = 0;
    bool MenuVisible = false;
    bool PopupVisible = false;
    std::shared_ptr<const forms::ImageList> Icons;
    std::shared_ptr<clsXPMenu> CurrentPopup;
    forms::MenuWindow frmMenu;
};

}  // namespace tolvenk
