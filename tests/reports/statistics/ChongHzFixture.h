#pragma once
// The terminal and computer summary on a small business database whose
// people, lists and transactions the tests state by hand.
#include <string>
#include <vector>

#include "data/Globals.h"
#include "reports/statistics/XF_Chong_HZ.h"
#include "support/Fixtures.h"

namespace tolvenk::test {

class ChongHzFixture : public WindowOf<XF_Chong_HZ> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-20 09:00:00";
        Op_User_Name = "admin";
        DB_Provider = "Access";
        // Department 3 is below the listed levels; operator 3 and card kind 4 are deleted;
        // terminal 14 is no consumption terminal; cashier keys differ from their names.
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values
 (2,'01','财务',0,0),(3,'0101','出纳',2,0),(4,'02','食堂',1,0),(5,'03','撤销部',0,1);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,2,'01','张三','E1',0),(2,4,'02','李四','E2',0),(3,3,'0101','王五','E3',0);
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (1,'管理员',0),(2,'王会计',0),(3,'离职',1);
insert into Card_Type(ID,C_LeiBie,C_Name,Del_YN) values (1,1,'',0),(2,2,'教工卡',0),(3,3,'',0),(4,4,'旧卡',1);
insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN) values
 (11,'一号机',301,0),(12,'二号机',301,0),(13,'充值机',302,0),(14,'门禁机',200,0);
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name,Del_YN) values (1,'一食堂',0),(2,'二食堂',0),(3,'旧点',1);
insert into XF_Unit_Info(XF_Unit_ID,XF_Unit_Name,Del_YN) values (1,'膳食科',0),(2,'外包',0);
insert into XF_ShouKuan(ID,SK_ID,SK_Name) values (1,'7','李收'),(2,'K01','张收'),(3,'O''K','引号');
insert into Sys_Para(Para_Name,P1,P5) values ('JieSuan_Date','2026-01-15',null),('Sys_Config',null,'1');
)");
    }

    // A computer transaction by person 1 with a staff card; a terminal one by
    // person 1 at place 1 for owner 1. Nothing moves until told.
    static XfRow pc(int type, const std::string& date, int op) {
        return XfRow().type(type).date(date).op(op).person(1).kind(2).money(0).times(0);
    }
    static XfRow pos(int type, const std::string& date, int mach) {
        return XfRow().type(type).date(date).mach(mach).person(1).kind(2).dian(1).unit(1).money(0).times(0);
    }
    void add(const XfRow& r) { r.insert(*con); }

    // The entry with that item data (a kind code), or with that text.
    static void pick(forms::ComboBox& c, int data) { c.setListIndex(find(c, [&](int i) { return c.ItemData(i) == data; })); }
    static void pickText(forms::ComboBox& c, const std::string& text) {
        c.setListIndex(find(c, [&](int i) { return c.List(i) == text; }));
    }
    template <class F>
    static int find(const forms::ComboBox& c, F match) {
        for (int i = 0; i < c.ListCount(); ++i)
            if (match(i)) return i;
        return -1;
    }
    // Mode, report kind, the two kinds and the range, then the mode's button.
    void sum(bool terminal, int kind1, int kind2, const std::string& from, const std::string& to, bool months = false) {
        if (!w.Loaded()) w.Load();
        w.Option2(terminal ? 0 : 1).setValue(true);
        w.Option1(months ? 1 : 0).setValue(true);
        pick(w.Combo2, kind1);
        pick(w.Combo3, kind2);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        go(terminal);
    }
    void go(bool terminal) { (terminal ? w.Command2 : w.Command1).click(); }

    using S = std::vector<std::string>;
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    // Rows 1 on as "date|group 1|group 2|" and the written value cells as " column:text".
    S lines() {
        S out;
        for (int r = 1; r < w.Grid1.Rows(); ++r) {
            std::string line = cell(r, 1) + "|" + cell(r, 2) + "|" + cell(r, 3) + "|";
            for (int c = 4; c < w.Grid1.Cols(); ++c)
                if (!cell(r, c).empty()) line += " " + std::to_string(c) + ":" + cell(r, c);
            out.push_back(line);
        }
        return out;
    }
    // The rows a cell's merged block spans, "r1-r2", or "" for a cell of its own.
    std::string span(int r, int c) {
        const auto m = w.Grid1.model().mergeAt(r, c);
        return m ? std::to_string(m->row1) + "-" + std::to_string(m->row2) : "";
    }
    std::vector<int> shown() {
        std::vector<int> out;
        for (int c = 1; c < w.Grid1.Cols(); ++c)
            if (w.Grid1.Column(c).Width() > 0) out.push_back(c);
        return out;
    }
};

}  // namespace tolvenk::test
