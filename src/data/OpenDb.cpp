#include "data/OpenDb.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "data/Globals.h"
#include "lang/LangGlobals.h"
#include "lang/Language.h"
#include "platform/ErrorText.h"
#include "platform/ShownText.h"
#include "platform/db/DbError.h"
#include "platform/DateText.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"

namespace tolvenk {

namespace {

const std::string kCrLf = "\r\n";

std::string lastFailure;

// Each field goes in quoted as the connection text's rules require: a ';' or
// a quote in a password or a name can neither cut its pair nor add one.
std::string pair(const std::string& key, const std::string& value) {
    return key + "=" + db::ConnectionString::quoted(value) + ";";
}

std::string accessString(const std::string& dataSource, const std::string& fileName) {
    return "PROVIDER=Microsoft.Jet.OLEDB.4.0;" + pair("Data Source", dataSource + "\\" + fileName + ".mdb") +
           "Jet OLEDB:Database Password=vandrel4193;";
}

// The first call of a process has no table loaded yet when its databases
// fail: its box speaks the language the call asked for, as every later one.
void speakAskedLanguage() {
    if (L(112).empty()) Load_Lan(Lan_Type);
}

void configurationFailed(const std::string& description) {
    lastFailure = L(439) + description + kCrLf + kCrLf + L(440);
    platform::services().msgBox(lastFailure, platform::vbCritical, L(112));
}

void connectionFailed(const std::string& description) {
    // The caller is told without the box's buttons: whichever is pressed,
    // nothing is re-selected.
    lastFailure = L(439) + description + kCrLf + kCrLf + L(1095);
    platform::services().msgBox(L(439) + description + kCrLf + kCrLf + L(441) + kCrLf + std::string(32, ' ') + L(442),
                                platform::vbCritical | platform::vbOKCancel, L(443));
}

// Reads the first DB_info row (writing the default row into an empty table)
// and sets DB_Type, DB_Provider and strCN from it.
void readConfiguration() {
    // Nothing of an earlier call's configuration may carry over into this one.
    strCN.clear();
    DB_Type.clear();
    DB_Provider.clear();
    auto rs = Conn_Local->openRecordset("select * from DB_info");
    if (rs->eof()) {
        DB_Type = "Access";
        const std::string folder = Default_Data_Folder();
        Conn_Local->execute(
            "insert into DB_info (DB_Name,Provider,DataSource,FileName,UserID,PassWord_1) values "
            " ('Server','Access','" + sqlEscape(folder) + "','TAM08','sa','quesmo527')");
        strCN = accessString(folder, "TAM08");
    } else {
        const std::string provider = rs->field("Provider").toString();
        if (provider != "Access" && provider != "SQL")
            throw db::DbError::told(
                platform::numberedText(1049,
                                       "The database settings name the provider '%1', which is neither Access nor "
                                       "SQL, so no business database was opened.",
                                       {provider}),
                3706);
        if (provider == "Access") {
            DB_Provider = "Access";
            DB_Type = "Access";
            strCN = accessString(rs->field("DataSource").toString(), rs->field("FileName").toString());
        }
        if (provider == "SQL") {
            DB_Provider = "SQL";
            DB_Type = "SQL";
            const std::string catalog = rs->field("InitialCatalog").toString();
            const std::string source = rs->field("DataSource").toString();
            if (rs->field("Persist").toDouble() == 1) {
                strCN = "Provider=SQLOLEDB.1;" + pair("Password", rs->field("PassWord_1").toString()) +
                        "Persist Security Info=True;" + pair("User ID", rs->field("UserID").toString()) +
                        pair("Initial Catalog", catalog) + "Data Source=" + db::ConnectionString::quoted(source);
            } else {
                strCN = std::string("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;") +
                        pair("Initial Catalog", catalog) + pair("Data Source", source);
            }
        }
    }
    rs->close();
}

// Where the settings point, as a clerk finds it in them.
std::string businessPlace(const std::string& connectionText) {
    const db::ConnectionString cs(connectionText);
    if (cs.kind() == db::ConnectionString::Kind::Server)
        return cs.get("initial catalog") + " (" + cs.get("data source") + ")";
    return cs.filePath();
}

// A database the engine opens may still be no business database: another
// program's file, or a new empty one. Told here, with the other failures to
// connect, rather than met as a missing table by the first statement after.
void requireBusinessTables(db::Connection& con) {
    try {
        con.openRecordset("select User_ID from Sys_User_Info where 1=0");
    } catch (const db::DbError& e) {
        if (e.missingTable().empty()) throw;
        throw db::DbError::told(
            platform::numberedText(1060,
                                   "The database %1 has no table %2: it is not a business database of this system, "
                                   "or it is an empty one.",
                                   {businessPlace(con.connectionString()), e.missingTable()}),
            3078);
    }
}

}  // namespace

std::string Default_Data_Folder() {
    Dl_info info{};
    std::string folder;
    if (dladdr(reinterpret_cast<void*>(&Default_Data_Folder), &info) && info.dli_fname)
        folder = std::filesystem::absolute(info.dli_fname).parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + "data";
}

bool Open_DB(const std::string& folder, const std::string& file, const std::string& password) {
    lastFailure.clear();
    strCN_Local = "PROVIDER=Microsoft.Jet.OLEDB.4.0;" + pair("Data Source", folder + "\\" + file) +
                  " Jet OLEDB:Database Password=" + db::ConnectionString::quoted(password) + ";";
    try {
        Conn_Local = std::make_shared<db::Connection>();
        Conn_Local->open(strCN_Local);
        readConfiguration();
        Conn_Local->close();
        Conn_Local.reset();
    } catch (const std::exception& e) {
        speakAskedLanguage();
        configurationFailed(platform::errorText(e));
        return false;
    }

    try {
        if (Conn_Main) Conn_Main->close();
        Conn_Main = std::make_shared<db::Connection>();
        Conn_Main->setCommandTimeout(60);
        Conn_Main->open(strCN);
        requireBusinessTables(*Conn_Main);
    } catch (const std::exception& e) {
        speakAskedLanguage();
        connectionFailed(platform::errorText(e));
        return false;
    }
    return true;
}

const std::string& Open_DB_Failure() { return lastFailure; }

void Reopen_Main_If_Lost() {
    if (Conn_Main) Conn_Main->reopenIfLost();
}

std::shared_ptr<db::Recordset> Open_Rs(const std::string& sql) {
    try {
        if (!Conn_Main) throw std::runtime_error("no connection");
        Reopen_Main_If_Lost();
        Rs_Main = Conn_Main->openRecordset(sql);
        return Rs_Main;
    } catch (const std::exception&) {
        platform::services().msgBox(L(437), platform::vbCritical, L(438));
        return nullptr;
    }
}

std::string Get_Server_Time() {
    std::shared_ptr<db::Recordset> rs;
    if (DB_Type == "SQL") rs = Open_Rs(" select getdate() ");
    else if (DB_Type == "Access") rs = Open_Rs(" select now() ");
    if (rs && !rs->eof()) {
        // Whatever the engine gives, in the fixed pattern.
        if (const auto t = normalDateTime(rs->field(0).toString())) return *t;
    }
    return platform::services().clockText();
}

std::string Stamp_Time() {
    Reopen_Main_If_Lost();
    if (!Conn_Main) throw db::DbError("no connection to the business database", 3704);
    return Server_Time(*Conn_Main);
}

std::string Server_Time(db::Connection& con) {
    const auto rs = con.openRecordset(DB_Type == "Access" ? " select now() " : " select getdate() ");
    if (!rs->eof())
        if (const auto t = normalDateTime(rs->field(0).toString())) return *t;
    throw db::DbError::told(platform::numberedText(1077,
                                                   "The database did not tell its time, so nothing was stamped "
                                                   "with this computer's time in its place."),
                            3146);
}

}  // namespace tolvenk
