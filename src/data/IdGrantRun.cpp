#include "data/IdGrantRun.h"

#include "data/BTService.h"
#include "data/OpenDb.h"
#include "data/SubsidyBatch.h"
#include "data/TableColumns.h"
#include "data/XfTypeCode.h"
#include "platform/FenMath.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"

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

Counts Run::grant(const Progress& progress) {
    Counts counts;
    if (refusal_ != Refusal::None) return counts;
    const Cols cols{rows_.col(B::ID), rows_.col(B::Pinfo_ID), rows_.col(B::B_SF)};
    for (int r = 1; r <= rows_.rowUBound(); ++r) {
        if (batch_.regrant || fenOf(rows_(r, cols.state)) == B_SF_Code::Prepared) grantRow(r, cols, counts);
        if (progress && !progress(r, rows_.rowUBound())) {
            counts.stopped = true;
            break;
        }
    }
    return counts;
}

// One row: credited, parked without a card, or counted failed.
void Run::grantRow(int r, const Cols& cols, Counts& counts) {
    namespace C = col::Card_Info;
    const std::int16_t from = batch_.regrant ? B_SF_Code::Handed_Out : B_SF_Code::Prepared;
    const std::string& id = rows_(r, cols.id);
    try {
        const DataList card = bt_.IS_ID(rows_(r, cols.pinfo));
        const std::string now = Get_Server_Time();
        if (card.rowUBound() < 1) {
            if (bt_.Park_ID_BT(id, from, now, batch_.operatorId)) ++counts.withoutCard;
            else ++counts.meanwhile;
            return;
        }
        BTService::ID_Credit c;
        c.BT_ID = id;
        c.From_SF = from;
        c.B_Unit = kind_;
        c.XF_Type = xfType_;
        c.Card_ID = card(1, card.col(C::ID));
        c.Pinfo_id = card(1, card.col(C::Pinfo_id));
        c.Card_No = card(1, card.col(C::Card_No));
        c.Card_No_Lng = card(1, card.col(C::Card_No_Lng));
        c.C_LeiBie = card(1, card.col(C::C_LeiBie));
        c.ZB_DT = now;
        c.ZB_Ren_ID = batch_.operatorId;
        switch (bt_.Credit_ID_BT(c)) {
            case BTService::ID_Credit_Result::Credited: ++counts.credited; break;
            case BTService::ID_Credit_Result::No_Card: ++counts.failed; break;
            case BTService::ID_Credit_Result::Not_In_State: ++counts.meanwhile; break;  // another run took it
        }
    } catch (const db::DbError&) {
        ++counts.failed;
    }
}

}  // namespace tolvenk::ID_Grant
