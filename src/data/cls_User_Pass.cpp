#include "data/cls_User_Pass.h"

#include "data/OpenDb.h"
#include "data/SqlPieces.h"
#include "platform/Error.h"
#include "platform/VbNumber.h"
#include "platform/db/SqlText.h"

namespace tolvenk {

namespace {

const db::Value& notNull(const db::Value& v) {
    if (v.isNull()) throw VbError(94, "Invalid use of Null");
    return v;
}

// The classic CInt of a stored right.
std::int16_t rightOf(const std::string& text) {
    const auto n = parseNumber(text);
    if (!n) throw VbError(13, "Type mismatch");
    return vbCInt(*n);
}

}  // namespace

std::shared_ptr<db::Recordset> cls_User_Pass::query(const std::string& sql) {
    Sql = sql;
    Rs = Open_Rs(Sql);
    if (!Rs || Rs->recordCount() < 1) return nullptr;
    Rs->moveFirst();
    return Rs;
}

cls_User_Pass::TextRows cls_User_Pass::readTextRows(const std::string& sql) {
    auto rs = query(sql);
    if (!rs) return defaultTextRows();
    TextRows rows;
    for (; !rs->eof(); rs->moveNext())
        rows.emplace_back(notNull(rs->field(0)).toString(), notNull(rs->field(1)).toString());
    return rows;
}

void cls_User_Pass::Initialize(const std::string& SysUserName) {
    Sql = "select User_ID , User_Grade from Sys_User_Info where Del_YN=0 and User_Name='" +
          sql::q(SysUserName) + "'";
    Rs = Open_Rs(Sql);
    if (!Rs) return;
    if (Rs->recordCount() < 1) {
        User_ID = -1;
        User_Grade = 0;
    } else {
        Rs->moveFirst();
        const std::int16_t id = vbCInt(notNull(Rs->field(0)).toDouble());
        const std::int16_t grade = vbCInt(notNull(Rs->field(1)).toDouble());
        User_ID = id;
        User_Grade = grade;
    }

    // Each table is complete or stays the default row: a failure part-way
    // leaves no half list behind.
    Dept_Pass = defaultTextRows();
    if (User_Grade == 1)
        Dept_Pass = readTextRows("select Dept_No , Dept_Type from Sys_Dept_Pass where  User_ID=" + sql::num(User_ID));

    Mach_Pass = defaultNumberRows();
    if (User_Grade == 1) {
        if (auto rs = query("select Mach_ID, Mach_Type from Sys_Mach_Pass where User_ID=" + sql::num(User_ID) + " ")) {
            NumberRows rows;
            for (; !rs->eof(); rs->moveNext())
                rows.emplace_back(vbCLng(notNull(rs->field(0)).toDouble()), vbCLng(notNull(rs->field(1)).toDouble()));
            Mach_Pass = std::move(rows);
        }
    }

    Menu_Pass = defaultTextRows();
    if (User_Grade == 1)
        Menu_Pass =
            readTextRows("select Menu_Name, Menu_Type from Sys_User_Pass  where User_ID=" + sql::num(User_ID) + " ");
}

std::int16_t cls_User_Pass::lookup(const TextRows& rows, const std::string& key) {
    for (const auto& [name, right] : rows)
        if (name == key) return rightOf(right);
    return 0;
}

std::int16_t cls_User_Pass::get_Dept_Pass(const std::string& Dept_No) const {
    if (User_Grade == 0) return 1;
    return lookup(Dept_Pass, Dept_No);
}

std::int16_t cls_User_Pass::get_Mach_Pass(std::int32_t Mach_Id) const {
    if (User_Grade == 0) return 1;
    for (const auto& [mach, right] : Mach_Pass)
        if (mach == Mach_Id) return vbCInt(right);
    return 0;
}

std::int16_t cls_User_Pass::get_User_Pass(const std::string& MenuName) const {
    if (User_Grade == 0) return 1;
    return lookup(Menu_Pass, MenuName);
}

}  // namespace tolvenk
