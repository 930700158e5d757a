#pragma once
// The statements of the summary-report run, as the installation's engines
// have always received them; the run composes them with its conditions.
#include <cstdint>
#include <string>

#include "platform/db/ReadPieces.h"

namespace tolvenk::HZ_Report_Sql {

// Group totals (level pass): money and times sums of Record_XF.
inline constexpr const char* Level_Money_Head = "select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B ";
inline constexpr const char* Level_Times_Head = "select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B ";
// Report rows (row pass); the times head has always run into its FROM.
inline constexpr const char* Row_Money_Head = "select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi ";
inline constexpr const char* Row_Times_Head = "select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi";
// The card-log fee columns `columns` of the rows a pass selects.
std::string Fee_Select(const std::string& columns);
// Whether a row of the inner group has any record of the covered kinds.
std::string Row_Exists(const std::string& where);

// Every Record_XF total of the period from..to (texts of `width` characters),
// grouped by period, the two grouping keys (expressions, "" for none), kind,
// meal when `meals` and Err_Code when `errors` (else 0), for a run that sums
// its groups in memory. `people` joins each record's employee, for a
// department key. `kinds` narrows the records to the kinds the report reads
// ("" all). Each grouping column costs a large period a good share of its
// time, so only what the report tells apart is grouped. `piece`, a piece of
// Record_Pieces, stands in for the period condition.
std::string Grouped_Records(int width, const std::string& key1, const std::string& key2, bool people,
                            const std::string& from, const std::string& to, const std::string& kinds, bool meals,
                            bool errors, const std::string& piece = "");
// The records of a period condition of that width as a range of Date_Time,
// for a read in pieces (db::ReadPieces) whose pieces together hold exactly
// the records the condition holds; no range where that cannot be said.
db::Pieces_Along Record_Pieces(int width, const std::string& from, const std::string& to);
// The same for the fee rows of the card log (live card kinds only).
std::string Grouped_Fees(int width, const std::string& key1, const std::string& key2, bool people,
                         const std::string& from, const std::string& to);
// Whether there is anybody at all (the existence test joins every employee).
std::string Any_Person();

// The values of a grouping dimension: all live ones, or the one chosen by
// name (`one` true); by key, so both engines list them alike.
std::string Places(bool one, const std::string& name);
std::string Terminals(bool one, const std::string& name);
std::string Cashiers(bool one, const std::string& name);
std::string Units(bool one, const std::string& name);
std::string Operators(bool one, const std::string& name);
// Card kinds: all live ones, one by its name, or the unnamed one by its number.
std::string Card_Types();
std::string Card_Type_Named(const std::string& name);
std::string Card_Type_Numbered(std::int64_t leiBie);
// Departments of level 1; one the list offers by name; the top department (level 0).
std::string Depts();
std::string Dept_Named(const std::string& name, bool top);
std::string Top_Dept();

}  // namespace tolvenk::HZ_Report_Sql
