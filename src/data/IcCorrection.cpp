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


// The serial of the chain's last row up to the cut-off when that row does
// not close with the sum of the changes up to it; nothing when it does or
// the card has no row.
std::optional<std::string> brokenChainTop(db::Connection& On, std::int32_t person, const std::string& card,
                                          const std::string& cutoff) {
    auto last = XFService::Cha_YeE1(On, std::to_string(person), card, cutoff);
    if (last->eof()) return std::nullopt;
    std::string top = last->field("Card_LiuShui").toString();
    auto sum = XFService::Cha_JinE(On, person, card, top);
    if (sum->eof()) return std::nullopt;
    const db::Value& changes = sum->field("YuE_C");
    if (!changes.isNull() && last->field("YuE_New").toInt64() == changes.toInt64()) return std::nullopt;
    return top;
}

}  // namespace

std::vector<Mend> Mends_Wanted(db::Connection& On, std::int32_t person, const std::string& card,
                               const std::string& cutoff) {
    const auto broken = brokenChainTop(On, person, card, cutoff);
    if (!broken) return {};
    const auto chain = BTService::Cha_Ka(On, person, card, *broken);
    using Key = std::tuple<std::int64_t, std::string, std::int64_t>;  // serial, second, balance
    // The correction rows the chain holds, alike as the write's own check
    // counts them: by their stored whole numbers, not by their text (a
    // stored fraction may show as a whole number).
    std::map<Key, std::int64_t> held;
    for (; !chain->eof(); chain->moveNext()) {
        const db::Value &err = chain->field(col::Record_XF::Err_Code), &serial = chain->field(col::Record_XF::Card_LiuShui),
                        &balance = chain->field(col::Record_XF::YuE_New);
        if (err.isInteger() && err.asInteger() == kCorrectionErrCode && serial.isInteger() && balance.isInteger())
            ++held[{serial.asInteger(), chain->field(col::Record_XF::Date_Time).toString(), balance.asInteger()}];
    }
    const DataList rows = BaseService::To_DataList(*chain);
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
    std::vector<Mend> wanted;
    std::map<Key, std::int64_t> breaks;  // rows the breaks want, by key
    struct Standing {
        int row;       // the correction row
        int previous;  // the terminals' row before it in the chain, or 0
        Key key;
    };
    std::vector<Standing> corrections;
    const auto keyOf = [&](int i) {
        return Key{fenOf(rows(i, cSerial)), rows(i, cDate), fenOf(rows(i, cBalance))};
    };
    const auto correctionFrom = [&](int from, std::int64_t gap, std::int64_t balance, int serialRow, int dateRow) {
        BTService::CorrectionRow row;
        row.PinfoID = vbCLng(vbVal(rows(from, cPerson)));
        row.c_leibie = vbCInt(vbVal(rows(from, cKind)));
        row.XF_Type = static_cast<std::int16_t>(gap < 0 ? 201 : 202);
        row.YuE_Change = vbCLng(static_cast<double>(gap));
        row.YuE_New = vbCLng(static_cast<double>(balance));
        row.C_QuHao = vbCInt(vbVal(rows(from, cArea)));
        row.Card_Liushui = vbCLng(vbVal(rows(serialRow, cSerial)) - 1);
        row.Date_Time = secondBefore(rows(dateRow, cDate));
        row.CardNo = card;
        row.Operator_id = vbCInt(vbVal(rows(from, cOperator)));
        row.Ci_QuHao = vbCLng(vbVal(rows(from, cCiArea)));
        row.Err_Code = kCorrectionErrCode;
        return row;
    };
    int written = 0;  // the row the terminals wrote before, in chain order
    for (std::size_t k = 0; k < order.size(); ++k) {
        const int i = order[k];
        if (rows(i, cDate) > cutoff) break;
        if (fenOf(rows(i, cErr)) == kCorrectionErrCode) {
            corrections.push_back({i, written, keyOf(i)});
            continue;
        }
        const int p = std::exchange(written, i);
        if (p == 0) continue;
        const std::int64_t before = fenOf(rows(p, cBalance));
        const std::int64_t after = fenOf(rows(i, cBalance)), change = fenOf(rows(i, cChange));
        const std::int64_t started = fenSub(after, change);
        if (started == before) continue;
        BTService::CorrectionRow row = correctionFrom(p, fenSub(started, before), started, i, i);
        row.DC_Date = rows(p, cRec);
        // Breaks this pass met that one row would bridge (a row uploaded
        // twice) get a row each, as a pass over the rows as first read does.
        const std::int64_t nth = ++breaks[{row.Card_Liushui, row.Date_Time, row.YuE_New}];
        wanted.push_back({std::move(row), nth});
    }
    // A correction row no break between the terminals' rows wants any more
    // (the row it stood for was uploaded late) is a break of its own: it
    // gets the reverse row, once. Such a row and a reverse already written
    // for it make a pair and want nothing.
    std::map<Key, std::int64_t> standing, matched;
    for (const auto& c : corrections) ++standing[c.key];
    std::map<Key, std::vector<std::size_t>> unpaired;
    std::vector<bool> stale(corrections.size(), false), paired(corrections.size(), false);
    for (std::size_t n = 0; n < corrections.size(); ++n) {
        const auto wants = breaks.find(corrections[n].key);
        if (wants != breaks.end() && ++matched[corrections[n].key] <= wants->second) continue;
        stale[n] = true;
        unpaired[corrections[n].key].push_back(n);
    }
    const auto reverseOf = [&](const Standing& c) {
        const int i = c.row;
        const std::int64_t change = fenOf(rows(i, cChange));
        BTService::CorrectionRow row =
            correctionFrom(i, fenSub(0, change), fenSub(fenOf(rows(i, cBalance)), change), i, i);
        row.DC_Date = rows(c.previous ? c.previous : i, cRec);
        return row;
    };
    std::map<Key, std::int64_t> reversed;
    // Highest serial first: a reverse stands a serial below its row.
    for (std::size_t n = corrections.size(); n-- > 0;) {
        if (!stale[n] || paired[n]) continue;
        BTService::CorrectionRow row = reverseOf(corrections[n]);
        const Key key{row.Card_Liushui, row.Date_Time, row.YuE_New};
        auto& pool = unpaired[key];
        const auto partner = std::find_if(pool.begin(), pool.end(), [&](std::size_t m) {
            return m != n && !paired[m] && fenOf(rows(corrections[m].row, cChange)) == row.YuE_Change;
        });
        paired[n] = true;
        if (partner != pool.end()) {
            paired[*partner] = true;
            continue;
        }
        const auto breaksWant = breaks.count(key) ? breaks[key] : 0;
        const std::int64_t nth = std::max(breaksWant, standing[key]) + ++reversed[key];
        wanted.push_back({std::move(row), nth});
    }
    // A row the chain already holds wants no write; the rest are checked
    // again under the write lock.
    std::erase_if(wanted, [&](const Mend& w) {
        const auto standing = held.find({w.row.Card_Liushui, w.row.Date_Time, w.row.YuE_New});
        return w.row.Err_Code == kCorrectionErrCode && standing != held.end() && standing->second >= w.nth;
    });
    return wanted;
}

int Write_Mends(BTService& BT, const std::vector<Mend>& mends, std::string& error) {
    int failed = 0;
    for (const auto& w : mends) {
        try {
            BT.Mend_Break(w.row, w.nth);
        } catch (const std::exception& e) {
            if (db::connectionLost(e)) throw;  // every break after it would fail the same way
            if (error.empty()) error = platform::errorText(e);
            ++failed;
        }
    }
    return failed;
}

}  // namespace tolvenk::IC_Correction
