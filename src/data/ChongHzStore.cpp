#include "data/ChongHzStore.h"

#include "data/BaseService.h"
#include "data/HzDimCode.h"
#include "data/SqlPieces.h"

namespace tolvenk::Chong_HZ_Store {

namespace {

using namespace HZ_Dim;

// What a kind adds to the statement.
struct Kind_Text {
    int kind;
    const char* key;     // result column of the group key
    const char* cond;    // followed by the one value kept
    const char* order1;  // as first level
    const char* order2;  // as second level
    const char* title;
};

const Kind_Text kTerminalKinds[] = {
    {Place, "XF_Dian_ID", " and Record_XF.XF_Dian_ID=", " Record_XF.XF_Dian_ID  ", ", Record_XF.XF_Dian_ID  ", "收费点"},
    {Mach, "Mach_ID", " and Record_XF.Mach_ID=", " Record_XF.Mach_ID  ", ", Record_XF.Mach_ID  ", "收费机"},
    {Cashier, "Shou_Kuan", " and Record_XF.Shou_Kuan='", " Record_XF.Shou_Kuan  ", ", Record_XF.Shou_Kuan  ", "收款员"},
    {Unit, "XF_Unit", " and Record_XF.XF_Unit=", " Record_XF.XF_Unit  ", ", Record_XF.XF_Unit  ", "业主"},
    {CardType, "C_LeiBie", " and Record_XF.C_LeiBie=", " Record_XF.C_LeiBie ", " , Record_XF.C_LeiBie ", "卡类型"},
    {Dept, "Dept_ID", " and Ren_Per_Info.Dept_ID=", " Ren_Per_Info.Dept_ID  ", " , Ren_Per_Info.Dept_ID ", "部门"},
};

const Kind_Text kComputerKinds[] = {
    {Operator, "Operator_id", " and Record_XF.Operator_id=", " Record_XF.Operator_id  ", " , Record_XF.Operator_id  ",
     "操作员"},
    {CardType, "C_LeiBie", " and Record_XF.C_LeiBie=", " Record_XF.C_LeiBie ", " , Record_XF.C_LeiBie ", "卡类型"},
    {Dept, "Dept_ID", " and Ren_Per_Info.Dept_ID=", " Ren_Per_Info.Dept_ID  ", " ,Ren_Per_Info.Dept_ID ", "部门"},
};

const Kind_Text* find(bool terminal, int kind) {
    if (terminal) {
        for (const Kind_Text& k : kTerminalKinds)
            if (k.kind == kind) return &k;
    } else {
        for (const Kind_Text& k : kComputerKinds)
            if (k.kind == kind) return &k;
    }
    return nullptr;
}

struct Parts {
    std::string select, from, where, order;
};

// A kind's condition, columns and order; the department joins the person.
void addKind(Parts& p, const Kind_Text& k, const Level& level, bool second) {
    if (k.kind == Cashier) {
        if (level.oneCashier) p.where += k.cond + sql::q(level.cashier) + "' ";
    } else if (level.value != 0) {
        p.where += k.cond + sql::num(level.value);
    }
    p.order += second ? k.order2 : k.order1;
    if (k.kind == Dept) {
        p.select += " ,Ren_Per_Info.Dept_ID,Ren_Per_Info.Pinfo_id ";
        p.from += " ,Ren_Per_Info ";
        p.where += " and Ren_Per_Info.Pinfo_ID=Record_XF.Pinfo_ID ";
    }
}

}  // namespace

Statement Build(const Request& r) {
    Statement s;
    Parts p;
    p.select = r.terminal ? "select Record_XF.*,"
                          : "select Record_XF.PInfo_id,Record_XF.c_Leibie,Record_XF.XF_Type,"
                            "Record_XF.YuE_Change ,Record_XF.Operator_id,Record_XF.YuCi_Change,";
    p.from = " from Record_XF";
    p.order = " order by ";
    s.period = r.terminal ? "Date_Time_1" : "Date_Time";
    s.dateSecond = !r.terminal && r.level2.kind == Date && r.level1.kind != Date;

    // The period: the leading 10 ("yyyy-MM-dd") or 7 ("yyyy-MM") characters of the stamp.
    const char* length = r.months ? "8)" : "11)";
    const char* part = r.months ? "7)" : "10)";
    const std::string periodText = r.serverTexts ? std::string(" SUBSTRING(Record_XF.Date_Time,0,") + length
                                                 : std::string(" mid(Record_XF.Date_Time,1,") + part;
    p.select += periodText + " as " + s.period + " ";
    if (r.months)
        p.where = " where Record_XF.Date_Time>='" + sql::q(r.first) + "-01' and Record_XF.date_Time<'" +
                  sql::q(r.last) + "-32 '";
    else
        p.where = " where Record_XF.Date_Time>='" + sql::q(r.first) + "' and Record_XF.date_Time<'" +
                  sql::q(r.last) + " 24'";
    if (r.terminal) p.order += periodText + ",";
    else if (!s.dateSecond) p.order += r.months ? std::string(" left(Record_XF.Date_Time,7),") : periodText + ",";

    const Kind_Text* k1 = find(r.terminal, r.level1.kind);
    if (!k1) return s;
    s.key1 = k1->key;
    s.title1 = k1->title;
    addKind(p, *k1, r.level1, false);

    s.key2 = kNoLevel;
    if (r.level2.kind != r.level1.kind) {
        if (s.dateSecond) {
            s.key2 = s.period;
            s.title2 = "日期";
            p.order += " , Record_XF.Date_Time";
        } else if (const Kind_Text* k2 = find(r.terminal, r.level2.kind)) {
            s.key2 = k2->key;
            s.title2 = k2->title;
            addKind(p, *k2, r.level2, true);
        }
    }

    p.where += r.terminal ? " and Record_XF.XF_Type in (1,2,3,5,6,7,8,9,10,179,17) "
                          : " and Record_XF.XF_Type in (161,162,163,181) ";
    s.sql = p.select + p.from + p.where + p.order;
    return s;
}

std::shared_ptr<db::Recordset> Open(const std::string& sql) {
    BaseService svc;
    return svc.Get_DataList_ADO(sql);
}

}  // namespace tolvenk::Chong_HZ_Store
