#include "data/IcCorrection.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <tuple>
#include <utility>
#include <numeric>
#include <vector>

#include "data/TableColumns.h"
#include "platform/DateText.h"
#include "platform/ErrorText.h"
#include "platform/FenMath.h"
#include "platform/VbNumber.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"

namespace tolvenk::IC_Correction {

namespace {

constexpr int kCorrectionErrCode = 2;

// "yyyy-MM-dd hh:mm:ss" one second earlier; the text itself when it is no date.
std::string secondBefore(const std::string& text) {
    using namespace std::chrono;
    const auto normal = normalDateTime(text);
    const auto day = readDate(text);
    if (!normal || !day) return text;
    const int h = std::stoi(normal->substr(11, 2)), m = std::stoi(normal->substr(14, 2)),
              s = std::stoi(normal->substr(17, 2));
    const sys_seconds t = sys_days{*day} + hours{h} + minutes{m} + seconds{s} - seconds{1};
    const sys_days d = floor<days>(t);
    const hh_mm_ss<seconds> clock{t - d};
    char out[16];
    std::snprintf(out, sizeof out, " %02d:%02d:%02d", static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count()));
    return formatDate(year_month_day{d}) + out;
}


}  // namespace

int Mend_Card(XFService& XF, BTService& BT, std::int32_t person, const std::string& card, const std::string& cutoff,
              std::string& error) {
    auto last = XF.Cha_YeE1(std::to_string(person), card, cutoff);
    if (last->eof()) return 0;
    const std::string top = last->field("Card_LiuShui").toString();
    auto sum = XF.Cha_JinE(person, card, top);
    if (sum->eof()) return 0;
    const db::Value& changes = sum->field("YuE_C");
    if (!changes.isNull() && last->field("YuE_New").toInt64() == changes.toInt64()) return 0;

    const DataList rows = BT.Cha_Ka(person, card, top);
    namespace X = col::Record_XF;
    const int cPerson = rows.col(X::Pinfo_id), cKind = rows.col(X::C_LeiBie), cChange = rows.col(X::YuE_Change),
              cBalance = rows.col(X::YuE_New), cArea = rows.col(X::C_QuHao), cSerial = rows.col(X::Card_LiuShui),
              cDate = rows.col(X::Date_Time), cOperator = rows.col(X::Operator_id), cCiArea = rows.col(X::Ci_QuHao),
              cRec = rows.col(X::Rec_Time), cErr = rows.col(X::Err_Code);
    // A correction row shares its serial with the row before the break it
    // mends and is dated a second before the row after it: it belongs after
    // the rows of its serial, however their seconds fall.
    std::vector<int> order(static_cast<std::size_t>(std::max(rows.rowUBound(), 0)));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const std::int64_t sa = fenOf(rows(a, cSerial)), sb = fenOf(rows(b, cSerial));
        if (sa != sb) return sa < sb;
        return fenOf(rows(a, cErr)) != kCorrectionErrCode && fenOf(rows(b, cErr)) == kCorrectionErrCode;
    });
    // Each break is judged between two rows the terminals wrote: a
    // correction row stands where its serial puts it, which among a card's
    // duplicated or restarted serials is not always beside the break it
    // mends, and a pass that took it as a link of the chain would find new
    // breaks before and after it each time. A break is mended once a
    // correction row bridging to where the row started stands just before it.
    std::map<std::tuple<std::int64_t, std::string, std::int64_t>, std::int64_t> met;
    int failed = 0;
    int written = 0;  // the row the terminals wrote before, in chain order
    for (std::size_t k = 0; k < order.size(); ++k) {
        const int i = order[k];
        if (rows(i, cDate) > cutoff) break;
        if (fenOf(rows(i, cErr)) == kCorrectionErrCode) continue;
        const int p = std::exchange(written, i);
        if (p == 0) continue;
        const std::int64_t before = fenOf(rows(p, cBalance));
        const std::int64_t after = fenOf(rows(i, cBalance)), change = fenOf(rows(i, cChange));
        const std::int64_t started = fenSub(after, change);
        if (started == before) continue;
        const std::int64_t gap = fenSub(started, before);
        BTService::CorrectionRow row;
        row.PinfoID = vbCLng(vbVal(rows(p, cPerson)));
        row.c_leibie = vbCInt(vbVal(rows(p, cKind)));
        row.XF_Type = static_cast<std::int16_t>(gap < 0 ? 201 : 202);
        row.YuE_Change = vbCLng(static_cast<double>(gap));
        row.YuE_New = vbCLng(static_cast<double>(started));
        row.C_QuHao = vbCInt(vbVal(rows(p, cArea)));
        row.Card_Liushui = vbCLng(vbVal(rows(i, cSerial)) - 1);
        row.Date_Time = secondBefore(rows(i, cDate));
        row.CardNo = card;
        row.Operator_id = vbCInt(vbVal(rows(p, cOperator)));
        row.Ci_QuHao = vbCLng(vbVal(rows(p, cCiArea)));
        row.Err_Code = kCorrectionErrCode;
        row.DC_Date = rows(p, cRec);
        // Breaks this pass met that one row would bridge (a row uploaded
        // twice) get a row each, as a pass over the rows as first read does.
        const std::int64_t nth = ++met[{row.Card_Liushui, row.Date_Time, row.YuE_New}];
        try {
            BT.Mend_Break(row, nth);
        } catch (const std::exception& e) {
            if (db::connectionLost(e)) throw;  // every break after it would fail the same way
            if (error.empty()) error = platform::errorText(e);
            ++failed;
        }
    }
    return failed;
}

}  // namespace tolvenk::IC_Correction
