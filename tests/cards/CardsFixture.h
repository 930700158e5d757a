#pragma once
// The card windows on a business database that a test fills by hand or has
// the demo generator fill.
#include <string>

#include "demo_gen/DemoGenerator.h"
#include "support/Captions.h"
#include "support/Fixtures.h"
#include "support/Screen.h"

namespace tolvenk::test {

template <class W>
class CardsWindow : public WindowOf<W> {
protected:
    void SetUp() override {
        WindowOf<W>::SetUp();
        if (this->IsSkipped()) return;
        this->sv->clock = "2027-06-01 10:00:00";
        Op_User_Name = "admin";
        Op_User_ID = 7;
    }

    // A generated database of `transactions` rows (September to November
    // 2026, 300 employees, with a real site's dirt when `dirty`) in place of
    // the empty one, on Conn_Main and strCN; for suites on the file engine only.
    void useGenerated(long transactions, bool dirty = false) {
        demo::Options o;
        o.dirty = dirty;
        o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
        o.lastDay = "2026-11-30";
        o.businessPath = this->dir.file("g.mdb");
        o.transactions = transactions;
        demo::generate(o);
        this->cs = db::Connection::fileConnectionString(o.businessPath);
        this->con = connect(this->cs);
        Conn_Main = this->con;
        strCN = this->cs;
    }

    // Departments 0 over 01 (with 0101), 02 and the empty 09; people 1..4 in them.
    void addPeople() {
        this->con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values
 (5,'0','公司',0,0),(1,'01','总部',0,0),(2,'0101','财务',1,0),(3,'02','食堂',0,0),(4,'09','空部门',0,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values
 (1,2,'0101','张三','E1','N1',0),(2,1,'01','张三丰','E2','N2',0),(3,3,'02','李四','E3','N3',1),(4,3,'02','王五','E4','N4',0);
)");
    }

    // The window's grid, or that of the query part it holds.
    static auto& gridOf(W& window) {
        if constexpr (requires { window.Query.Grid1; }) return window.Query.Grid1;
        else return window.Grid1;
    }
    std::string cell(int r, int c) { return gridOf(this->w).Cell(r, c).Text(); }
};

}  // namespace tolvenk::test
