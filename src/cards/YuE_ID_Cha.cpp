#include "cards/YuE_ID_Cha.h"

#include "lang/LangGlobals.h"
#include "lang/Language.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"

namespace tolvenk {

namespace {

constexpr int kLostText = 1076;  // a run that lost its connection: how many were listed

}  // namespace

YuE_ID_Cha::YuE_ID_Cha() {
    setCaption("ID卡余额查询");
    Command2.Move(8520, 210, 1500, 420);
    Query.Grid1.setCols(6);
    Query.Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
}

void YuE_ID_Cha::Form_Load() {
    Set_Lan_Font(*this);
    Command2.setCaption(L(644));
    Query.Load();
    Query.DTPicker1.setMinDate(Query.XF.JieSuan_Date());
    Query.Set_Heads(std::vector<std::string>{"", L(174), L(173), L(88), L(597), L(598)});
    Query.DTPicker1.setValue(platform::services().clockText().substr(0, 10));
}

void YuE_ID_Cha::Form_Resize() { Query.Resize(); }

void YuE_ID_Cha::Command1_Click() {
    if (Query.Busy()) return;
    Balance_Query::Who who;
    if (!Query.Start(who)) return;
    const std::string day = Query.DTPicker1.Date_Value();
    Warn_Unfinished_Settlement(day);
    Query.Run(
        Command2,
        [&](const Balance_Query::Row_Sink& sink) {
            return Balance_Query::ID_Balances(Query.XF, Query.BT, who, day, sink);
        },
        {}, kLostText);
}

// The clearing window; this one keeps its balances until the next query.
void YuE_ID_Cha::Command2_Click() { Open_Modal("IDYuE_QingLing"); }

}  // namespace tolvenk
