#pragma once
#include <memory>
#include <string>

namespace tolvenk {

namespace db {
class Connection;
class Recordset;
}  // namespace db

// The summary-report formats: the 'HZ_Rep_Format' rows of Sys_Para (key in
// SubParaName, 1..9 the built-in reports, 101.. the defined ones; P1 the name,
// P2..P5 the format), read and written on the connection given, which is the
// main one the summary window and the format editor hold.
class HZ_Format_Store {
public:
    using Rows = std::shared_ptr<db::Recordset>;
    explicit HZ_Format_Store(db::Connection& conn) : conn_(conn) {}

    // P1, P2, SubParaName of every defined format.
    Rows Defined_List();
    // SubParaName, P1..P5 of every defined format.
    Rows Defined_Rows();
    // Every column of every defined format.
    Rows Defined_All();
    // SubParaName of the defined formats in key order.
    Rows Defined_Keys();

    // The row(s) named `name`: P1..P5; P2 only; every column. `tight` keeps
    // the form without a blank before "and" that one caller has always sent.
    Rows Format_By_Name(const std::string& name);
    Rows P2_By_Name(const std::string& name);
    Rows Any_By_Name(const std::string& name, bool tight = false);
    // P1, P2, P3 of a stored built-in (key up to 100) or defined (from 101) format of that name.
    Rows Built_In_By_Name(const std::string& name);
    Rows Defined_By_Name(const std::string& name);

    // Every column of built-in row n; of the row with key `key`.
    Rows Built_In(int n);
    Rows By_Key(const std::string& key);
    // SubParaName, P1..P5 of the row with that key (and that name).
    Rows Row(const std::string& key);
    Rows Row_Named(const std::string& name, const std::string& key);
    Rows Row_Keyed(const std::string& key, const std::string& name, bool builtIn);

    void Insert(const std::string& key, const std::string& name, const std::string& P2, const std::string& P3,
                const std::string& P4, const std::string& P5);
    void Update(const std::string& key, const std::string& oldName, const std::string& name, const std::string& P2,
                const std::string& P3, const std::string& P4, const std::string& P5);
    void Delete(const std::string& name, const std::string& key);
    // Drops every stored built-in row, so the defaults apply again.
    void Restore_Defaults();

private:
    Rows open(const std::string& sql);
    db::Connection& conn_;
};

}  // namespace tolvenk
