#pragma once
// A business database with departments, positions and employees for the
// subsidy windows, and helpers to read the batch rows back by plain SQL.
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <string>

#include "platform/forms/Control.h"
#include "support/Fixtures.h"

namespace tolvenk::test {

template <class W>
class SubsidyFixture : public WindowOf<W, FileWindowTest> {
protected:
    void SetUp() override {
        WindowOf<W, FileWindowTest>::SetUp();
        resetWindows();  // the editor is opened through the registry
        Op_User_ID = 7;
        db::Connection& c = *this->con;
        config(1, "1");
        c.execute("insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Del_YN) values"
                  "(1,'01','总部','A',0),(2,'0101','食堂','B',0),(3,'02','车间','C',0)");
        c.execute("insert into Ren_Positions_Info(ID,Position_Name) values(1,'厨师'),(2,'经理')");
        // 4 has left the company; 5 has a quote in name and code.
        c.execute("insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Position_ID,Del_YN) values"
                  "(1,2,'0101','张三','1001',1,0),(2,2,'0101','李四','1002',2,0),(3,3,'02','王五','1003',9,0),"
                  "(4,2,'0101','赵六','1004',1,1),(5,3,'02','O''Hara','10''5',2,0)");
    }

    // The installation: IC (P2 = 1) or ID, and the times switch P5.
    void config(int ic, const std::string& times) {
        this->con->execute("delete from Sys_Para where Para_Name='Sys_Config'");
        this->con->execute("insert into Sys_Para(Para_Name,P2,P5) values('Sys_Config','" + std::to_string(ic) + "','" +
                           times + "')");
    }

    // A batch row as the new-batch window writes it, in any state.
    void batchRow(int pinfo, int times, int unit, int state = -1, int jine = 0, int ci = 0, int year = 2026,
                  int month = 12) {
        this->con->execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,"
                           "B_Times,B_Type,B_SF,B_Unit) values(" +
                           std::to_string(pinfo) + ",'2026-12-01 08:00:00',1," + std::to_string(jine) + "," +
                           std::to_string(ci) + "," + std::to_string(year) + "," + std::to_string(month) + "," +
                           std::to_string(times) + ",0," + std::to_string(state) + "," + std::to_string(unit) + ")");
    }

    // Pinfo_ID:B_JinE:B_Ci of each row of a batch, by employee.
    Texts stored(int times = 1) {
        return column(*this->con, "select Pinfo_ID||':'||B_JinE||':'||B_Ci from BuTie_OK where B_Year=2026 and "
                                  "B_Month=12 and B_Times=" +
                                      std::to_string(times) + " order by Pinfo_ID");
    }

    // Exactly one box since the last check: its text and style, titled "提示".
    void expectBox(const std::string& prompt, int style, const std::string& title = "提示") {
        ASSERT_EQ(this->sv->boxes.size(), 1u) << this->sv->lastPrompt();
        EXPECT_EQ(this->sv->boxes[0].prompt, prompt);
        EXPECT_EQ(this->sv->boxes[0].style, style);
        EXPECT_EQ(this->sv->boxes[0].title, title);
        this->sv->boxes.clear();
    }
};

// A click where a person would click: the control must be the widget there.
inline void clickOnScreen(forms::Control& c) {
    QWidget* widget = c.widget();
    const QPoint middle = widget->rect().center();
    ASSERT_EQ(QApplication::widgetAt(widget->mapToGlobal(middle)), widget) << "covered or hidden";
    QTest::mouseClick(widget, Qt::LeftButton, {}, middle);
}

}  // namespace tolvenk::test
