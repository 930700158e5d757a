#include "data/IcSettlementAlong.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>

#include "data/ByKeyRange.h"
#include "data/SettlementStore.h"
#include "data/SqlPieces.h"
#include "data/ThrottledTelling.h"
#include "data/WriteBatch.h"
#include "data/XfTypeCode.h"
#include "platform/DateText.h"
#include "platform/SizedToTake.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"

namespace tolvenk::IC_Settlement {

namespace {

// A row of a chain as small as the walk allows: a million of them are held.
constexpr std::size_t kDateChars = 19;  // "yyyy-MM-dd hh:mm:ss"
struct Slim_Row {
    std::int64_t id = 0, serial = 0, change = 0, balance = 0;
    double type = 0, err = 0;
    std::array<char, kDateChars> date{};
    std::uint8_t dateLength = 0, nulls = 0;
};
enum : std::uint8_t { kNoDate = 1, kNoType = 2, kNoErr = 4, kNoChange = 8, kNoBalance = 16 };

std::string_view dateOf(const Slim_Row& r) { return {r.date.data(), r.dateLength}; }
std::string dateText(const Slim_Row& r) { return std::string(dateOf(r)); }
// Whether the row is dated before `bound`, as the walk compares dates.
bool datedBefore(const Slim_Row& r, std::string_view bound) { return !(r.nulls & kNoDate) && dateOf(r) < bound; }

Walk_Row toWalk(const Slim_Row& r) {
    const auto or_null = [&](std::uint8_t bit, db::Value v) { return (r.nulls & bit) ? db::Value() : v; };
    return {r.id,
            r.serial,
            or_null(kNoChange, db::Value(r.change)),
            or_null(kNoBalance, db::Value(r.balance)),
            or_null(kNoDate, db::Value(dateText(r))),
            or_null(kNoType, db::Value(r.type)),
            or_null(kNoErr, db::Value(r.err))};
}

// One card's rows of one kind from serial 2 to its top, in the walk's order.
struct Chain {
    std::vector<Slim_Row> rows;
    std::int64_t top = 0;  // the highest serial dated before the cut-off
    // By row, the earliest dated row from the first to it (kUndated: none):
    // a slice's top row is found by halving, not by going over the rows of
    // the days after it once a slice, which made many short slices cost
    // many times the rows. Rows go only from the end, and dates never
    // change: what is left stays right.
    static constexpr std::uint32_t kUndated = UINT32_MAX;
    std::vector<std::uint32_t> earliest;
    void index() {
        earliest.resize(rows.size());
        std::uint32_t least = kUndated;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (!(rows[i].nulls & kNoDate) && (least == kUndated || dateOf(rows[i]) < dateOf(rows[least])))
                least = static_cast<std::uint32_t>(i);
            earliest[i] = least;
        }
    }
    // The first row dated before `day`, in the walk's order.
    std::vector<Slim_Row>::const_iterator firstBefore(std::string_view day) const {
        const auto i = std::partition_point(earliest.begin(), earliest.end(), [&](std::uint32_t least) {
            return least == kUndated || !datedBefore(rows[least], day);
        });
        return rows.begin() + (i - earliest.begin());
    }
    // The first row at or below `serial` (rows go down by serial).
    template <class Rows>
    static auto atOrBelow(Rows& rows, std::int64_t serial) {
        return std::partition_point(rows.begin(), rows.end(), [&](const Slim_Row& r) { return r.serial > serial; });
    }
};

struct Group_Card {
    Listed_Card listed;
    Chain chains[2];       // money, times
    bool sliced = true;    // not: a row with both serials, or a date the slices cannot hold
    bool written = false;  // written to beside the run in a way its walk sees
};

using Cards = std::map<Card_Key, Group_Card>;

// Takes rows of the group's cards as the sets' reads take them; `later`:
// only those dated on or after the cut-off (or not at all) not taken yet.
void take(db::Recordset& rs, bool later, const std::string& cutoff, Cards& cards, std::set<std::int64_t>& seen,
          const std::function<void()>& alive) {
    const int id = rs.fieldIndex("ID"), person = rs.fieldIndex("Pinfo_ID"), card = rs.fieldIndex("Card_No"),
              serial[2] = {rs.fieldIndex("Card_LiuShui"), rs.fieldIndex("Ci_LiuShui")},
              change[2] = {rs.fieldIndex("YuE_Change"), rs.fieldIndex("YuCi_Change")},
              balance[2] = {rs.fieldIndex("YuE_New"), rs.fieldIndex("YuCi_New")}, date = rs.fieldIndex("Date_Time"),
              type = rs.fieldIndex("XF_Type"), err = rs.fieldIndex("Err_Code");
    for (std::int64_t n = 1; !rs.eof(); rs.moveNext(), ++n) {
        if (alive && n % 4096 == 0) alive();
        const auto found = cards.find(keyOf(rs.field(person).toInt64(), rs.field(card).toString()));
        if (found == cards.end()) continue;
        Group_Card& c = found->second;
        const db::Value& d = rs.field(date);
        if (later) {
            if (!d.isNull() && d.toString() < cutoff) continue;        // read with the rows before it
            if (!seen.insert(rs.field(id).toInt64()).second) continue;  // met twice
        }
        const std::int64_t s[2] = {rs.field(serial[0]).toInt64(), rs.field(serial[1]).toInt64()};
        if (s[0] > 0 && s[1] > 0) c.sliced = false;
        if (!d.isNull() && (!d.isText() || d.asText().size() > kDateChars)) c.sliced = false;
        if (!c.sliced) continue;
        for (int k = 0; k < 2; ++k) {
            if (s[k] <= 0) continue;
            Slim_Row r;
            r.id = rs.field(id).toInt64();
            r.serial = s[k];
            const db::Value &ch = rs.field(change[k]), &ba = rs.field(balance[k]), &ty = rs.field(type),
                            &er = rs.field(err);
            r.nulls = static_cast<std::uint8_t>((d.isNull() ? kNoDate : 0) | (ty.isNull() ? kNoType : 0) |
                                                (er.isNull() ? kNoErr : 0) | (ch.isNull() ? kNoChange : 0) |
                                                (ba.isNull() ? kNoBalance : 0));
            r.change = ch.toInt64();
            r.balance = ba.toInt64();
            r.type = ty.toDouble();
            r.err = er.toDouble();
            if (!d.isNull()) {
                const std::string& t = d.asText();
                std::memcpy(r.date.data(), t.data(), t.size());
                r.dateLength = static_cast<std::uint8_t>(t.size());
            }
            if (!later && !(r.nulls & kNoDate)) c.chains[k].top = std::max(c.chains[k].top, r.serial);
            c.chains[k].rows.push_back(r);
        }
    }
}

// The group's rows as the sets' reads find them: those before the cut-off,
// and those on or after it (or undated) below a card's top. Read some
// hundred employees at a time: a statement's rows lie in memory whole.
Cards readGroup(db::Connection& con, const std::vector<Listed_Card>& listed, const std::string& cutoff,
                const Late_Serials& late, const std::function<void()>& alive) {
    // A piece of people is read at once, the window waiting: sized by the
    // time the last one took (their rows are many on a large file).
    constexpr auto kPieceTime = std::chrono::milliseconds(40);
    std::size_t piece = 5;
    Cards cards;
    std::set<std::int64_t> people, seen;
    for (const Listed_Card& c : listed) {
        cards[keyOf(c.person, c.card)].listed = c;
        people.insert(c.person);
    }
    const auto inPieces = [&](const std::set<std::int64_t>& of, const std::function<void(const std::string&)>& read) {
        std::vector<std::int64_t> some;
        for (auto p = of.begin(); p != of.end();) {
            some.push_back(*p++);
            if (some.size() < piece && p != of.end()) continue;
            const auto started = std::chrono::steady_clock::now();
            read(sql::numList(some));
            const auto took = std::chrono::steady_clock::now() - started;
            const auto size = static_cast<std::int64_t>(some.size());
            if (took.count() > 0)
                piece = static_cast<std::size_t>(
                    platform::sizedToTake(size, took, kPieceTime, 1e9, 1, std::max<std::int64_t>(50, 4 * size)));
            some.clear();
            if (alive) alive();
        }
    };
    inPieces(people, [&](const std::string& list) {
        take(*Settlement_Store::Serial_Rows(con, list, cutoff), false, cutoff, cards, seen, alive);
    });
    std::int64_t most[2] = {0, 0};
    for (auto& [key, c] : cards)
        for (int k = 0; k < 2; ++k) most[k] = std::max(most[k], c.chains[k].top);
    std::set<std::int64_t> latePeople = people;
    if (late.known) {
        take(*Settlement_Store::New_Rows(con, sql::numList(people), late.since), true, cutoff, cards, seen, alive);
        latePeople.clear();
        for (const auto& [key, c] : cards) {
            const auto low = late.lowest.find(key);
            if (low == late.lowest.end()) continue;
            const auto [money, times] = low->second;
            if ((money > 0 && money <= c.chains[0].top) || (times > 0 && times <= c.chains[1].top))
                latePeople.insert(key.first);
        }
    }
    if (most[0] >= 2 || most[1] >= 2)
        inPieces(latePeople, [&](const std::string& list) {
            take(*Settlement_Store::Late_Rows(con, list, cutoff, most[0], most[1]), true, cutoff, cards, seen, alive);
        });
    for (auto& [key, c] : cards) {
        for (Chain& chain : c.chains) {
            std::erase_if(chain.rows, [&](const Slim_Row& r) { return r.serial < 2 || r.serial > chain.top; });
            std::sort(chain.rows.begin(), chain.rows.end(), [](const Slim_Row& a, const Slim_Row& b) {
                return a.serial != b.serial ? a.serial > b.serial : a.id > b.id;
            });
            chain.rows.shrink_to_fit();
            chain.index();
        }
        if (alive) alive();
    }
    return cards;
}

// A chain's collapse to `day` as a settlement to that day finds it: the
// writes, and how the chain stands after them.
struct Step {
    Card_Key card;
    int kind = 0;
    Walk_Result walk;
};
std::optional<Step> stepTo(const Card_Key& key, int kind, const Chain& chain, const std::string& day,
                           const std::string& backupStart, Collapse_Writes& writes) {
    // The walk from the highest serial dated before the day, over every row at or below it.
    const auto topRow = chain.firstBefore(day);
    if (topRow == chain.rows.end()) return std::nullopt;
    const auto from = Chain::atOrBelow(chain.rows, topRow->serial);
    std::vector<Walk_Row> walk;
    walk.reserve(static_cast<std::size_t>(chain.rows.end() - from));
    for (auto r = from; r != chain.rows.end(); ++r) walk.push_back(toWalk(*r));
    Step step{key, kind, Walk_Card(walk, day)};
    if (step.walk.count <= 1) return std::nullopt;
    collapseWrites(walk, step.walk, kind, day, backupStart, writes);
    return step;
}

// The chain as the step's writes left it: the rows below the collapse's
// serial gone, those settled at it holding the sum.
void apply(const Step& step, Chain& chain, const std::string& day) {
    const std::int64_t n = step.walk.collapse.serial;
    chain.rows.erase(Chain::atOrBelow(chain.rows, n - 1), chain.rows.end());
    chain.earliest.resize(chain.rows.size());
    for (auto r = Chain::atOrBelow(chain.rows, n); r != chain.rows.end(); ++r)
        if ((r->nulls & kNoDate) || datedBefore(*r, day)) {
            r->type = XF_Type_Code::Settlement;
            r->change = step.walk.collapse.sum;
            r->balance = step.walk.collapse.balance;
            r->nulls = static_cast<std::uint8_t>(r->nulls & ~(kNoType | kNoChange | kNoBalance));
        }
}

// Rows written since `since` that a card's walk sees mark it written: one
// dated before the cut-off, or any at or below its top (another card of its
// number, a clock set wrong). A till's usual row lies above the top.
void lookForWrites(db::Connection& con, const std::string& people, std::int64_t& since, const std::string& cutoff,
                   Cards& cards) {
    auto rs = Settlement_Store::New_Rows(con, people, since);
    const int id = rs->fieldIndex("ID"), person = rs->fieldIndex("Pinfo_ID"), card = rs->fieldIndex("Card_No"),
              money = rs->fieldIndex("Card_LiuShui"), times = rs->fieldIndex("Ci_LiuShui"),
              date = rs->fieldIndex("Date_Time");
    for (; !rs->eof(); rs->moveNext()) {
        since = std::max(since, rs->field(id).toInt64());
        const auto found = cards.find(keyOf(rs->field(person).toInt64(), rs->field(card).toString()));
        if (found == cards.end()) continue;
        Group_Card& c = found->second;
        const db::Value& d = rs->field(date);
        const std::int64_t s[2] = {rs->field(money).toInt64(), rs->field(times).toInt64()};
        if ((!d.isNull() && d.toString() < cutoff) || (s[0] > 0 && s[0] <= c.chains[0].top) ||
            (s[1] > 0 && s[1] <= c.chains[1].top) || (s[0] > 0 && s[1] > 0))
            c.written = true;
    }
}

// The hours that end the slices: about `rows` rows dated before the cut-off
// to a slice, told one after another; a slice ends at the end of an hour.
class Slice_Days {
public:
    Slice_Days(const Cards& cards, const std::string& cutoff, const std::function<void()>& alive) {
        constexpr std::size_t kHour = 13;  // "yyyy-MM-dd hh"
        std::map<std::string, std::int64_t> rows;
        for (const auto& [key, c] : cards) {
            for (const Chain& chain : c.chains)
                for (const Slim_Row& r : chain.rows)
                    if (datedBefore(r, cutoff)) ++rows[std::string(r.date.data(), std::min<std::size_t>(kHour, r.dateLength))];
            alive();
        }
        std::int64_t sum = 0;
        for (const auto& [hour, n] : rows) hours_.push_back({hour, sum += n});
    }
    // The end of the next slice of about `rows` rows (the start of the hour
    // after it); nullopt once the slices have come to the cut-off.
    std::optional<std::string> next(std::int64_t rows) {
        const std::int64_t upTo = done_ + std::max<std::int64_t>(rows, 1);
        while (at_ < hours_.size() && hours_[at_].second < upTo) ++at_;
        if (at_ + 1 >= hours_.size()) {
            at_ = hours_.size();
            done_ = hours_.empty() ? 0 : hours_.back().second;
            return std::nullopt;
        }
        done_ = hours_[at_].second;
        return hours_[++at_].first;
    }
    double done() const {
        return hours_.empty() ? 1.0 : static_cast<double>(done_) / static_cast<double>(hours_.back().second);
    }

private:
    std::vector<std::pair<std::string, std::int64_t>> hours_;  // each hour and the rows up to its end
    std::size_t at_ = 0;
    std::int64_t done_ = 0;
};

std::int64_t rowsMoved(const Collapse_Writes& w) {
    std::int64_t n = 0;
    for (const std::string* ids : {&w.moved, &w.gone})
        if (!ids->empty()) n += 1 + std::count(ids->begin(), ids->end(), ',');
    return n;
}

// The progress told between the slices, and now and then through a long
// read or a slice's writes so that the window takes its events; a stop it
// asks for meanwhile is kept for the next slice.
class Telling {
public:
    explicit Telling(const std::function<bool(double)>& progress)
        : telling_([this, &progress] { return !progress || progress(done_); }, std::chrono::milliseconds(20)) {}
    Telling(const Telling&) = delete;
    Telling& operator=(const Telling&) = delete;
    bool between(double done) {
        done_ = done;
        return telling_.now();
    }
    void alive() { telling_.alive(); }
    void now() { telling_.now(); }
    bool stopped() const { return telling_.stopped(); }

private:
    double done_ = 0;
    Throttled_Telling telling_;
};

}  // namespace

