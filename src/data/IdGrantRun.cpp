#include "data/IdGrantRun.h"

#include <map>
#include <memory>
#include <vector>

#include "data/BTService.h"
#include "data/BaseService.h"
#include "data/BookedBeside.h"
#include "data/OpenDb.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "data/SetSize.h"
#include "data/WriteBatch.h"
#include "data/XfTypeCode.h"
#include "platform/FenMath.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/db/Transaction.h"

namespace tolvenk::ID_Grant {

namespace {

namespace B = col::BuTie_OK;

}  // namespace

Run::Run(BTService& bt, const Batch& batch) : bt_(bt), batch_(batch) {
    const std::string year = std::to_string(batch.year), month = std::to_string(batch.month);
    // The batch's kind and booking from its first row of the state taken.
    DataList first;
    if (batch.regrant) {
        rows_ = bt.Get_BT_bydate_ID(year, month, batch.times);
        first = rows_;
        if (first.rowUBound() < 1) refusal_ = Refusal::No_Waiting_Rows;
    } else {
        first = bt.Get_BT_bydate(year, month, batch.times, "");
        if (first.rowUBound() < 1) refusal_ = Refusal::Nothing_Prepared;
    }
    if (refusal_ != Refusal::None) return;
    kind_ = static_cast<std::int16_t>(fenOf(first(1, first.col(B::B_Unit))));
    if (!B_Unit_Code::isID(kind_)) {
        refusal_ = Refusal::Not_An_ID_Batch;
        rows_ = DataList();
        return;
    }
    xfType_ = fenOf(first(1, first.col(B::B_Type))) == B_Type_Code::Group_Recharge ? XF_Type_Code::TransferRechargeId
                                                                                   : XF_Type_Code::Subsidy;
    if (!batch.regrant) rows_ = bt.select_BT_OK_3(batch.year, 0, batch.month, batch.times);
}

// The rows in sets of employees on a connection of the run's own, a batch
// holding one set or a few; each set's cards are looked up on another one
// before its batch takes them, without the lock, as a grant of one employee
// at a time did. The progress is told between batches, where no lock is held.
Counts Run::grant(const Progress& progress) {
    Counts counts;
    if (refusal_ != Refusal::None) return counts;
    const Cols cols{rows_.col(B::ID), rows_.col(B::Pinfo_ID), rows_.col(B::B_SF)};
    BaseService writes, reads;  // the services' connections: their database and time-out
    for (BaseService* b : {&writes, &reads}) {
        b->Set_LinkStr(bt_.Get_strCN());
        b->Open_DB_Con();
    }
    const db::CloseOnExit closeWrites(*writes.DB_Con), closeReads(*reads.DB_Con);
    const auto taken = [&](int r) { return batch_.regrant || fenOf(rows_(r, cols.state)) == B_SF_Code::Prepared; };
    for (int r = 1; r <= rows_.rowUBound(); ++r) counts.total += taken(r) ? 1 : 0;
    Write_Batch batch(*writes.DB_Con);
    batch.holdsCards();
    Set_Size size(batch);
    batch.whileWaiting(Write_Batch::letEventsIn);
    const bool telling = static_cast<bool>(progress);
    const auto lost = Until_Connection_Lost([&] {
        Booked_Beside beside(*writes.DB_Con);
        batch.committing([&] {
            for (int r = 1; r <= rows_.rowUBound();) {
                if (!taken(r)) {
                    ++r;
                } else {
                    std::vector<int> set;
                    const std::int64_t most = size.next(telling);
                    for (; r <= rows_.rowUBound() && static_cast<std::int64_t>(set.size()) < most; ++r)
                        if (taken(r)) set.push_back(r);
                    size.write(set.size(), [&] {
                        beside.learn(*writes.DB_Con);
                        Write_Apart(
                            batch, set, [&](int row) { return beside.person(fenOf(rows_(row, cols.pinfo))); },
                            [&](const std::vector<int>& run) { grantSet(batch, *reads.DB_Con, run, cols, counts); });
                    });
                }
                if (batch.pause(telling) && progress && !progress(r - 1, rows_.rowUBound())) {
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

// A set of rows with one statement per kind of write; when the set fails,
// each row on its own, so that only the one at fault is left.
void Run::grantSet(Write_Batch& batch, db::Connection& reads, const std::vector<int>& set, const Cols& cols,
                   Counts& counts) {
    namespace C = col::Card_Info;
    using Result = BTService::ID_Grant_Result;
    auto results = std::make_shared<std::vector<Result>>();
    const auto n = static_cast<std::int64_t>(set.size());
    try {
        std::vector<std::string> people;
        for (const int r : set) people.push_back(rows_(r, cols.pinfo));
        // Each employee's first usable card, as IS_ID lists them.
        std::map<std::int64_t, std::vector<std::string>> cardOf;
        const auto cards = reads.openRecordset(BTService::IS_ID_Sql(people));
        for (; !cards->eof(); cards->moveNext()) {
            auto& card = cardOf[cards->field(C::Pinfo_id).toInt64()];
            if (card.empty())
                card = {cards->field(C::ID).toString(), cards->field(C::Pinfo_id).toString(),
                        cards->field(C::Card_No).toString(), cards->field(C::Card_No_Lng).toString(),
                        cards->field(C::C_LeiBie).toString()};
        }
        std::vector<BTService::ID_Grant_Row> grants;
        for (const int r : set) {
            BTService::ID_Grant_Row g;
            g.BT_ID = rows_(r, cols.id);
            const auto card = cardOf.find(fenOf(rows_(r, cols.pinfo)));
            if (card != cardOf.end()) {
                g.Card_ID = card->second[0];
                g.Pinfo_id = card->second[1];
                g.Card_No = card->second[2];
                g.Card_No_Lng = card->second[3];
                g.C_LeiBie = card->second[4];
            }
            grants.push_back(g);
        }
        const std::string now = Server_Time(reads);
        const std::int16_t from = batch_.regrant ? B_SF_Code::Handed_Out : B_SF_Code::Prepared;
        batch.items(
            n,
            [&](db::Connection& con) {
                *results = BTService::Grant_ID_BT(con, grants, from, kind_, xfType_, now, batch_.operatorId);
            },
            [results, &counts] {
                for (const Result res : *results) {
                    switch (res) {
                        case Result::Credited: ++counts.credited; break;
                        case Result::Parked: ++counts.withoutCard; break;
                        case Result::No_Card: ++counts.failed; break;
                        case Result::Not_In_State: ++counts.meanwhile; break;  // another run took it
                    }
                }
            },
            [&counts, n](const std::string&) { counts.failed += static_cast<int>(n); });
    } catch (const std::exception& e) {
        if (db::connectionLost(e)) throw;
        for (const int r : set) grantRow(batch, reads, r, cols, counts);
    }
}

// One row: credited, parked without a card, or counted failed; counted once
// its batch is committed.
void Run::grantRow(Write_Batch& batch, db::Connection& reads, int r, const Cols& cols, Counts& counts) {
    namespace C = col::Card_Info;
    enum class Done { Credited, Parked, Failed, Meanwhile };
    const std::int16_t from = batch_.regrant ? B_SF_Code::Handed_Out : B_SF_Code::Prepared;
    const std::string& id = rows_(r, cols.id);
    auto done = std::make_shared<Done>(Done::Failed);
    try {
        // The first usable card as a set takes it, by its ID: alone, a
        // server lists an employee's cards in no fixed order.
        const auto card = reads.openRecordset(BTService::IS_ID_Sql(std::vector<std::string>{rows_(r, cols.pinfo)}));
        const std::string now = Server_Time(reads);
        batch.wholeItem(
            [&](db::Connection& con) {
                if (card->eof()) {
                    *done = BTService::Park_ID_BT(con, id, from, now, batch_.operatorId) ? Done::Parked
                                                                                          : Done::Meanwhile;
                    return;
                }
                BTService::ID_Credit c;
                c.BT_ID = id;
                c.From_SF = from;
                c.B_Unit = kind_;
                c.XF_Type = xfType_;
                c.Card_ID = card->field(C::ID).toString();
                c.Pinfo_id = card->field(C::Pinfo_id).toString();
                c.Card_No = card->field(C::Card_No).toString();
                c.Card_No_Lng = card->field(C::Card_No_Lng).toString();
                c.C_LeiBie = card->field(C::C_LeiBie).toString();
                c.ZB_DT = now;
                c.ZB_Ren_ID = batch_.operatorId;
                switch (BTService::Credit_ID_BT(con, c)) {
                    case BTService::ID_Credit_Result::Credited: *done = Done::Credited; break;
                    case BTService::ID_Credit_Result::No_Card: *done = Done::Failed; break;
                    case BTService::ID_Credit_Result::Not_In_State: *done = Done::Meanwhile; break;  // another run took it
                }
            },
            [done, &counts] {
                switch (*done) {
                    case Done::Credited: ++counts.credited; break;
                    case Done::Parked: ++counts.withoutCard; break;
                    case Done::Failed: ++counts.failed; break;
                    case Done::Meanwhile: ++counts.meanwhile; break;
                }
            },
            [&counts](const std::string&) { ++counts.failed; });
    } catch (const db::DbError& e) {
        if (e.connectionLost()) throw;  // every row after it would fail the same way
        ++counts.failed;
    }
}

}  // namespace tolvenk::ID_Grant
