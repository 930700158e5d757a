#include "data/IcSettlement.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "data/ByKeyRange.h"
#include "data/SqlPieces.h"
#include "data/XfTypeCode.h"
#include "platform/FenMath.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/Transaction.h"

namespace tolvenk::IC_Settlement {

using Settlement_Store::Serial;

Walk_Result Walk_Card(db::Recordset& rows, Serial kind, const std::string& cutoff) {
    const Settlement_Store::Serial_Columns k = Settlement_Store::columns(kind);
    const int change = rows.fieldIndex(k.change), balance = rows.fieldIndex(k.balance);
    const int date = rows.fieldIndex("Date_Time"), serial = rows.fieldIndex(k.serial);
    const int err = rows.fieldIndex("Err_Code"), type = rows.fieldIndex("XF_Type");
    std::vector<Walk_Row> walk;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        walk.push_back({0, rows.field(serial).toInt64(), rows.field(change), rows.field(balance), rows.field(date),
                        rows.field(type), rows.field(err)});
    return Walk_Card(walk, cutoff);
}

Walk_Result Walk_Card(const std::vector<Walk_Row>& rows, const std::string& cutoff) {
    Walk_Result r;
    std::string marker;
    // A serial a terminal uploaded twice (or that two cards of one number
    // share) leaves one settlement row per upload; together they stand for
    // one settlement, so only the first is summed again.
    std::int64_t settledAt = 0;
    for (const Walk_Row& row : rows) {
        const std::int64_t n = row.serial;
        if (n == 1) break;  // a card's first transaction stays as it is
        const bool settlement = !row.type.isNull() && row.type.toInt64() == XF_Type_Code::Settlement;
        if (settlement && n == settledAt) continue;
        // Uncertain rows above the last valid one are passed over; below it every row counts.
        if (!((!row.err.isNull() && row.err.toDouble() == 0) || !marker.empty())) continue;
        const std::string t = row.date.toString();
        if (t >= cutoff) {
            marker = t;
            r = Walk_Result{};
            settledAt = 0;
            continue;
        }
        if (r.collapse.serial == 0) {
            r.collapse.serial = n;
            r.collapse.balance = row.balance.toInt64();
            r.dated = !t.empty();
            marker = t;
        }
        r.collapse.sum = fenAdd(r.collapse.sum, row.change.toInt64());
        ++r.count;
        if (settlement) settledAt = n;
    }
    return r;
}

// The top serial is read inside the lock: a terminal may have added rows
// before the cut-off since the block was read, and a walk from the old top
// would settle the card with those rows left beside its settlement row. On
// the server a terminal locks its card's row instead of the module's lock:
// that row is held too, so none of its rows falls between walk and collapse.
void Settle_Card(db::Connection& con, std::int32_t person, const std::string& card, const std::string& cutoff,
                 const std::string& backupStart) {
    db::Transaction t(con);
    con.lockRows("Card_Info", "Card_No='" + sql::q(card) + "'");
    for (const Serial kind : {Serial::Money, Serial::Times}) {
        const std::int64_t top = Settlement_Store::Top_Serial(con, kind, cutoff, person, card);
        if (top <= 0) continue;
        const Walk_Result w = Walk_Card(*Settlement_Store::Walk(con, kind, top, person, card), kind, cutoff);
        if (w.count > 1) Settlement_Store::Collapse_Card(con, kind, w.collapse, person, card, backupStart, cutoff);
    }
    t.commit();
}

namespace {

// Whether a walk of the card from its highest serial before the cut-off
// would find more than one row to collapse: what Settle_Card would do.
bool needsSettling(db::Connection& con, std::int32_t person, const std::string& card, const std::string& cutoff) {
    for (const Serial kind : {Serial::Money, Serial::Times}) {
        const std::int64_t top = Settlement_Store::Top_Serial(con, kind, cutoff, person, card);
        if (top > 0 && Walk_Card(*Settlement_Store::Walk(con, kind, top, person, card), kind, cutoff).count > 1)
            return true;
    }
    return false;
}

}  // namespace

Card_Key keyOf(std::int64_t person, const std::string& card) {
    std::string k = card;
    for (char& ch : k)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return {person, k};
}

namespace {

// What one card of a set holds for its walks, read once for the set.
struct Card_Walks {
    Listed_Card listed;
    std::vector<Walk_Row> rows[2];  // money, times: serials 2..top, highest first
    std::int64_t top[2] = {0, 0};   // the highest serial before the cut-off
    bool bothSerials = false;       // a row with both serials: walked card by card
};

// Rows of the set's employees as read: the cards of the set kept.
struct Read_Row {
    std::int64_t id, serial[2];
    db::Value change[2], balance[2], date, type, err;
};

}  // namespace

// A set's rows as read for its walks, by card as the database compares them.
struct Set_Rows {
    std::map<Card_Key, Card_Walks> walks;  // the listed card and its top serials
    std::map<Card_Key, std::vector<Read_Row>> read;
    std::set<std::int64_t> lateSeen;  // rows after the cut-off taken once, however many reads meet them
    std::string people;
    std::int64_t since = -1;  // read before the lock: rows above this ID came later

