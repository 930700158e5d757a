#include "data/BaseService.h"

#include "data/Globals.h"
#include "platform/Error.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/db/Transaction.h"

namespace tolvenk {

void BaseService::closeConnection() {
    if (DB_Con) DB_Con->close();
    DB_Con.reset();
}

void BaseService::Open_DB_Con() {
    closeConnection();
    DB_Con = Open_Session();
}

std::shared_ptr<db::Connection> BaseService::Open_Session() const {
    const int timeout = 60 + static_cast<int>(Extra_Timeout);
    if (timeout > INT16_MAX) throw VbError(6, "Overflow");
    auto con = std::make_shared<db::Connection>();
    con->setCommandTimeout(timeout);
    con->open(linkStr_.empty() ? strCN : linkStr_);
    return con;
}

bool BaseService::Test_Link() {
    try {
        Open_DB_Con();
        closeConnection();
        return true;
    } catch (const std::exception&) {
        DB_Con.reset();
        return false;
    }
}

long long BaseService::run(const std::string& Sql) {
    Open_DB_Con();
    const long long changed = DB_Con->execute(Sql);
    closeConnection();
    return changed;
}

bool BaseService::Exec_Sql(const std::string& Sql) {
    run(Sql);
    return true;
}

bool BaseService::Exec_Sql_Trans(const std::vector<std::string>& Sqls, std::size_t* Failed) {
    Open_DB_Con();
    std::size_t i = 0;
    try {
        db::Transaction t(*DB_Con, db::Transaction::Lock::Deferred);
        for (; i < Sqls.size(); ++i) DB_Con->execute(Sqls[i]);
        t.commit();
    } catch (...) {
        if (Failed && i < Sqls.size()) *Failed = i;
        closeConnection();  // an uncommitted transaction must not keep its lock
        throw;
    }
    closeConnection();
    return true;
}

void BaseService::Run_Write_Trans(const std::function<void(db::Connection&)>& body) {
    Open_DB_Con();
    const std::shared_ptr<db::Connection> con = DB_Con;
    try {
        db::Transaction t(*con);
        body(*con);
        t.commit();
    } catch (...) {
        closeConnection();
        throw;
    }
    closeConnection();
}

bool BaseService::Lock_Held(const std::string& name) {
    Open_DB_Con();
    const bool held = DB_Con->lockHeldElsewhere(name);
    closeConnection();
    return held;
}

DataList BaseService::Get_DataList(const std::string& Sql) {
    Open_DB_Con();
    const auto rs = DB_Con->openRecordset(Sql);
    DataList list = To_DataList(*rs);
    rs->close();
    closeConnection();
    return list;
}

DataList BaseService::To_DataList(db::Recordset& rs) {
    rs.moveFirst();
    const int records = static_cast<int>(rs.recordCount());
    const int fields = rs.fieldCount();
    std::vector<std::string> names;
    for (int j = 0; j < fields; ++j) names.push_back(rs.fieldName(j));
    DataList list(records, std::move(names));
    for (int k = 1; k <= records; ++k, rs.moveNext())
        for (int j = 0; j < fields; ++j) list(k, j) = rs.field(j).toString();
    return list;
}

DataList BaseService::Get_DataList(const std::function<std::string(const std::string& piece)>& statement,
                                   const db::Pieces_Along& along) {
    Open_DB_Con();
    std::vector<std::string> names, cells;
    int records = 0;
    try {
        for (db::ReadPieces pieces = DB_Con->readPieces(along); const auto piece = pieces.next();) {
            const auto rs = DB_Con->openRecordset(statement(*piece));
            const int fields = rs->fieldCount();
            if (names.empty())
                for (int j = 0; j < fields; ++j) names.push_back(rs->fieldName(j));
            for (; !rs->eof(); rs->moveNext(), ++records)
                for (int j = 0; j < fields; ++j) cells.push_back(rs->field(j).toString());
        }
    } catch (...) {
        closeConnection();
        throw;
    }
    closeConnection();
    const int fields = static_cast<int>(names.size());
    DataList list(records, std::move(names));
    for (int k = 1; k <= records; ++k)
        for (int j = 0; j < fields; ++j)
            list(k, j) = std::move(cells[static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(fields) + j]);
    return list;
}

std::shared_ptr<db::Recordset> BaseService::Get_DataList_ADO(const std::string& Sql) {
    Open_DB_Con();
    rs_ = DB_Con->openRecordset(Sql);
    return rs_;
}

bool BaseService::Add_DataByIndex(const std::string& TableName, std::int16_t StartIndex,
                                  const std::vector<std::string>& FieldVals, const std::string& sItem) {
    if (DB_Type == "Access" && !sItem.empty() && StartIndex >= 1) {
        std::string sql = "Insert into " + TableName + "(" + sItem + ") values(";
        for (std::size_t i = static_cast<std::size_t>(StartIndex); i < FieldVals.size(); ++i)
            sql += "'" + sqlEscape(FieldVals[i]) + "'" + (i + 1 < FieldVals.size() ? "," : ")");
        return run(sql) > 0;
    }
    Open_DB_Con();
    rs_ = DB_Con->openRecordset("select top 1 * from " + TableName);
    rs_->addNew();
    for (std::size_t i = static_cast<std::size_t>(std::max<std::int16_t>(StartIndex, 0)); i < FieldVals.size(); ++i)
        rs_->setField(static_cast<int>(i), db::Value(FieldVals[i]));
    rs_->updateBatch();
    rs_->close();
    rs_.reset();
    closeConnection();
    return true;
}

bool BaseService::Mod_DataByIndex(const std::string& TableName, const std::string& IdColName,
                                  std::int16_t StartIndex, const std::vector<std::string>& FieldVals,
                                  std::int16_t ColType) {
    if (FieldVals.empty()) throw VbError(9, "Subscript out of range");
    std::string sql = "select * from " + TableName + " where " + IdColName;
    if (ColType == 1) {
        // A numeric key goes in as a number, never as pasted text.
        sql += " = " + sqlNumberText(FieldVals[0]) + " ";
    } else {
        sql += " = '" + sqlEscape(FieldVals[0]) + "'";
    }
    Open_DB_Con();
    rs_ = DB_Con->openRecordset(sql);
    const int n = static_cast<int>(FieldVals.size()) - 1;
    // Only the key (n = 0) assigns nothing and still counts as done.
    const bool fits = StartIndex >= 0 && StartIndex + n - 1 <= rs_->fieldCount() - 1;
    if (fits && n >= 1) {
        for (int m = 1; m <= n; ++m)
            rs_->setField(StartIndex + m - 1, db::Value(FieldVals[static_cast<std::size_t>(m)]));
        rs_->updateBatch();
    }
    rs_->close();
    rs_.reset();
    closeConnection();
    return fits;
}

void BaseService::Read_On_One_Session(const std::function<void(db::Connection&)>& reads) {
    Open_DB_Con();
    try {
        reads(*DB_Con);
    } catch (...) {
        closeConnection();
        throw;
    }
    closeConnection();
}

std::unique_ptr<db::RowCursor> BaseService::Open_Cursor(const std::string& Sql) {
    return Open_Cursor([&Sql](const std::string&) { return Sql; }, {});
}

std::unique_ptr<db::RowCursor> BaseService::Open_Cursor(std::function<std::string(const std::string& piece)> statement,
                                                        const db::Pieces_Along& along) {
    Open_DB_Con();
    try {
        auto cursor = along.table.empty() ? DB_Con->openCursor(statement(""))
                                          : DB_Con->openCursor(std::move(statement), along);
        DB_Con.reset();  // the cursor holds the session; nothing else runs on it
        return cursor;
    } catch (...) {
        closeConnection();
        throw;
    }
}

}  // namespace tolvenk
