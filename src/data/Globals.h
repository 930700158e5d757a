#pragma once
// Module state shared by the entry, the windows and the services. It lasts as
// long as the library stays loaded, across calls of mnuLoad.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lang/LangGlobals.h"
#include "platform/db/Connection.h"

namespace tolvenk {

// Connections and operator state.
extern std::shared_ptr<db::Connection> Conn_Main;
extern std::shared_ptr<db::Connection> Conn_Local;
extern std::string strCN;
extern std::string strCN_Local;
extern std::string DB_Type;      // "Access" or "SQL": kind of the business database
extern std::string DB_Provider;  // Provider of the configuration row, for dialect choices
extern std::int32_t Op_User_ID;
extern std::string Op_User_Name;
extern std::string Money_Sign;
extern std::int16_t Extra_Timeout;  // seconds added to the services' command timeout

// Values that pass between windows.
extern std::int16_t Uncertain_Flag;
extern std::vector<std::int32_t> gSelPInfoIDs;
extern std::int32_t Cur_B_Year;
extern std::int32_t Cur_B_Month;
extern std::string Cur_B_Times;
extern std::int16_t Cur_B_Unit;
extern bool HZ_Format_Changed;

// The record set last opened by Open_Rs.
extern std::shared_ptr<db::Recordset> Rs_Main;

}  // namespace tolvenk