    // Takes rows of the set's cards; `later`: only those dated on or after
    // the cut-off (or not at all) and not taken before. False when `later`
    // met a row before the cut-off.
    bool take(db::Recordset& rs, bool later, const std::string& cutoff) {
        const int id = rs.fieldIndex("ID"), person = rs.fieldIndex("Pinfo_ID"), card = rs.fieldIndex("Card_No"),
                  money = rs.fieldIndex("Card_LiuShui"), times = rs.fieldIndex("Ci_LiuShui"),
                  moneyChange = rs.fieldIndex("YuE_Change"), moneyAfter = rs.fieldIndex("YuE_New"),
                  timesChange = rs.fieldIndex("YuCi_Change"), timesAfter = rs.fieldIndex("YuCi_New"),
                  date = rs.fieldIndex("Date_Time"), type = rs.fieldIndex("XF_Type"), err = rs.fieldIndex("Err_Code");
        bool onlyLater = true;
        for (; !rs.eof(); rs.moveNext()) {
            const Card_Key key = keyOf(rs.field(person).toInt64(), rs.field(card).toString());
            if (walks.count(key) == 0) continue;
            if (later) {
                const db::Value& d = rs.field(date);
                if (!d.isNull() && d.toString() < cutoff) {
                    onlyLater = false;
                    continue;  // read before the cut-off already
                }
                if (!lateSeen.insert(rs.field(id).toInt64()).second) continue;  // met twice
            }
            read[key].push_back({rs.field(id).toInt64(),
                                 {rs.field(money).toInt64(), rs.field(times).toInt64()},
                                 {rs.field(moneyChange), rs.field(timesChange)},
                                 {rs.field(moneyAfter), rs.field(timesAfter)},
                                 rs.field(date),
                                 rs.field(type),
                                 rs.field(err)});
        }
        return onlyLater;
    }
};

namespace {

Set_Rows readRows(db::Connection& con, const std::vector<Listed_Card>& cards, const std::string& cutoff,
                  const Late_Serials& late) {
    Set_Rows s;
    std::set<std::int64_t> people;
    for (const Listed_Card& c : cards) {
        s.walks[keyOf(c.person, c.card)].listed = c;
        people.insert(c.person);
    }
    s.people = sql::numList(people);
    s.take(*Settlement_Store::Serial_Rows(con, s.people, cutoff), false, cutoff);
    std::int64_t most[2] = {0, 0};
    for (const auto& [key, rows] : s.read)
        for (const Read_Row& r : rows)
            for (int k = 0; k < 2; ++k)
                if (r.serial[k] > 0) {
                    s.walks[key].top[k] = std::max(s.walks[key].top[k], r.serial[k]);
                    most[k] = std::max(most[k], r.serial[k]);
                }
    // The rows dated on or after the cut-off below a card's top (another
    // card of its number, a clock set wrong) are part of its walk too: those
    // of the cards that held such rows when the run began, and any written
    // since.
    std::string lateList = s.people;
    if (late.known) {
        s.take(*Settlement_Store::New_Rows(con, s.people, late.since), true, cutoff);
        std::set<std::int64_t> latePeople;
        for (const auto& [key, w] : s.walks) {
            const auto low = late.lowest.find(key);
            if (low == late.lowest.end()) continue;
            const auto [money, times] = low->second;
            if ((money > 0 && money <= w.top[0]) || (times > 0 && times <= w.top[1])) latePeople.insert(key.first);
        }
        lateList = sql::numList(latePeople);
    }
    if (!lateList.empty() && (most[0] >= 2 || most[1] >= 2))
        s.take(*Settlement_Store::Late_Rows(con, lateList, cutoff, most[0], most[1]), true, cutoff);
    return s;
}

std::map<Card_Key, Card_Walks> walksOf(Set_Rows&& s) {
    std::map<Card_Key, Card_Walks> walks = std::move(s.walks);
    for (auto& [key, rows] : s.read) {
        Card_Walks& w = walks[key];
        for (const Read_Row& r : rows) {
            w.bothSerials = w.bothSerials || (r.serial[0] > 0 && r.serial[1] > 0);
            for (int k = 0; k < 2; ++k)
                if (r.serial[k] >= 2 && r.serial[k] <= w.top[k])
                    w.rows[k].push_back({r.id, r.serial[k], r.change[k], r.balance[k], r.date, r.type, r.err});
        }
        for (auto& kind : w.rows)
            std::sort(kind.begin(), kind.end(), [](const Walk_Row& a, const Walk_Row& b) {
                return a.serial != b.serial ? a.serial > b.serial : a.id > b.id;
            });
    }
    return walks;
}

std::map<Card_Key, Card_Walks> readWalks(db::Connection& con, const std::vector<Listed_Card>& cards,
                                         const std::string& cutoff, const Late_Serials& late) {
    return walksOf(readRows(con, cards, cutoff, late));
}

bool before(const db::Value& date, const std::string& bound) { return !date.isNull() && date.toString() < bound; }

}  // namespace

Late_Serials Late_Serials::read(db::Connection& con, const std::string& cutoff, const std::function<void()>& alive) {
    Late_Serials late;
    {
        // Every card held for a moment: a terminal that took its card before
        // has committed, and one after gets an ID above the highest now.
        db::Transaction t(con);
        con.lockRows("Card_Info", "1=1 order by ID");
        late.since = highestRecordId(con);
        t.commit();
    }
    if (alive) alive();  // every card held took its while on a large site
    const auto lower = [](std::int64_t& kept, const db::Value& v) {
        if (!v.isNull() && (kept == 0 || v.toInt64() < kept)) kept = v.toInt64();
    };
    const auto take = [&](db::Recordset& rows) {
        const int person = rows.fieldIndex("Pinfo_ID"), card = rows.fieldIndex("Card_No"),
                  money = rows.fieldIndex("Low_Money"), times = rows.fieldIndex("Low_Times");
        for (std::int64_t n = 1; !rows.eof(); rows.moveNext(), ++n) {
            if (alive && n % 4096 == 0) alive();
            auto& low = late.lowest[keyOf(rows.field(person).toInt64(), rows.field(card).toString())];
            lower(low.first, rows.field(money));
            lower(low.second, rows.field(times));
        }
    };
    // In pieces of the dates, where a long read keeps terminals out and for
    // the window's sake everywhere; a card then comes once per piece, and the
    // lowest of its rows is kept.
    db::ReadPieces pieces = con.readPieces(Settlement_Store::Late_Pieces(cutoff));
    while (const auto piece = pieces.next()) {
        const auto started = std::chrono::steady_clock::now();
        take(*Settlement_Store::Late_Lows(con, cutoff, *piece));
        pieces.took(std::chrono::steady_clock::now() - started);
        if (alive) alive();
    }
    if (pieces.split()) take(*Settlement_Store::Late_Lows(con, cutoff, "Date_Time is null"));
    late.known = true;
    return late;
}

namespace {

// As Settle_Card holds each card's row, in one order against another writer.
void holdCards(db::Connection& con, const std::vector<Listed_Card>& cards) {
    std::string numbers;
    for (const Listed_Card& c : cards) numbers += (numbers.empty() ? "'" : ",'") + sql::q(c.card) + "'";
    con.lockRows("Card_Info", "Card_No in (" + numbers + ") order by ID");
}

}  // namespace

std::shared_ptr<Set_Rows> Read_Set(db::Connection& con, const std::vector<Listed_Card>& cards,
                                   const std::string& cutoff, const Late_Serials& late) {
    std::int64_t since = 0;
    if (con.onServer()) {
        // The cards held for a moment: a terminal that took one before has
        // committed, and one after gets an ID above the highest now.
        db::Transaction t(con);
        holdCards(con, cards);
        since = highestRecordId(con);
        t.commit();
    } else {
        since = highestRecordId(con);  // the file's IDs come in the order of their commits
    }
    auto read = std::make_shared<Set_Rows>(readRows(con, cards, cutoff, late));
    read->since = since;
    return read;
}

std::int64_t Read_Top(const Set_Rows& read) { return read.since; }

void collapseWrites(const std::vector<Walk_Row>& rows, const Walk_Result& r, int kind, const std::string& cutoff,
                    const std::string& backupStart, Collapse_Writes& out) {
    const std::int64_t n = r.collapse.serial;
    const auto add = [](std::string& to, std::int64_t id) { to += (to.empty() ? "" : ",") + sql::num(id); };
    // As the collapse's statements take them: serials 2..N copied but
    // earlier settlement rows and rows before the backup start, and at N
    // only rows before the cut-off; 2..N-1 deleted; N settled.
    for (const Walk_Row& row : rows) {
        if (row.serial > n) continue;
        const bool settledBefore = row.type.isNull() || row.type.toDouble() == XF_Type_Code::Settlement;
        const bool copied = !settledBefore && !row.date.isNull() && row.date.toString() >= backupStart &&
                            (row.serial < n || before(row.date, cutoff));
        if (row.serial < n) add(copied ? out.moved : out.gone, row.id);
        else if (copied) add(out.copy, row.id);
        if (row.serial == n && (row.date.isNull() || before(row.date, cutoff)))
            out.settled[kind].push_back({row.id, r.collapse.sum, r.collapse.balance});
    }
}

namespace {

// Up to `room` IDs off the front of the list `ids` ("1,2,3"), `room` less
// those taken.
std::string takeIds(std::string_view& ids, std::size_t& room) {
    std::size_t stop = 0, n = 0;
    for (; n < room && stop < ids.size(); ++n) {
        const std::size_t comma = ids.find(',', stop);
        stop = comma == std::string_view::npos ? ids.size() : comma + 1;
    }
    room -= n;
    std::string taken(ids.substr(0, stop));
    if (!taken.empty() && taken.back() == ',') taken.pop_back();
    ids.remove_prefix(stop);
    return taken;
}

}  // namespace

void Write_Collapses(db::Connection& con, const Collapse_Writes& w, const std::function<void()>& between) {
    // Some thousand rows to a statement, the rows copied, moved and dropped
    // together, as one statement takes them; on the server all in one where
    // nobody is told between them (each statement more cost a few
    // milliseconds there).
    const std::size_t piece = between || !con.onServer() ? 2000 : std::numeric_limits<std::size_t>::max();
    std::string_view copy = w.copy, moved = w.moved, gone = w.gone;
    while (!copy.empty() || !moved.empty() || !gone.empty()) {
        std::size_t room = piece;
        const std::string c = takeIds(copy, room), m = takeIds(moved, room), g = takeIds(gone, room);
        Settlement_Store::Move_Rows(con, c, m, g);
        if (between) between();
    }
    for (int k = 0; k < 2; ++k)
        for (auto from = w.settled[k].begin(); from != w.settled[k].end();) {
            const auto to = from + static_cast<std::ptrdiff_t>(
                                       std::min<std::size_t>(piece, static_cast<std::size_t>(w.settled[k].end() - from)));
            Settlement_Store::Settle_Rows(con, k == 0 ? Serial::Money : Serial::Times, {from, to});
            if (between) between();
            from = to;
        }
}

namespace {

// Where a walk that counts more than `most` rows may stop short: the place
// in `rows` of a counted row M about `most` rows above serial 2 that a walk
// from M takes as its first row, so that collapsing 2..M now and the rest
// later leaves what one collapse would (the later walk sums M's settlement
// row with the rows above it); none where there is no such row. `rows`: the
// walk's rows, highest serial first; `top`: the serial the whole walk settles.
std::optional<std::size_t> shortStop(const std::vector<Walk_Row>& rows, std::int64_t top, const std::string& cutoff,
                                     std::int64_t most) {
    std::int64_t counted = 0;
    for (std::size_t i = rows.size(); i-- > 0;) {
        const Walk_Row& row = rows[i];
        if (row.serial < 2) continue;
        if (row.serial >= top) return std::nullopt;
        if (++counted < most) continue;
        // Alone at its serial (a serial uploaded twice is settled as one),
        // valid and dated before the cut-off, so that a walk from it counts
        // every row below it, as the whole walk did.
        const bool alone = (i == 0 || rows[i - 1].serial != row.serial) &&
                           (i + 1 == rows.size() || rows[i + 1].serial != row.serial);
        if (alone && row.serial > 2 && !row.err.isNull() && row.err.toDouble() == 0 && before(row.date, cutoff) &&
            !row.date.toString().empty())
            return i;
    }
    return std::nullopt;
}

}  // namespace

void Settle_Cards(db::Connection& con, const std::vector<Listed_Card>& cards, const std::string& cutoff,
                  const std::string& backupStart, const Late_Serials& late, Set_Rows* read, std::int64_t mostRows,
                  std::vector<Listed_Card>* more) {
    if (cards.empty()) return;
    db::Transaction t(con);
    holdCards(con, cards);
    // What was written since the set was read: rows after the cut-off join
    // its walks; a row before it (old rows uploaded late) has it read again.
    const bool readBefore = read && read->since >= 0 &&
                            read->take(*Settlement_Store::New_Rows(con, read->people, read->since), true, cutoff);
    Collapse_Writes writes;
    std::vector<Listed_Card> alone;
    for (const auto& [key, w] : readBefore ? walksOf(std::move(*read)) : readWalks(con, cards, cutoff, late)) {
        if (w.bothSerials) {
            alone.push_back(w.listed);
            continue;
        }
        bool shortened = false;
        for (int k = 0; k < 2; ++k) {
            if (w.rows[k].empty()) continue;
            Walk_Result r = Walk_Card(w.rows[k], cutoff);
            if (r.count <= 1) continue;
            // A walk whose first row had no date passed uncertain rows over:
            // a turn from a dated row below would count them.
            if (mostRows > 0 && more && r.count > mostRows && r.dated) {
                if (const auto stop = shortStop(w.rows[k], r.collapse.serial, cutoff, mostRows)) {
                    const auto from = w.rows[k].begin() + static_cast<std::ptrdiff_t>(*stop);
                    r = Walk_Card(std::vector<Walk_Row>(from, w.rows[k].end()), cutoff);
                    shortened = true;
                }
            }
            collapseWrites(w.rows[k], r, k, cutoff, backupStart, writes);
        }
        if (shortened) more->push_back(w.listed);
    }
    Write_Collapses(con, writes);
    for (const Listed_Card& c : alone) Settle_Card(con, c.person, c.card, cutoff, backupStart);
    t.commit();
}

std::vector<Listed_Card> Unsettled_Of(db::Connection& con, const std::vector<Listed_Card>& cards,
                                      const std::string& cutoff, const Late_Serials& late) {
    std::vector<Listed_Card> out;
    if (cards.empty()) return out;
    for (const auto& [key, w] : readWalks(con, cards, cutoff, late)) {
        bool left = w.bothSerials && needsSettling(con, w.listed.person, w.listed.card, cutoff);
        for (int k = 0; k < 2 && !left && !w.bothSerials; ++k)
            left = !w.rows[k].empty() && Walk_Card(w.rows[k], cutoff).count > 1;
        if (left) out.push_back(w.listed);
    }
    return out;
}

std::optional<std::vector<std::pair<std::int32_t, std::string>>> Unsettled_Cards(
    db::Connection& con, const std::string& cutoff, const Late_Serials& late, const std::vector<Listed_Card>& missed,
    const std::function<bool(const Listed_Card& next)>& goOn) {
    std::set<std::pair<std::int64_t, std::string>> candidates;
    for (const Listed_Card& c : missed) candidates.emplace(c.person, c.card);
    auto rows = Settlement_Store::Candidates(con, cutoff, late.since);
    const int p = rows->fieldIndex("Pinfo_ID"), c = rows->fieldIndex("Card_No");
    for (; !rows->eof(); rows->moveNext()) candidates.emplace(rows->field(p).toInt64(), rows->field(c).toString());
    rows.reset();
    std::vector<std::pair<std::int32_t, std::string>> out;
    std::vector<Listed_Card> set;
    const auto check = [&] {
        for (const Listed_Card& c : Unsettled_Of(con, set, cutoff, late)) out.emplace_back(c.person, c.card);
        set.clear();
    };
    // A few hundred cards to a read, their employees' rows read once.
    for (const auto& [person, card] : candidates) {
        const Listed_Card next{static_cast<std::int32_t>(person), card};
        if (set.size() >= 200) {
            check();
            if (goOn && !goOn(next)) return std::nullopt;
        }
        set.push_back(next);
    }
    check();
    return out;
}

}  // namespace tolvenk::IC_Settlement
