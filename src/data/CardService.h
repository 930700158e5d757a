#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/BaseService.h"
#include "data/DataList.h"
#include "platform/db/Recordset.h"

namespace tolvenk {

// Card kinds (Card_Type), the ID balance list and its clearing with its log row.
class CardService {
public:
    void Set_strCN(const std::string& strCN) { base_.Set_LinkStr(strCN); }

    // True when no card of the kind is in use (every one reported lost, or none).
    bool Get_Cards(std::int16_t c_leibie);
    // 0 added, -1 the add failed, -2 the name exists (deleted kinds included).
    std::int16_t New_Type(const std::vector<std::string>& para);
    // Live kinds (or the one with that ID), every column as stored.
    DataList Get_Type(const std::string& para);
    std::int16_t Update_Type(const std::vector<std::string>& para);
    std::int16_t Delect_Type(std::int16_t id);
    // -1 limits per day, 0 per meal segment, -2 meal-order mode; 0 without a live kind.
    std::int16_t Check_Tian(std::int32_t card_Lei);
    std::shared_ptr<db::Recordset> get_IDYuE(const std::string& Dept_No, const std::string& p_Name,
                                             const std::string& p_code);
    // Clears one ID card's balance in Card_Info and Card_Log together; a failed
    // statement is shown in a box and gives False, with nothing changed.
    bool YuE_QL(std::int32_t Pinfo_id, const std::string& Card_No);
    // Voids and clears one ID card's balance in one transaction: reads the
    // card's C_YuE_ID as it is now, writes the void row (kind 175, minus that
    // balance, the card's own C_LeiBie) and both zeroings of YuE_QL. A card
    // already at 0 gets no void row, only its card-log balance set to 0; on
    // any error nothing of the card changes.
    struct QL_Result {
        enum State { Cleared, Already_Zero, Failed } state = Failed;
        std::int64_t amount = 0;  // the void's change in fen (minus the balance cleared)
        std::string error;        // why it failed
    };
    // The Sys_Log row of one click: written with the first card cleared and
    // brought up to date with each card after, inside that card's own
    // transaction or savepoint, so that it always tells what was cleared ("count,sum").
    struct QL_Log {
        std::string time;          // of the click, as the void rows carry it
        std::int32_t operatorId = 0;
        std::int64_t id = 0;       // the row, once written
        std::int64_t count = 0;    // cards taken, those already at 0 included
        std::int64_t sum = 0;      // their voids, in fen
    };
    QL_Result YuE_QL_ZF(std::int32_t Pinfo_id, const std::string& Card_No, QL_Log& log);
    bool YuE_QL_Log(const std::string& DateStr, std::int32_t Operator_id, std::int32_t Op_Code,
                    const std::string& Op_Object);
    // YuE_QL_ZF on `con`, the log as it stands before the card given and
    // `after` as the card leaves it; inside a transaction of `con` (a batch
    // of cards) a savepoint of that one. Errors pass.
    static QL_Result YuE_QL_ZF(db::Connection& con, std::int32_t Pinfo_id, const std::string& Card_No,
                               const QL_Log& log, QL_Log& after);
    struct QL_Card {
        std::int32_t person = 0;
        std::string cardNo;  // as stored
    };
    // Several cards on `con`, inside a transaction of it, with a statement
    // for each kind of read and write: each one's outcome in their order,
    // and `after`, as YuE_QL_ZF one card after the other would give them. A
    // card that fails on its own (no longer there, a sum too large) is told
    // Failed and changes nothing; a database error passes, and the caller
    // undoes all of them.
    static std::vector<QL_Result> YuE_QL_ZF(db::Connection& con, const std::vector<QL_Card>& cards,
                                            const QL_Log& log, QL_Log& after);
    // The database the service reads, for a run that writes on a connection of its own.
    std::string Get_strCN() const { return base_.Get_LinkStr(); }

private:
    BaseService base_;
};

}  // namespace tolvenk
