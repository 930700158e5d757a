#pragma once
#include <memory>
#include <string>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

namespace tolvenk {

// Reads DB_info from the configuration database (folder, file, password of
// sCN), builds strCN and opens Conn_Main. False after a failure it has shown.
bool Open_DB(const std::string& folder, const std::string& file, const std::string& password);
// Why the last Open_DB failed, in the words of the box it showed, for a
// caller who is not at the box: no button of it named. Empty after one that
// opened its databases.
const std::string& Open_DB_Failure();

// Opens a record set on Conn_Main; nullptr after a failure it has shown.
std::shared_ptr<db::Recordset> Open_Rs(const std::string& sql);

// Conn_Main with a new session in place of one the server ended while it
// was idle (a restart); never inside a transaction. DbError when none can
// be had.
void Reopen_Main_If_Lost();

// The business database's clock as "YYYY-MM-DD HH:mm:SS"; the computer's
// clock when the database cannot tell.
std::string Get_Server_Time();

// The business database's clock read on `con`, as Get_Server_Time reads it;
// DbError when it cannot be read. For runs that stamp stored rows: they stop
// rather than stamp a row with the computer's clock in its place.
std::string Server_Time(db::Connection& con);

// The time a stored row is stamped with: Server_Time on Conn_Main, a lost
// session replaced first. DbError when it cannot be read.
std::string Stamp_Time();

// The folder the library was loaded from, followed by "data".
std::string Default_Data_Folder();

}  // namespace tolvenk
