#include "cards/YuE_HZ_Cha.h"

#include "data/OpenDb.h"
#include "lang/LangGlobals.h"
#include "lang/Language.h"
#include "platform/VbText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"

namespace tolvenk {

namespace {

constexpr int kCorrectionFailures = 983;
// What a run that lost its connection did: listed and mended, or listed.
constexpr int kLostMending = 1075, kLostListing = 1076;

}  // namespace

YuE_HZ_Cha::YuE_HZ_Cha() {
    Check1.setCaption("是否损益");
    Check1.Move(8520, 270, 1500, 300);
    Query.Grid1.setCols(8);
    Query.Command1.Click = [this](int) { Command1_Click(); };
}

void YuE_HZ_Cha::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(619));
    Query.Load();
    std::string last = Get_First_Mach_Date();
    if (vbTrim(last).empty()) {
        last = Get_Server_Time();
        Check1.setVisible(false);
    }
    // The settlement date is set last, so it bounds the picker even when the
    // terminals were last read before it.
    Query.DTPicker1.setMaxDate(last.substr(0, 10));
    Query.DTPicker1.setMinDate(Query.XF.JieSuan_Date());
    Query.Set_Heads(std::vector<std::string>{"", L(174), L(173), L(88), L(597), L(598), "次数余额", "截止日期"});
    Query.DTPicker1.setValue(last.substr(0, 10));
}

void YuE_HZ_Cha::Form_Resize() { Query.Resize(); }

void YuE_HZ_Cha::Command1_Click() {
    if (Query.Busy()) return;
    const std::string cutoff = Balance_Query::Correction_Cutoff(Query.BT);
    Balance_Query::Who who;
    if (!Query.Start(who)) return;
    const std::string day = Query.DTPicker1.Date_Value();
    Warn_Unfinished_Settlement(day);
    const std::optional<std::string> correction =
        Check1.Value() == forms::vbChecked ? std::optional<std::string>(cutoff) : std::nullopt;
    const auto result = Query.Run(
        Check1,
        [&](const Balance_Query::Row_Sink& sink) {
            return Balance_Query::IC_Balances(Query.XF, Query.BT, who, day, correction, sink);
        },
        [&](int r, const Balance_Query::Row& row) {
            if (!row.found) return;
            Query.Grid1.Cell(r, 6).setText(row.times);
            Query.Grid1.Cell(r, 7).setText(row.date);
        },
        correction ? kLostMending : kLostListing);
    if (result && result->failedCorrections > 0)
        platform::services().msgBox(Lf(kCorrectionFailures, {std::to_string(result->failedCorrections), result->firstError}),
                                    platform::vbCritical, L(43));
}

}  // namespace tolvenk
