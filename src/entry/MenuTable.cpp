#include "entry/MenuTable.h"

#include <memory>

#include "cards/CardLog_Cha.h"
#include "cards/Card_GeRen_CX.h"
#include "cards/Card_Type.h"
#include "cards/IDYuE_QingLing.h"
#include "cards/YuE_HZ_Cha.h"
#include "cards/YuE_ID_Cha.h"
#include "cards/frmJieSuanIC.h"
#include "meals/DC_Cha_Sum.h"
#include "meals/DC_ShiDuan.h"
#include "meals/DC_TeShu.h"
#include "meals/DC_ZhengChang.h"
#include "meals/XF_SetTime.h"
#include "reports/statistics/XF_Cha_HZ_Ren.h"
#include "reports/statistics/XF_Chong_HZ.h"
#include "reports/statistics/XF_Mingxi.h"
#include "reports/summary/XF_Cha_HZ.h"
#include "reports/summary/frmHZ_Format.h"
#include "subsidy/BT_Cha_DY.h"
#include "subsidy/BT_Cha_FF.h"
#include "subsidy/BT_DuiYing.h"
#include "subsidy/BT_ID_BF.h"
#include "subsidy/BT_ID_FF.h"
#include "subsidy/BT_QingLing.h"
#include "subsidy/BT_Sum.h"
#include "subsidy/BT_ZhunBei.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "subsidy/BT_ZhunBei_FF.h"
#include "subsidy/BT_ZhunBei_SC.h"
#include "subsidy/BT_ZhunBei_Stop.h"
#include "subsidy/BT_ZhunBei_XG.h"

namespace tolvenk {

namespace {

template <class W>
WindowFactory make() {
    return [] { return std::make_unique<W>(); };
}

}  // namespace

const std::vector<MenuEntry>& menuTable() {
    static const std::vector<MenuEntry> table = {
        {7001, "Card_Type", make<Card_Type>()},
        {7011, "Card_GeRen_CX", make<Card_GeRen_CX>()},
        {7021, "BT_ZhunBei", make<BT_ZhunBei>()},
        {7022, "BT_ZhunBei_XG", make<BT_ZhunBei_XG>()},
        {7023, "BT_ZhunBei_SC", make<BT_ZhunBei_SC>()},
        {7024, "BT_ZhunBei_FF", make<BT_ZhunBei_FF>()},
        {7025, "BT_ZhunBei_Stop", make<BT_ZhunBei_Stop>()},
        {7026, "BT_Cha_FF", make<BT_Cha_FF>()},
        {7027, "BT_Sum", make<BT_Sum>()},
        {7028, "BT_DuiYing", make<BT_DuiYing>()},
        {7029, "BT_ID_BF", make<BT_ID_BF>()},
        {7030, "BT_ID_FF", make<BT_ID_FF>()},
        {7031, "BT_QingLing", make<BT_QingLing>()},
        {7032, "XF_Cha_HZ", make<XF_Cha_HZ>()},
        {7033, "XF_Cha_HZ_Ren", make<XF_Cha_HZ_Ren>()},
        {7034, "XF_Mingxi", make<XF_Mingxi>()},
        {7035, "XF_SetTime", make<XF_SetTime>()},
        {7036, "YuE_HZ_Cha", make<YuE_HZ_Cha>()},
        {7037, "CardLog_Cha", make<CardLog_Cha>()},
        {7038, "frmJieSuanIC", make<frmJieSuanIC>()},
        {7039, "YuE_ID_Cha", make<YuE_ID_Cha>()},
        {7040, "IDYuE_QingLing", make<IDYuE_QingLing>()},
        {7041, "DC_ShiDuan", make<DC_ShiDuan>()},
        {7042, "DC_ZhengChang", make<DC_ZhengChang>()},
        {7043, "DC_TeShu", make<DC_TeShu>()},
        {7044, "DC_Cha_Sum", make<DC_Cha_Sum>()},
        {0, "frmHZ_Format", make<frmHZ_Format>()},
        {0, "BT_ZhunBei_1", make<BT_ZhunBei_1>()},
        {0, "XF_Chong_HZ", make<XF_Chong_HZ>()},
        {0, "BT_Cha_DY", make<BT_Cha_DY>()},
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
