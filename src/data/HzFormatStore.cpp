#include "data/HzFormatStore.h"

#include "data/Globals.h"
#include "data/HzRepFormat.h"
#include "data/SqlPieces.h"
#include "platform/db/Connection.h"

namespace tolvenk {

using sql::q;

namespace {
const std::string kKey = HZ_Format_Para;
}  // namespace

HZ_Format_Store::Rows HZ_Format_Store::open(const std::string& sql) { return conn_.openRecordset(sql); }

HZ_Format_Store::Rows HZ_Format_Store::Defined_List() {
    return open("select P1,P2,SubParaName from Sys_Para where len(SubParaName)>=3 and Para_Name='" + kKey + "'");
}

HZ_Format_Store::Rows HZ_Format_Store::Defined_Rows() {
    return open("select SubParaName,P1,P2,P3,P4,P5 from Sys_Para where len(SubParaName)>=3 and Para_Name='" + kKey +
                "'");
}

HZ_Format_Store::Rows HZ_Format_Store::Defined_All() {
    return open("select * from Sys_Para where Para_Name='" + kKey + "' and Len(SubParaName)>=3");
}

HZ_Format_Store::Rows HZ_Format_Store::Defined_Keys() {
    const std::string key = Key_Number_Sql();
    return open("select SubParaName from Sys_Para where Para_Name='" + kKey + "' and " + key + ">=101 order by " + key);
}

HZ_Format_Store::Rows HZ_Format_Store::Format_By_Name(const std::string& name) {
    return open("select P1,P2,P3,P4,P5 from Sys_Para where P1='" + q(name) + "' and Para_Name='" + kKey + "'");
}

HZ_Format_Store::Rows HZ_Format_Store::P2_By_Name(const std::string& name) {
    return open("select P2 from Sys_Para where P1='" + q(name) + "' and Para_Name='" + kKey + "'");
}

HZ_Format_Store::Rows HZ_Format_Store::Any_By_Name(const std::string& name, bool tight) {
    return open("select * from Sys_Para where P1='" + q(name) + (tight ? "'and" : "' and") + " Para_Name='" + kKey +
                "'");
}

HZ_Format_Store::Rows HZ_Format_Store::Built_In_By_Name(const std::string& name) {
    // One dialect test everywhere: the kind of database actually connected.
    return open("select P1,P2,P3 from Sys_Para where P1='" + q(name) + "' and Para_Name='" + kKey + "' and " +
                (DB_Type == "SQL" ? "cast(subParaName as int )<=100 " : "val(subParaName )<=100 "));
}

HZ_Format_Store::Rows HZ_Format_Store::Defined_By_Name(const std::string& name) {
    return open("select P1,P2,P3 from Sys_Para where P1='" + q(name) + "' and Para_Name='" + kKey + "' and " +
                Key_Number_Sql() + ">=101");
}

HZ_Format_Store::Rows HZ_Format_Store::Built_In(int n) {
    return open("select * from Sys_Para where Para_Name='" + kKey + "'and SubParaName='" + std::to_string(n) + "'");
}

HZ_Format_Store::Rows HZ_Format_Store::By_Key(const std::string& key) {
    return open("select * from Sys_Para where SubParaName='" + q(key) + "' and Para_Name='" + kKey + "'");
}

HZ_Format_Store::Rows HZ_Format_Store::Row(const std::string& key) {
    return open("select SubParaName,P1,P2,P3,P4,P5 from Sys_Para where Para_Name='" + kKey + "' and SubParaName='" +
                q(key) + "'");
}

HZ_Format_Store::Rows HZ_Format_Store::Row_Named(const std::string& name, const std::string& key) {
    return open("select SubParaName,P1,P2,P3,P4,P5 from Sys_Para where P1='" + q(name) + "' and Para_Name='" + kKey +
                "' and SubParaName='" + q(key) + "'");
}

HZ_Format_Store::Rows HZ_Format_Store::Row_Keyed(const std::string& key, const std::string& name, bool builtIn) {
    return open("select SubParaName,P1,P2,P3,P4,P5 from Sys_Para where Para_Name='" + kKey + "' and SubParaName='" +
                q(key) + (builtIn ? "' and P1 ='" : "' and P1='") + q(name) + "'");
}

void HZ_Format_Store::Insert(const std::string& key, const std::string& name, const std::string& P2,
                             const std::string& P3, const std::string& P4, const std::string& P5) {
    conn_.execute("insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5) values('" + kKey + "','" + q(key) +
                  "','" + q(name) + "','" + q(P2) + "','" + q(P3) + "','" + q(P4) + "','" + q(P5) + "')");
}

void HZ_Format_Store::Update(const std::string& key, const std::string& oldName, const std::string& name,
                             const std::string& P2, const std::string& P3, const std::string& P4,
                             const std::string& P5) {
    conn_.execute("update Sys_Para set P1='" + q(name) + "',P2='" + q(P2) + "', P3='" + q(P3) + "',P4='" + q(P4) +
                  "',P5='" + q(P5) + "' where Para_Name='" + kKey + "' and SubParaName='" + q(key) + "' and P1='" +
                  q(oldName) + "'");
}

void HZ_Format_Store::Delete(const std::string& name, const std::string& key) {
    conn_.execute("delete from Sys_Para where Para_Name='" + kKey + "' and P1='" + q(name) + "' and SubParaName='" +
                  q(key) + "'");
}

void HZ_Format_Store::Restore_Defaults() {
    conn_.execute("delete from Sys_Para where Para_Name='" + kKey + "' and len(SubParaName)<3");
}

}  // namespace tolvenk
