#include "data/SubsidyClearingRun.h"

#include <memory>
#include <unordered_map>

#include "data/BaseService.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "data/BookedBeside.h"
#include "data/SetSize.h"
#include "data/WriteBatch.h"
#include "data/XFService.h"
#include "data/XfTypeCode.h"
#include "platform/FenMath.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/db/Transaction.h"
#include "platform/services/Services.h"

namespace tolvenk {

namespace {

// The kinds the clearing counts as spending of the subsidy: consumption,
// withdrawal, meal orders with their cancellations, and meal returns.
const std::vector<int>& spendKinds() {
    namespace K = XF_Type_Code;
    static const std::vector<int> kinds{K::Consume,  K::ConsumeCancel,   K::Withdraw,  K::WithdrawCancel,
                                        K::MealOrder, K::MealOrderCancel, K::MealReturn};
    return kinds;
}

// Each listed employee's month from two grouped statements; one without a
// row has nothing in it.
std::unordered_map<std::int64_t, QL_Figures> monthFigures(XFService& xf, const std::vector<std::int64_t>& ids,
                                                          const std::string& yearMonth) {
    std::unordered_map<std::int64_t, QL_Figures> figures;
    const auto person = [](const DataList& list, int r, int c) { return static_cast<std::int64_t>(vbVal(list(r, c))); };
    const DataList spent = xf.QL_Spent(ids, yearMonth, spendKinds());
    if (spent.rowUBound() >= 1) {
        const int id = spent.col("Pinfo_id"), fen = spent.col("Fen"), ci = spent.col("Ci");
        for (int r = 1; r <= spent.rowUBound(); ++r) {  // a row per piece of the month read
            QL_Figures& f = figures[person(spent, r, id)];
            f.spentFen = fenAdd(f.spentFen, fenOf(spent(r, fen)));
            f.spentTimes = fenAdd(f.spentTimes, fenOf(spent(r, ci)));
        }
    }
    const auto month = static_cast<std::int64_t>(vbVal(yearMonth.size() > 5 ? yearMonth.substr(5, 2) : ""));
    const auto year = static_cast<std::int64_t>(vbVal(yearMonth.substr(0, 4)));
    const DataList batches = xf.QL_Batches(ids, year, month, B_SF_Code::Credited);
    if (batches.rowUBound() >= 1) {
        const int id = batches.col("Pinfo_ID"), fen = batches.col("Fen"), ci = batches.col("Ci"),
                  markers = batches.col("Markers"), clearedFen = batches.col("Cleared_Fen"),
                  clearedCi = batches.col("Cleared_Ci");
        for (int r = 1; r <= batches.rowUBound(); ++r) {
            QL_Figures& f = figures[person(batches, r, id)];
            f.subsidyFen = fenOf(batches(r, fen));
            f.subsidyTimes = fenOf(batches(r, ci));
            f.cleared = fenOf(batches(r, markers)) > 0;
            f.clearedFen = fenOf(batches(r, clearedFen));
            f.clearedTimes = fenOf(batches(r, clearedCi));
        }
    }
    return figures;
}

}  // namespace

void QL_List(XFService& xf, const DataList& employees, const std::string& yearMonth, const QL_Sink& each) {
    if (employees.rowUBound() < 1) return;
    const int id = employees.col(col::Ren_Per_Info::Pinfo_ID), nm = employees.col(col::Ren_Per_Info::P_Name);
    std::vector<std::int64_t> ids;
    for (int e = 1; e <= employees.rowUBound(); ++e) ids.push_back(static_cast<std::int64_t>(vbVal(employees(e, id))));
    const auto figures = monthFigures(xf, ids, yearMonth);
    for (int e = 1; e <= employees.rowUBound(); ++e) {
        const auto found = figures.find(ids[static_cast<std::size_t>(e - 1)]);
        const QL_Line line{employees(e, id), employees(e, nm), found == figures.end() ? QL_Figures{} : found->second};
        if (!each(line, e, employees.rowUBound())) return;
    }
}

namespace Clearing_Store {

namespace {

void tell(Counts& counts, Outcome o) {
    switch (o) {
        case Outcome::Cleared: ++counts.cleared; break;
        case Outcome::Already_Cleared: ++counts.before; break;
        case Outcome::No_Card: ++counts.noCard; break;
    }
}

// One employee in a savepoint of the batch; a database error leaves him as
// he was and counts him failed, but a lost connection ends the run.
void clearOne(Write_Batch& batch, const Request& request, Counts& counts) {
    auto outcome = std::make_shared<Outcome>(Outcome::Cleared);
    try {
        batch.wholeItem([&](db::Connection& c) { *outcome = Clear_Employee(c, request); },
                        [outcome, &counts] { tell(counts, *outcome); },
                        [&counts](const std::string&) { ++counts.failed; });
    } catch (const db::DbError& e) {
        if (e.connectionLost()) throw;  // every employee after him would fail the same way
        ++counts.failed;
    }
}

// A set of employees with one statement per kind of write; when the set
// fails, each of them on his own, so that only the one at fault is left.
void clearSet(Write_Batch& batch, const std::vector<Request>& set, const Month_Spent& before, Counts& counts) {
    auto outcomes = std::make_shared<std::vector<Outcome>>();
    const auto n = static_cast<int>(set.size());
    try {
        batch.items(
            n, [&](db::Connection& c) { *outcomes = Clear_Employees(c, set, before); },
            [outcomes, &counts] {
                for (const Outcome o : *outcomes) tell(counts, o);
            },
            [&counts, n](const std::string&) { counts.failed += n; });
    } catch (const std::exception& e) {
        if (db::connectionLost(e)) throw;
        for (const Request& r : set) clearOne(batch, r, counts);
    }
}

}  // namespace

// The employees in sets on one connection, a batch holding one set or a few;
// the progress is told between batches, where no lock is held.
Counts Clear_Listed(const std::string& connectionString, std::int32_t year, std::int32_t month,
                    std::int32_t operatorId, const std::vector<Listed>& lines, const Progress& progress) {
    Counts counts;
    Request request;
    request.year = year;
    request.month = month;
    request.operatorId = operatorId;
    BaseService base;  // the services' connection: their database and time-out
    base.Set_LinkStr(connectionString);
    base.Open_DB_Con();
    db::Connection& con = *base.DB_Con;
    const db::CloseOnExit closing(con);
    Write_Batch batch(con);
    batch.holdsCards();
    Set_Size size(batch);
    batch.whileWaiting(Write_Batch::letEventsIn);
    const bool telling = static_cast<bool>(progress);
    const auto total = static_cast<std::int64_t>(lines.size());
    for (const Listed& line : lines) counts.ticked += line.ticked ? 1 : 0;
    const auto lost = Until_Connection_Lost([&] {
        const Month_Spent before = counts.ticked > 0 ? Month_Spent::read(con, year, month) : Month_Spent{};
        Booked_Beside beside(con);
        batch.committing([&] {
            for (std::int64_t i = 0; i < total;) {
                const Listed& line = lines[static_cast<std::size_t>(i)];
                if (!line.ticked || line.clearedWhenListed) {
                    if (line.ticked) ++counts.before;
                    ++i;
                } else {
                    // This line and the next ones up to the set's size.
                    std::vector<Request> set;
                    const std::int64_t most = size.next(telling);
                    for (; i < total && static_cast<std::int64_t>(set.size()) < most; ++i) {
                        const Listed& l = lines[static_cast<std::size_t>(i)];
                        if (!l.ticked) continue;
                        if (l.clearedWhenListed) {
                            ++counts.before;
                            continue;
                        }
                        request.pinfoId = l.pinfoId;
                        request.markerTime = platform::services().clockText();
                        set.push_back(request);
                    }
                    size.write(set.size(), [&] {
                        beside.learn(con);
                        Write_Apart(
                            batch, set, [&beside](const Request& r) { return beside.person(r.pinfoId); },
                            [&](const std::vector<Request>& run) { clearSet(batch, run, before, counts); });
                    });
                }
                if (batch.pause(telling) && progress && !progress(i, total)) {
                    counts.stopped = true;
                    break;
                }
            }
        });
    });
    counts.connectionLost = lost.has_value();
    counts.lost = lost.value_or("");
    return counts;
}

}  // namespace Clearing_Store

}  // namespace tolvenk
