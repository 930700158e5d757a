#pragma once
// The rights of one operator: what they may do per department, terminal and
// menu entry. Read on Conn_Main through Open_Rs.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/Recordset.h"

namespace tolvenk {

class cls_User_Pass {
public:
    // Loads the operator's identifier, grade and, for grade 1, their rights
    // rows. When the first query cannot run (Open_Rs has shown why), nothing
    // changes. A NULL in a column read throws VbError 94; an identifier or
    // right beyond 16 bits throws VbError 6.
    void Initialize(const std::string& SysUserName);

    std::int16_t get_Sys_ID() const { return User_ID; }
    // Grade 0 holds every right (1); otherwise the first matching row's
    // right, 0 when none matches.
    std::int16_t get_Dept_Pass(const std::string& Dept_No) const;
    std::int16_t get_Mach_Pass(std::int32_t Mach_Id) const;
    std::int16_t get_User_Pass(const std::string& MenuName) const;

private:
    using TextRows = std::vector<std::pair<std::string, std::string>>;
    using NumberRows = std::vector<std::pair<std::int32_t, std::int32_t>>;
    static TextRows defaultTextRows() { return {{"-1", "-1"}}; }
    static NumberRows defaultNumberRows() { return {{-1, -1}}; }

    // Runs one rights query; the rows it returns, or nothing to keep the default.
    std::shared_ptr<db::Recordset> query(const std::string& sql);
    TextRows readTextRows(const std::string& sql);
    static std::int16_t lookup(const TextRows& rows, const std::string& key);

    std::int16_t User_ID = 0;
    std::int16_t User_Grade = 0;
    TextRows Dept_Pass = defaultTextRows();
    NumberRows Mach_Pass = defaultNumberRows();
    TextRows Menu_Pass = defaultTextRows();
    std::string Sql;
    std::shared_ptr<db::Recordset> Rs;
};

}  // namespace tolvenk
