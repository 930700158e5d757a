#include "data/DCService.h"

#include "data/SqlPieces.h"
#include "platform/db/RowCursor.h"

namespace tolvenk {

using sql::likeEnd;
using sql::lit;
using sql::num;
using sql::q;

namespace {

std::string insertTsSql(const std::string& TSDate, std::int32_t Zao, std::int32_t Zhong, std::int32_t Wan,
                        std::int32_t Ye, std::int32_t Xiao) {
    return "insert into DC_TeShuRi(TS_Date,TS_Zao,TS_Zhong,TS_Wan,TS_Ye,TS_Xiao) values('" + q(TSDate) + "'," +
           num(Zao) + "," + num(Zhong) + "," + num(Wan) + "," + num(Ye) + "," + num(Xiao) + ")";
}

std::string deleteTsSql(const std::string& TSDate) {
    return "delete from DC_TeShuRi where TS_Date='" + q(TSDate) + "'";
}

}  // namespace

DataList DCService::Get_CD_Time() { return base_.Get_DataList("select * from XF_Can_time"); }

DataList DCService::Get_DC_ShiD() { return base_.Get_DataList("select * from DC_ShiDuan"); }

bool DCService::Add_DC_ShiD(const std::vector<std::string>& Values) {
    return base_.Add_DataByIndex("DC_ShiDuan", 1, Values,
                                 "DC_MoRen,DC_Zao_1,DC_Zao_2,DC_Zao_YuKou,DC_Zhong_1,DC_Zhong_2,DC_Zhong_YuKou,"
                                 "DC_Wan_1,DC_Wan_2,DC_Wan_YuKou,DC_Ye_1,DC_Ye_2,DC_Ye_YuKou,DC_Xiao_1,DC_Xiao_2,"
                                 "DC_Xiao_YuKou");
}

bool DCService::Update_DC(const std::vector<std::string>& Values) {
    return base_.Mod_DataByIndex("DC_ShiDuan", "ID", 1, Values, 1);
}

DataList DCService::DC_ZhengChangRi() { return base_.Get_DataList("select * from DC_ZhengChangRi"); }

bool DCService::Add_ZC_DC(const std::vector<std::string>& Values) {
    return base_.Add_DataByIndex("DC_ZhengChangRi", 1, Values,
                                 "Mon_Zao,Mon_Zhong,Mon_Wan,Mon_Ye,Mon_Xiao,"
                                 "Tues_Zao,Tues_Zhong,Tues_Wan,Tues_Ye,Tues_Xiao,Wed_Zao,Wed_Zhong,Wed_Wan,Wed_Ye,"
                                 "Wed_Xiao,"
                                 "Thurs_Zao,Thurs_Zhong,Thurs_Wan,Thurs_Ye,Thurs_Xiao,Fri_Zao,Fri_Zhong,Fri_Wan,Fri_Ye,"
                                 "Fri_Xiao,"
                                 "Sat_Zao,Sat_Zhong,Sat_Wan,Sat_Ye,Sat_Xiao,Sun_Zao,Sun_Zhong,Sun_Wan,Sun_Ye,Sun_Xiao");
}

bool DCService::Update_ZC_DC(const std::vector<std::string>& Values) {
    return base_.Mod_DataByIndex("DC_ZhengChangRi", "ID", 1, Values, 1);
}

DataList DCService::Select_TS_DC(const std::string& TSDate) {
    std::string sql = "select * from DC_TeShuRi";
    if (!TSDate.empty()) sql += " where TS_Date='" + q(TSDate) + "'";
    return base_.Get_DataList(sql + " order by TS_Date,ID");
}

bool DCService::Add_TS_DC(const std::string& TSDate, std::int32_t Zao, std::int32_t Zhong, std::int32_t Wan,
                          std::int32_t Ye, std::int32_t Xiao) {
    return base_.Exec_Sql(insertTsSql(TSDate, Zao, Zhong, Wan, Ye, Xiao));
}

bool DCService::Delete_TS_DC(const std::string& TSDate) { return base_.Exec_Sql(deleteTsSql(TSDate)); }

bool DCService::Replace_TS_DC(const std::string& TSDate, std::int32_t Zao, std::int32_t Zhong, std::int32_t Wan,
                              std::int32_t Ye, std::int32_t Xiao) {
    return base_.Exec_Sql_Trans({deleteTsSql(TSDate), insertTsSql(TSDate, Zao, Zhong, Wan, Ye, Xiao)});
}

DataList DCService::Select_DC(const std::string& DCDate, std::int32_t CLeiBie, std::int32_t XFMeal) {
    std::string sql = "select * from Record_XF where DC_Date like '" + lit(DCDate) + "%" + likeEnd + " and " +
                      " XF_Meal=" + num(XFMeal);
    if (CLeiBie != 0) sql += " and C_LeiBie=" + num(CLeiBie);
    return base_.Get_DataList(sql);
}

DataList DCService::Select_DC_XF(const std::string& Date, std::int32_t CLeiBie, std::int32_t XFMeal) {
    std::string sql = "select * from Record_XF where Date_Time like '" + lit(Date) + "%" + likeEnd + " and " + " XF_Meal=" +
                      num(XFMeal) + " and XF_Type=48";
    if (CLeiBie != 0) sql += " and C_LeiBie=" + num(CLeiBie);
    return base_.Get_DataList(sql);
}

std::unique_ptr<db::RowCursor> DCService::Sum_DC(const std::string& FirstDay, const std::string& DayAfter,
                                                std::int32_t CLeiBie, bool PerRecord) {
    // No index holds DC_Date: the kinds' index narrows the rows, the bounds
    // then keep them to the range.
    std::string sql = std::string("select substr(DC_Date,1,10) as DC_Day,XF_Meal,XF_Type,") +
                      (PerRecord ? "1 as N,YuE_Change as Fen" : "count(*) as N,sum(YuE_Change) as Fen") +
                      " from Record_XF where XF_Type in (15,16) and DC_Date>='" + q(FirstDay) + "' and DC_Date<'" +
                      q(DayAfter) + "' and XF_Meal in (1,2,3,4,5)";
    if (CLeiBie != 0) sql += " and C_LeiBie=" + num(CLeiBie);
    if (!PerRecord) sql += " group by substr(DC_Date,1,10),XF_Meal,XF_Type";
    return base_.Open_Cursor(sql);
}

std::unique_ptr<db::RowCursor> DCService::Sum_DC_XF(const std::string& FirstDay, const std::string& DayAfter,
                                                   std::int32_t CLeiBie, bool PerRecord) {
    std::string sql = std::string("select substr(Date_Time,1,10) as XF_Day,XF_Meal,") +
                      (PerRecord ? "1 as N,YuE_Change as Fen" : "count(*) as N,sum(YuE_Change) as Fen") +
                      " from Record_XF where XF_Type=48 and Date_Time>='" + q(FirstDay) + "' and Date_Time<'" +
                      q(DayAfter) + "' and XF_Meal in (1,2,3,4,5)";
    if (CLeiBie != 0) sql += " and C_LeiBie=" + num(CLeiBie);
    if (!PerRecord) sql += " group by substr(Date_Time,1,10),XF_Meal";
    return base_.Open_Cursor(sql);
}

}  // namespace tolvenk
