#include "data/BalanceQuery.h"

#include "data/IcCorrection.h"
#include "data/TableColumns.h"
#include "platform/FenMath.h"
#include "platform/VbNumber.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"

namespace tolvenk::Balance_Query {

namespace {

// The employees of the choice, each handed to `row` with a Row holding his
// names; stops when the sink says so.
template <class Fill>
Result eachEmployee(const DataList& emps, const Row_Sink& sink, Fill&& fill) {
    Result result;
    const int n = emps.rowUBound();
    if (n < 1) return result;
    const int cPerson = emps.col("PInfo_id"), cName = emps.col("P_Name"), cCode = emps.col("P_Code"),
              cDept = emps.col("Dept_Name");
    for (int i = 1; i <= n; ++i) {
        Row row;
        row.name = emps(i, cName);
        row.code = emps(i, cCode);
        row.dept = emps(i, cDept);
        fill(vbCLng(vbVal(emps(i, cPerson))), row, result);
        if (row.counted) result.total.add(row.balance);
        if (sink && !sink(row, i, n)) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

// The engine sums an employee's rows; a sum it cannot hold in 64 bits (an
// error on the file, a wider number on the server) is summed here instead,
// exactly, from the rows.
void idBalance(XFService& XF, std::int32_t person, const std::string& bound, Row& row) {
    row.found = true;
    try {
        auto sum = XF.Cha_YeE_ID_2(person, bound);
        if (sum->eof()) return;
        const db::Value& fen = sum->field("YuE_New");
        if (fen.isNull() || fen.isInteger()) {
            row.date = sum->field("Date_Time").toString();
            row.counted = !fen.isNull();
            if (row.counted) row.balance.add(fen.asInteger());
            return;
        }
    } catch (const db::DbError&) {
    }
    for (auto rows = XF.Cha_YeE_ID_Rows(person, bound); !rows->eof(); rows->moveNext()) {
        row.counted = true;
        const std::string when = rows->field("Date_Time").toString();
        if (when > row.date) row.date = when;
        const auto fen = storedFen(rows->field("YuE_Change"));
        if (fen) row.balance.add(*fen);
        else row.balance.addUnknown();
    }
}

}  // namespace

std::string Correction_Cutoff(BTService& BT) {
    const DataList terminal = BT.Cha_Time();
    return terminal.rowUBound() >= 1 ? terminal(1, terminal.col(col::Mach_Info::New_Date)) : std::string();
}

Result IC_Balances(XFService& XF, BTService& BT, const Who& who, const std::string& day,
                   const std::optional<std::string>& correctionCutoff, const Row_Sink& sink) {
    const std::string bound = day + " 24:00:00";
    const DataList emps = BT.Get_Emp_Check_All(who.deptNo, who.name, who.code, "");
    return eachEmployee(emps, sink, [&](std::int32_t person, Row& row, Result& result) {
        auto last = XF.Cha_YeE(person, bound);
        if (!last->eof()) {
            row.found = row.counted = true;
            row.date = last->field("Date_Time").toString();
            // As stored; one that is no whole number of fen makes it and the total inexact.
            const auto balance = storedFen(last->field("YuE_New"));
            if (balance) row.balance.add(*balance);
            else row.balance.addUnknown();
            row.times = last->field("YuCi_New").toString();
        }
        if (!correctionCutoff) return;
        for (auto cards = XF.Cha_KaNo(person); !cards->eof(); cards->moveNext())
            result.failedCorrections +=
                IC_Correction::Mend_Card(XF, BT, static_cast<std::int32_t>(cards->field("Pinfo_Id").toInt64()),
                                         cards->field("Card_No").toString(), *correctionCutoff, result.firstError);
    });
}

Result ID_Balances(XFService& XF, BTService& BT, const Who& who, const std::string& day, const Row_Sink& sink) {
    // "Z" sorts after every time of the day, so the whole day counts.
    const std::string bound = day + "Z";
    const DataList emps = BT.Get_Emp_Check_All_ID(who.deptNo, who.name, who.code, "");
    return eachEmployee(emps, sink, [&](std::int32_t person, Row& row, Result&) { idBalance(XF, person, bound, row); });
}

}  // namespace tolvenk::Balance_Query
