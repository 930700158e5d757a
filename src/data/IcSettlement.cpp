#include "data/IcSettlement.h"

#include "data/SqlPieces.h"
#include "data/XfTypeCode.h"
#include "platform/FenMath.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/Transaction.h"

namespace tolvenk::IC_Settlement {

using Settlement_Store::Serial;

// In pieces where a long read keeps terminals out.
Block::Block(db::Connection& con, const std::string& cutoff, std::int32_t first) {
    for (const Serial kind : {Serial::Money, Serial::Times})
        for (db::ReadPieces pieces = con.readPieces(Settlement_Store::Block_Pieces(first)); const auto piece = pieces.next();)
            read(*Settlement_Store::Block(con, kind, cutoff, first, *piece));
}

Block::Card_Key Block::key(const std::string& card, std::int64_t person) {
    std::string k = card;
    for (char& ch : k)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return {k, person};
}

void Block::read(db::Recordset& rows) {
    const int c = rows.fieldIndex("Card_No"), p = rows.fieldIndex("Pinfo_ID");
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) cards_.insert(key(rows.field(c).toString(), rows.field(p).toInt64()));
}

bool Block::has(const std::string& card, std::int32_t person) const { return cards_.count(key(card, person)) > 0; }

Walk_Result Walk_Card(db::Recordset& rows, Serial kind, const std::string& cutoff) {
    const Settlement_Store::Serial_Columns k = Settlement_Store::columns(kind);
    const int change = rows.fieldIndex(k.change), balance = rows.fieldIndex(k.balance);
    const int date = rows.fieldIndex("Date_Time"), serial = rows.fieldIndex(k.serial);
    const int err = rows.fieldIndex("Err_Code"), type = rows.fieldIndex("XF_Type");
    Walk_Result r;
    std::string marker;
    // A serial a terminal uploaded twice (or that two cards of one number
    // share) leaves one settlement row per upload; together they stand for
    // one settlement, so only the first is summed again.
    std::int64_t settledAt = 0;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        const std::int64_t n = rows.field(serial).toInt64();
        if (n == 1) break;  // a card's first transaction stays as it is
        const db::Value& kind = rows.field(type);
        const bool settlement = !kind.isNull() && kind.toInt64() == XF_Type_Code::Settlement;
        if (settlement && n == settledAt) continue;
        const db::Value& e = rows.field(err);
        // Uncertain rows above the last valid one are passed over; below it every row counts.
        if (!((!e.isNull() && e.toDouble() == 0) || !marker.empty())) continue;
        const std::string t = rows.field(date).toString();
        if (t >= cutoff) {
            marker = t;
            r = Walk_Result{};
            settledAt = 0;
            continue;
        }
        if (r.collapse.serial == 0) {
            r.collapse.serial = n;
            r.collapse.balance = rows.field(balance).toInt64();
            marker = t;
        }
        r.collapse.sum = fenAdd(r.collapse.sum, rows.field(change).toInt64());
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

std::vector<std::pair<std::int32_t, std::string>> Unsettled_Cards(db::Connection& con, const std::string& cutoff) {
    std::set<std::pair<std::int64_t, std::string>> candidates;
    for (const Serial kind : {Serial::Money, Serial::Times})
        for (db::ReadPieces pieces = con.readPieces(Settlement_Store::Candidate_Pieces()); const auto piece = pieces.next();) {
            auto rows = Settlement_Store::Candidates(con, kind, cutoff, *piece);
            const int p = rows->fieldIndex("Pinfo_ID"), c = rows->fieldIndex("Card_No");
            for (; !rows->eof(); rows->moveNext()) candidates.emplace(rows->field(p).toInt64(), rows->field(c).toString());
        }
    std::vector<std::pair<std::int32_t, std::string>> out;
    for (const auto& [person, card] : candidates)
        if (needsSettling(con, static_cast<std::int32_t>(person), card, cutoff))
            out.emplace_back(static_cast<std::int32_t>(person), card);
    return out;
}

}  // namespace tolvenk::IC_Settlement