Along_Limits& Along_Limits::standard() {
    static Along_Limits limits;
    return limits;
}

std::vector<std::vector<Listed_Card>> Along_Groups(db::Connection& con, std::vector<Listed_Card> cards,
                                                   const std::string& cutoff, const std::function<void()>& alive) {
    const Along_Limits& limits = Along_Limits::standard();
    std::vector<std::vector<Listed_Card>> groups;
    if (cards.empty()) return groups;
    // Counted a month at a time along the dates' index, the window told between.
    std::int64_t rows = 0;
    const auto first = con.openRecordset("select min(Date_Time) from Record_XF");
    std::string from = first->eof() || first->field(0).isNull() ? cutoff : first->field(0).toString();
    while (from < cutoff) {
        std::string to = cutoff;
        if (const auto day = readDate(from)) {
            const auto next = std::chrono::year_month(day->year(), day->month()) + std::chrono::months(1);
            to = std::min(cutoff, formatMonth(static_cast<int>(next.year()), static_cast<unsigned>(next.month())) + "-01");
        }
        const auto rs = con.openRecordset("select count(*) from Record_XF where Date_Time >= '" + sql::q(from) +
                                          "' and Date_Time < '" + sql::q(to) + "'");
        rows += rs->eof() ? 0 : rs->field(0).toInt64();
        if (alive) alive();
        from = to;
    }
    if (rows < limits.fromRows) return groups;
    const std::int64_t per = std::max<std::int64_t>(1, limits.groupRows);
    const auto n = static_cast<std::size_t>(std::max<std::int64_t>(1, (rows + per - 1) / per));
    const std::size_t each = (cards.size() + n - 1) / n;
    for (std::size_t first = 0; first < cards.size(); first += each)
        groups.emplace_back(cards.begin() + static_cast<std::ptrdiff_t>(first),
                            cards.begin() + static_cast<std::ptrdiff_t>(std::min(cards.size(), first + each)));
    return groups;
}

