#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/BaseService.h"
#include "data/DataList.h"

namespace tolvenk {

// Meal-ordering settings (periods, normal and special days) and the meal-order
// rows of Record_XF for the daily summary.
class DCService {
public:
    void Set_strCN(const std::string& strCN) { base_.Set_LinkStr(strCN); }

    DataList Get_CD_Time();
    DataList Get_DC_ShiD();
    bool Add_DC_ShiD(const std::vector<std::string>& Values);
    bool Update_DC(const std::vector<std::string>& Values);
    DataList DC_ZhengChangRi();
    bool Add_ZC_DC(const std::vector<std::string>& Values);
    bool Update_ZC_DC(const std::vector<std::string>& Values);
    DataList Select_TS_DC(const std::string& TSDate);
    bool Add_TS_DC(const std::string& TSDate, std::int32_t Zao, std::int32_t Zhong, std::int32_t Wan, std::int32_t Ye,
                   std::int32_t Xiao);
    bool Delete_TS_DC(const std::string& TSDate);
    // Every row of the day deleted and the day's row inserted in one
    // transaction: after an error the old row is still there.
    bool Replace_TS_DC(const std::string& TSDate, std::int32_t Zao, std::int32_t Zhong, std::int32_t Wan,
                       std::int32_t Ye, std::int32_t Xiao);
    // Orders and cancellations of a meal day (card kind 0 = all kinds).
    DataList Select_DC(const std::string& DCDate, std::int32_t CLeiBie, std::int32_t XFMeal);
    // Returns of pre-deducted amounts made that day for that meal.
    DataList Select_DC_XF(const std::string& Date, std::int32_t CLeiBie, std::int32_t XFMeal);
    // Orders (15) and cancellations (16) of meals 1..5 whose meal day lies in
    // [FirstDay, DayAfter): count N and sum Fen of YuE_Change per meal day
    // (its first ten characters, DC_Day), XF_Meal and XF_Type. `PerRecord`
    // gives each record as a group of its own (N 1, Fen its YuE_Change), for
    // sums that no 64 bits hold.
    std::unique_ptr<db::RowCursor> Sum_DC(const std::string& FirstDay, const std::string& DayAfter,
                                          std::int32_t CLeiBie, bool PerRecord = false);
    // Returns (48) of meals 1..5 made in [FirstDay, DayAfter): N and Fen per
    // day (XF_Day) and XF_Meal; per record likewise.
    std::unique_ptr<db::RowCursor> Sum_DC_XF(const std::string& FirstDay, const std::string& DayAfter,
                                             std::int32_t CLeiBie, bool PerRecord = false);

private:
    BaseService base_;
};

}  // namespace tolvenk
