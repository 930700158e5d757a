#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/DataList.h"
#include "platform/db/Connection.h"

namespace tolvenk {

// The one path by which the data services run SQL: a fresh connection per
// operation, closed again before it returns (except Get_DataList_ADO), to
// the module's business database (strCN) unless a tool or test names another.
class BaseService {
public:
    std::shared_ptr<db::Connection> DB_Con;

    std::string Get_LinkStr() const { return linkStr_; }
    void Set_LinkStr(const std::string& My_LinkStr) { linkStr_ = My_LinkStr; }

    // Opens a new connection in DB_Con, closing the one it replaces.
    void Open_DB_Con();
    // A new connection as Open_DB_Con opens, kept by the caller.
    std::shared_ptr<db::Connection> Open_Session() const;
    bool Test_Link();
    // Runs one statement; true once it has run (errors pass as DbError).
    bool Exec_Sql(const std::string& Sql);
    DataList Get_DataList(const std::string& Sql);
    // The rows of an open record set, from its first, as text.
    static DataList To_DataList(db::Recordset& rs);
    // The same read in pieces where a long read keeps writers out
    // (db::ReadPieces): the rows of every piece in one list, `statement`
    // giving the statement with a piece's condition ("" for the whole).
    DataList Get_DataList(const std::function<std::string(const std::string& piece)>& statement,
                          const db::Pieces_Along& along);
    // The live record set; it keeps its own session, DB_Con stays set.
    std::shared_ptr<db::Recordset> Get_DataList_ADO(const std::string& Sql);
    // Runs the statements on one fresh connection, all or none. On a database
    // error it rolls back, reports the failing statement's index and rethrows.
    bool Exec_Sql_Trans(const std::vector<std::string>& Sqls, std::size_t* Failed = nullptr);
    // Runs `body` on one fresh connection inside a transaction that holds the
    // write lock from its start, so what it reads is still so when it writes.
    // Commits when the body returns; on any error rolls back and rethrows.
    void Run_Write_Trans(const std::function<void(db::Connection&)>& body);
    // Inserts one row: FieldVals(i) to physical column i from StartIndex on.
    // On the file database with a column list, one INSERT naming sItem.
    bool Add_DataByIndex(const std::string& TableName, std::int16_t StartIndex,
                         const std::vector<std::string>& FieldVals, const std::string& sItem);
    // Updates the first row whose IdColName equals FieldVals(0): FieldVals(m)
    // to physical column StartIndex+m-1. False when nothing was written.
    bool Mod_DataByIndex(const std::string& TableName, const std::string& IdColName, std::int16_t StartIndex,
                         const std::vector<std::string>& FieldVals, std::int16_t ColType);
    // The rows of a long read as they are asked for, on a fresh session the
    // cursor keeps to itself until it goes.
    std::unique_ptr<db::RowCursor> Open_Cursor(const std::string& Sql);
    // The same read in pieces where a long read keeps writers out (Connection::openCursor).
    std::unique_ptr<db::RowCursor> Open_Cursor(std::function<std::string(const std::string& piece)> statement,
                                               const db::Pieces_Along& along);
    // Runs `reads` on one fresh session, closed again after: short reads
    // that would each open a session of their own (a server's log-in is a
    // few hundredths of a second on a busy machine).
    void Read_On_One_Session(const std::function<void(db::Connection&)>& reads);
    // Whether a session of some process holds the named lock (db::Connection::tryHoldLock).
    bool Lock_Held(const std::string& name);

private:
    void closeConnection();
    // Runs on a fresh connection and returns the number of rows changed.
    long long run(const std::string& Sql);

    std::string linkStr_;
    std::shared_ptr<db::Recordset> rs_;
};

}  // namespace tolvenk