Along_Result Settle_Along(db::Connection& con, const std::vector<Listed_Card>& listed, const std::string& cutoff,
                          const std::string& backupStart, const Late_Serials& late,
                          const std::function<bool(double done)>& progress) {
    // A slice's writes are timed: the next one is sized to what is left of
    // the lock's stretch, one commit for each.
    Along_Result result;
    Telling telling(progress);
    const std::function<void()> alive = [&telling] { telling.alive(); };
    // The file's IDs come in the order of their commits: rows above this one came later.
    std::int64_t since = highestRecordId(con);
    Cards cards = readGroup(con, listed, cutoff, late, alive);
    std::set<std::int64_t> people;
    for (const Listed_Card& c : listed) people.insert(c.person);
    const std::string peopleList = sql::numList(people);

    Slice_Days days(cards, cutoff, alive);
    Write_Batch batch(con);
    batch.whileWaiting(alive);
    std::int64_t sliceRows = Along_Limits::standard().firstSlice;
    double rowTime = 0;  // seconds a row moved took, by the last slice
    bool failed = false;
    for (bool last = false; !last && !failed;) {
        if (!telling.between(days.done())) {
            result.stopped = true;
            return result;
        }
        const double room = std::chrono::duration<double>(batch.writesLeft()).count();
        if (rowTime > 0) sliceRows = std::clamp<std::int64_t>(static_cast<std::int64_t>(room / rowTime), 1, 4 * sliceRows);
        const std::optional<std::string> next = days.next(sliceRows);
        last = !next;
        const std::string day = next ? *next : cutoff;
        Collapse_Writes writes;
        std::vector<Step> steps;
        std::map<Card_Key, Collapse_Writes> byCard;
        for (auto& [key, c] : cards) {
            if (!c.sliced || c.written) continue;
            for (int k = 0; k < 2; ++k)
                if (auto step = stepTo(key, k, c.chains[k], day, backupStart, byCard[key])) steps.push_back(*step);
            alive();
        }
        std::chrono::steady_clock::time_point started;
        std::int64_t moved = 0;
        try {
            batch.items(
                static_cast<std::int64_t>(cards.size()),
                [&](db::Connection& c) {
                    started = std::chrono::steady_clock::now();  // the lock held from here
                    lookForWrites(c, peopleList, since, cutoff, cards);
                    for (auto& [key, w] : byCard) {
                        if (cards[key].written) continue;
                        const auto join = [](std::string& to, const std::string& ids) {
                            if (!ids.empty()) to += (to.empty() ? "" : ",") + ids;
                        };
                        join(writes.copy, w.copy);
                        join(writes.moved, w.moved);
                        join(writes.gone, w.gone);
                        for (int k = 0; k < 2; ++k)
                            writes.settled[k].insert(writes.settled[k].end(), w.settled[k].begin(), w.settled[k].end());
                    }
                    moved = rowsMoved(writes);
                    Write_Collapses(c, writes, alive);
                    telling.now();  // the commit after it takes its time too
                    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
                    if (moved > 0 && took > 0) rowTime = took / static_cast<double>(moved);
                },
                [&] {
                    for (const Step& s : steps)
                        if (!cards[s.card].written) apply(s, cards[s.card].chains[s.kind], day);
                },
                [&](const std::string&) { failed = true; });
            if (!batch.commit()) failed = true;
        } catch (const std::exception& e) {
            if (db::connectionLost(e)) throw;
            failed = true;  // the sets name the card at fault
        }
    }
    if (failed) return result;
    if (telling.stopped()) {
        result.stopped = true;
        return result;
    }
    for (const auto& [key, c] : cards)
        if (c.sliced && !c.written) result.settled.insert(key);
    return result;
}

}  // namespace tolvenk::IC_Settlement
