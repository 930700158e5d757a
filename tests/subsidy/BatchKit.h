#pragma once
// A business database on either engine for the grant, terminal and batch
// windows: departments, employees, charging places, subsidy terminals and
// ID cards, with helpers to write batch rows and read them back by plain SQL.
#include <string>

#include "SubsidyFixture.h"
#include "support/Fixtures.h"

namespace tolvenk::test {

template <class W>
class BatchKit : public WindowOf<W> {
protected:
    void SetUp() override {
        WindowOf<W>::SetUp();
        if (this->IsSkipped()) return;
        resetWindows();  // second windows are opened through the registry
        Op_User_ID = 7;
        config(1, "1");
        this->con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Del_YN) values
 (1,'01','总部','A',0),(2,'0101','食堂','B',0),(3,'02','车间','C',0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,2,'0101','张三','1001',0),(2,2,'0101','李四','1002',0),(3,3,'02','王五','1003',0),
 (4,2,'0101','赵六','1004',1),(5,3,'02','O''Hara','1005',0);
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name,Del_YN) values (1,'一食堂',0),(2,'超市',0);
insert into Mach_Info(Mach_ID,Mach_Name,Mach_No,Mach_XF_Type,Card_BuTie,XF_Dian_ID,Del_YN) values
 (21,'补贴机A','M21',27,0,1,0),(22,'补贴机B','M22',25,1,2,0),(23,'旧补贴机','M23',27,0,1,1),
 (24,'消费机','M24',25,0,1,0),(25,'次补贴机','M25',28,0,2,0),(26,'次机二','M26',26,1,9,0),
 (40000,'大号补贴机','M40000',27,0,1,0);
)");
    }

    // The installation: IC (P2 = 1) or ID, and the times switch P5.
    void config(int ic, const std::string& times) {
        this->con->execute("delete from Sys_Para where Para_Name='Sys_Config'");
        this->con->execute("insert into Sys_Para(Para_Name,P2,P5) values('Sys_Config','" + std::to_string(ic) +
                           "','" + times + "')");
    }

    // A row of batch 2026-12-n as the new-batch window and the editor leave it.
    void batchRow(int pinfo, int times, int unit, int state, int jine = 0, int ci = 0, int type = 0) {
        this->con->execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,"
                           "B_Times,B_Type,B_SF,B_Unit) values(" +
                           std::to_string(pinfo) + ",'2026-12-01 08:00:00',1," + std::to_string(jine) + "," +
                           std::to_string(ci) + ",2026,12," + std::to_string(times) + "," + std::to_string(type) +
                           "," + std::to_string(state) + "," + std::to_string(unit) + ")");
    }

    // Pinfo_ID:B_SF of each row of batch n, by employee.
    Texts states(int times = 1) {
        return column(*this->con, "select Pinfo_ID||':'||B_SF from BuTie_OK where B_Year=2026 and B_Month=12 and "
                                  "B_Times=" + std::to_string(times) + " order by Pinfo_ID,ID");
    }

    void undoRefusal(const std::string& name, const std::string& table) {
        if (this->onServer()) this->con->executeScript("drop trigger " + name + " on " + table + "; drop function " + name + "();");
        else this->con->executeScript("drop trigger " + name + ";");
    }

    // Exactly one box since the last check: its text and style, titled "提示".
    void expectBox(const std::string& prompt, int style) {
        ASSERT_EQ(this->sv->boxes.size(), 1u) << this->sv->lastPrompt();
        EXPECT_EQ(this->sv->boxes[0].prompt, prompt);
        EXPECT_EQ(this->sv->boxes[0].style, style);
        EXPECT_EQ(this->sv->boxes[0].title, "提示");
        this->sv->boxes.clear();
    }
};

}  // namespace tolvenk::test
