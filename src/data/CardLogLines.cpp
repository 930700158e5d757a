#include "data/CardLogLines.h"

#include <initializer_list>
#include <unordered_map>
#include <utility>
#include <vector>

#include "data/OpTypeCode.h"
#include "data/TableColumns.h"
#include "platform/FenMath.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"

namespace tolvenk::Card_Log_Lines {

namespace {

// The columns of a Card_Log row, found by name once per query.
struct LogCols {
    int person, cardNo, cardNumber, date, op, kind, oper, faKa, huan, tui, yuE, yuCi, huanNumber, zyJinE, zyCi;
};

int need(const db::Recordset& rs, const char* name) {
    const int i = rs.fieldIndex(name);
    if (i < 0) throw db::DbError(std::string("Item cannot be found in the collection [") + name + "]", 3265);
    return i;
}

LogCols columnsOf(const db::Recordset& rs) {
    namespace K = col::Card_Log;
    return {need(rs, K::Pinfo_id),   need(rs, K::Card_No),  need(rs, K::Card_Number), need(rs, K::Date_Time),
            need(rs, K::Op_Type),    need(rs, K::C_LeiBie), need(rs, K::Operator_ID), need(rs, K::FaKa_GBF),
            need(rs, K::Huan_GBF),   need(rs, K::Tui_GBF),  need(rs, K::Card_YuE),    need(rs, K::Card_YuCi),
            need(rs, K::Huan_Number), need(rs, K::ZY_JinE), need(rs, K::ZY_Ci)};
}

// A code: NULL counts as 0.
std::int64_t codeOf(const db::Value& v) { return v.isNull() ? 0 : v.toInt64(); }

// Stored fen, exactly, in a sum (NULL counts as 0): added, or taken away
// when `sign` is negative.
void put(Exact_Sum& sum, const db::Value& v, int sign) {
    const auto f = storedFen(v);
    if (!f) sum.addUnknown();
    else if (sign < 0) sum.sub(*f);
    else sum.add(*f);
}

// One stored amount, with its sign; NULL shows the sign alone.
Amount one(const db::Value& v, int sign = 1) {
    Amount a;
    a.null = v.isNull();
    put(a.fen, v, sign);
    return a;
}

// The sum of stored amounts, each with its sign.
Amount sum(std::initializer_list<std::pair<const db::Value*, int>> terms) {
    Amount a;
    for (const auto& [v, sign] : terms) put(a.fen, *v, sign);
    return a;
}

// The line of the log's current row; its employee's row is set when it is sent.
Line lineOf(const db::Recordset& log, const LogCols& k) {
    auto at = [&](int f) -> const db::Value& { return log.field(f); };
    Line l;
    l.kind = codeOf(at(k.kind));
    l.cardNo = at(k.cardNo).toString();
    l.cardNumber = at(k.cardNumber).toString();
    l.date = at(k.date).toString();
    l.op = at(k.op).isNull() ? -1 : at(k.op).toInt64();
    l.operatorId = codeOf(at(k.oper));
    switch (l.op) {
    case Op_Type_Code::Issue:
        l.money = one(at(k.yuE));
        l.times = at(k.yuCi).toString();
        l.fee = one(at(k.faKa));
        l.total = sum({{&at(k.faKa), 1}, {&at(k.yuE), 1}});
        break;
    case Op_Type_Code::Change:
        l.newCard = at(k.huanNumber).toString();
        l.money = one(at(k.zyJinE), -1);
        l.times = at(k.zyCi).toString();
        l.fee = one(at(k.huan));
        break;
    case Op_Type_Code::Return:
    case Op_Type_Code::ForceReturn:
        l.money = one(at(k.zyJinE));
        l.fee = one(at(k.tui), -1);
        l.total = sum({{&at(k.zyJinE), 1}, {&at(k.tui), -1}});
        break;
    default: break;
    }
    return l;
}

}  // namespace

bool Lines(db::Recordset& log, const DataList& emps, const Line_Sink& sink) {
    if (emps.rowUBound() < 1) return true;
    // One pass over the rows sorts their lines to their people, in time order.
    const LogCols k = columnsOf(log);
    std::unordered_map<std::int64_t, std::vector<Line>> byPerson;
    for (log.moveFirst(); !log.eof(); log.moveNext()) {
        if (log.field(k.person).isNull()) continue;
        byPerson[log.field(k.person).toInt64()].push_back(lineOf(log, k));
    }
    const std::int64_t total = log.recordCount();
    const int pid = emps.col(col::Ren_Per_Info::Pinfo_ID);
    std::int64_t done = 0;
    for (int e = 1; e <= emps.rowUBound(); ++e) {
        const auto id = parseNumber(emps(e, pid));
        if (!id) continue;
        const auto it = byPerson.find(static_cast<std::int64_t>(*id));
        if (it == byPerson.end()) continue;
        for (Line& l : it->second) {
            l.emp = e;
            if (!sink(l, ++done, total)) return false;
        }
    }
    return true;
}

}  // namespace tolvenk::Card_Log_Lines
