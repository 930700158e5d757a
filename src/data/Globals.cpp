#include "data/Globals.h"

namespace tolvenk {

std::shared_ptr<db::Connection> Conn_Main;
std::shared_ptr<db::Connection> Conn_Local;
std::string strCN;
std::string strCN_Local;
std::string DB_Type;
std::string DB_Provider;
std::int32_t Op_User_ID = 0;
std::string Op_User_Name;
std::string Money_Sign;
std::int16_t Extra_Timeout = 0;

std::int16_t Uncertain_Flag = 0;
std::vector<std::int32_t> gSelPInfoIDs;
std::int32_t Cur_B_Year = 0;
std::int32_t Cur_B_Month = 0;
std::string Cur_B_Times;
std::int16_t Cur_B_Unit = 0;
bool HZ_Format_Changed = false;

std::shared_ptr<db::Recordset> Rs_Main;

}  // namespace tolvenk
