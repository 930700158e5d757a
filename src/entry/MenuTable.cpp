#include "entry/MenuTable.h"

#include <memory>

#include "cards/IDYuE_QingLing.h"
#include "cards/YuE_HZ_Cha.h"
#include "cards/YuE_ID_Cha.h"
#include "cards/frmJieSuanIC.h"
#include "reports/statistics/XF_Mingxi.h"
#include "reports/summary/XF_Cha_HZ.h"
#include "reports/summary/frmHZ_Format.h"

namespace tolvenk {

namespace {

template <class W>
WindowFactory make() {
    return [] { return std::make_unique<W>(); };
}

}  // namespace

const std::vector<MenuEntry>& menuTable() {
    static const std::vector<MenuEntry> table = {
        {7001, "Card_Type", nullptr},
        {7011, "Card_GeRen_CX", nullptr},
        {7021, "BT_ZhunBei", nullptr},
        {7022, "BT_ZhunBei_XG", nullptr},
        {7023, "BT_ZhunBei_SC", nullptr},
        {7024, "BT_ZhunBei_FF", nullptr},
        {7025, "BT_ZhunBei_Stop", nullptr},
        {7026, "BT_Cha_FF", nullptr},
        {7027, "BT_Sum", nullptr},
        {7028, "BT_DuiYing", nullptr},
        {7029, "BT_ID_BF", nullptr},
        {7030, "BT_ID_FF", nullptr},
        {7031, "BT_QingLing", nullptr},
        {7032, "XF_Cha_HZ", make<XF_Cha_HZ>()},
        {7033, "XF_Cha_HZ_Ren", nullptr},
        {7034, "XF_Mingxi", make<XF_Mingxi>()},
        {7035, "XF_SetTime", nullptr},
        {7036, "YuE_HZ_Cha", make<YuE_HZ_Cha>()},
        {7037, "CardLog_Cha", nullptr},
        {7038, "frmJieSuanIC", make<frmJieSuanIC>()},
        {7039, "YuE_ID_Cha", make<YuE_ID_Cha>()},
        {7040, "IDYuE_QingLing", make<IDYuE_QingLing>()},
        {7041, "DC_ShiDuan", nullptr},
        {7042, "DC_ZhengChang", nullptr},
        {7043, "DC_TeShu", nullptr},
        {7044, "DC_Cha_Sum", nullptr},
        {0, "frmHZ_Format", make<frmHZ_Format>()},
    };
    return table;
}

std::string windowForMenuCode(int code) {
    if (code == 0) return {};
    for (const MenuEntry& e : menuTable())
        if (e.code == code) return e.window;
    return {};
}

void registerBuiltInWindows() {
    static const bool done = [] {
        for (const MenuEntry& e : menuTable())
            if (e.factory) registerDefaultWindow(e.window, e.factory);
        return true;
    }();
    (void)done;
}

}  // namespace tolvenk
