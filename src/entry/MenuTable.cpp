#include "entry/MenuTable.h"

#include <map>

namespace tolvenk {

std::string windowForMenuCode(int code) {
    static const std::map<int, std::string> table = {
        {7001, "Card_Type"},       {7011, "Card_GeRen_CX"},  {7021, "BT_ZhunBei"},     {7022, "BT_ZhunBei_XG"},
        {7023, "BT_ZhunBei_SC"},   {7024, "BT_ZhunBei_FF"},  {7025, "BT_ZhunBei_Stop"}, {7026, "BT_Cha_FF"},
        {7027, "BT_Sum"},          {7028, "BT_DuiYing"},     {7029, "BT_ID_BF"},       {7030, "BT_ID_FF"},
        {7031, "BT_QingLing"},     {7032, "XF_Cha_HZ"},      {7033, "XF_Cha_HZ_Ren"},  {7034, "XF_Mingxi"},
        {7035, "XF_SetTime"},      {7036, "YuE_HZ_Cha"},     {7037, "CardLog_Cha"},    {7038, "frmJieSuanIC"},
        {7039, "YuE_ID_Cha"},      {7040, "IDYuE_QingLing"}, {7041, "DC_ShiDuan"},     {7042, "DC_ZhengChang"},
        {7043, "DC_TeShu"},        {7044, "DC_Cha_Sum"},
    };
    auto it = table.find(code);
    return it == table.end() ? std::string() : it->second;
}

}  // namespace tolvenk
