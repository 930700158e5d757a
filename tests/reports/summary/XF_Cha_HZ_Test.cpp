#include <filesystem>

#include "reports/summary/XF_Cha_HZ.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class SummaryWindow : public test::WindowOf<XF_Cha_HZ> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-15 09:30:00";
        con->executeScript(R"(
insert into Card_Type(C_LeiBie,C_Name,Del_YN) values (1,'',0),(2,'教师卡',0),(3,'旧卡',1);
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name) values (1,'一食堂'),(2,'超市');
)");
    }
    // Loads the window and activates it as showing it would.
    void open() {
        w.Load();
        w.Form_Activate();
    }
    int rowOf(const std::string& text) {
        for (int i = 0; i < w.List1.ListCount(); ++i)
            if (w.List1.List(i) == text) return i;
        return -1;
    }
    void addFormat(const std::string& key, const std::string& name, const std::string& p2, const std::string& p3 = "1111",
                   const std::string& p4 = "11110100", const std::string& p5 = "000000") {
        test::addReportFormat(*con, key, name, p2, p3, p4, p5);
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(SummaryWindow);

TEST_P(SummaryWindow, OpensWithTheChooserAndTheBuiltInReports) {
    open();
    EXPECT_EQ(w.Caption(), "消费汇总统计");
    EXPECT_TRUE(w.Picture1.Visible());
    EXPECT_FALSE(w.Frame2.Enabled());
    EXPECT_FALSE(w.DTPicker1.Visible());
    EXPECT_EQ(w.DTPicker1.Date_Value(), "2026-07-15");
    ASSERT_EQ(w.List1.ListCount(), 11);
    EXPECT_EQ(w.List1.List(0), "现金收支日报表");
    EXPECT_EQ(w.List1.List(3), "------------------------------");
    EXPECT_EQ(w.List1.List(10), "消费统计汇总表");
    EXPECT_EQ(w.List1.ItemData(4), 4);
    EXPECT_EQ(w.List1.ItemData(7), 0);
    EXPECT_EQ(w.Command1.Caption(), "汇  总");
    EXPECT_EQ(w.Command4(0).Caption(), "EXCEL输出");
    EXPECT_EQ(w.Label1(0).Caption(), "汇总条件:");
    for (int i : {3, 7}) {  // separator rows leave the chooser open
        w.List1.setListIndex(i);
        EXPECT_TRUE(w.Picture1.Visible());
        EXPECT_EQ(w.Caption(), "消费汇总统计");
    }
}

TEST_P(SummaryWindow, ChoosingABuiltInReportSetsTheWindowState) {
    open();
    w.List1.setListIndex(1);  // monthly cash report, default format
    EXPECT_FALSE(w.Picture1.Visible());
    EXPECT_TRUE(w.Frame2.Enabled());
    EXPECT_EQ(w.Caption(), "消费汇总统计 ( 现金收支月报表 )");
    EXPECT_EQ(w.St.Rep_Name, "现金收支月报表");
    EXPECT_EQ(w.St.Rep_P2, "20000");
    EXPECT_EQ(w.St.Rep_Type, "2");
    EXPECT_EQ(w.St.Rep_P3, "1111");
    EXPECT_TRUE(w.Text1.Visible());
    EXPECT_EQ(w.Text1.Text(), "2026年7月");
    EXPECT_FALSE(w.Combo1.Visible());  // no grouping
    EXPECT_FALSE(w.Label1(0).Visible());
    EXPECT_EQ(w.Combo1.ListCount(), 0);
    EXPECT_TRUE(w.Command1.Enabled());
    EXPECT_FALSE(w.Command4(0).Visible());  // until a run fills the grid
    EXPECT_TRUE(w.St.Head_Loaded);
    // The first selection after activation builds the report's header.
    EXPECT_GT(w.Grid1.Cols(), 3);
    EXPECT_FALSE(w.St.Covered_Types.empty());
    EXPECT_EQ(w.Grid1.FixedRows(), 5);

    // Monthly reports start on the 1st.
    w.DTPicker1.setValue("2026-03-17");
    EXPECT_EQ(w.DTPicker1.Date_Value(), "2026-03-01");
    EXPECT_EQ(w.Text1.Text(), "2026年3月");

    w.List1.setListIndex(0);  // daily: the day stays as chosen
    EXPECT_FALSE(w.Text1.Visible());
    w.DTPicker1.setValue("2026-03-17");
    EXPECT_EQ(w.DTPicker1.Date_Value(), "2026-03-17");
}

TEST_P(SummaryWindow, AStoredBuiltInRowOverridesItsDefault) {
    addFormat("5", "总帐月报表", "20500");
    open();
    w.List1.setListIndex(4 + 1);  // row 5: the monthly ledger report
    EXPECT_EQ(w.St.Rep_P2, "20500");
    ASSERT_TRUE(w.Combo1.Visible());
    EXPECT_EQ(w.Label1(0).Caption(), "卡类型：");
    ASSERT_EQ(w.Combo1.ListCount(), 3);  // 全部 and the two live kinds
    EXPECT_EQ(w.Combo1.List(0), "全部");
    EXPECT_EQ(w.Combo1.List(1), "普通卡");  // unnamed kind 1
    EXPECT_EQ(w.Combo1.ItemData(2), 2);
    EXPECT_EQ(w.Combo1.ListIndex(), 0);
}

// Defined reports follow a separator of their own.
TEST_P(SummaryWindow, DefinedReportWithAPlaceDimension) {
    addFormat("101", "O'Brien日报", "10100");
    addFormat("205", "O'Brien月报", "20500");
    open();
    ASSERT_EQ(w.List1.ListCount(), 14);
    EXPECT_EQ(w.List1.List(11), "------------------------------ 以下为自定义报表");
    EXPECT_EQ(w.List1.ItemData(11), 0);
    EXPECT_EQ(w.List1.ItemData(w.List1.ListCount() - 1) + w.List1.ItemData(w.List1.ListCount() - 2), 306);
    w.List1.setListIndex(12);
    EXPECT_EQ(w.St.Rep_Name, "O'Brien日报");
    EXPECT_EQ(w.St.Rep_Type, "1");
    ASSERT_EQ(w.Combo1.ListCount(), 3);
    EXPECT_EQ(w.Combo1.List(1), "一食堂");
    EXPECT_EQ(w.Label1(0).Caption(), "收费点：");
}

TEST_P(SummaryWindow, UncertainBoxPeriodCheckAndOutput) {
    open();
    w.Check1.setValue(forms::vbChecked);
    EXPECT_EQ(w.St.Valid_Only, 0);
    w.Check1.setValue(forms::vbUnchecked);
    EXPECT_EQ(w.St.Valid_Only, 1);

    int runs = 0;
    w.Run_Report = [&] { ++runs; };
    w.List1.setListIndex(2);
    w.DTPicker1.setValue("2026-07-10");
    w.DTPicker2.setValue("2026-07-09");
    w.Command1.click();
    EXPECT_EQ(runs, 0);
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt, Lang[414]);
    EXPECT_EQ(sv->boxes[0].style, 48);
    w.DTPicker2.setValue("2026-07-10");
    w.Command1.click();
    EXPECT_EQ(runs, 1);
    // A monthly report's period is whole months: the 20th to the 5th of one month is July to July.
    w.DTPicker1.setValue("2026-07-20");
    w.DTPicker2.setValue("2026-07-05");
    w.List1.setListIndex(1);
    EXPECT_EQ(w.Text1.Text(), w.Text2.Text());
    w.Command1.click();
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(sv->boxes.size(), 1u);

    sv->fileAnswers = {dir.file("report.xlsx")};
    w.Command4(0).click();
    EXPECT_TRUE(std::filesystem::exists(dir.file("report.xlsx")));
    EXPECT_EQ(sv->boxes.back().prompt, "提示:输出成功.");
}

TEST_P(SummaryWindow, ActivationAfterTheFormatEditorClearsTheGrid) {
    open();
    w.List1.setListIndex(0);
    HZ_Format_Changed = true;
    w.Form_Activate();
    EXPECT_FALSE(HZ_Format_Changed);
    EXPECT_FALSE(w.St.Head_Loaded);
    EXPECT_EQ(w.Grid1.Rows(), 5);
    EXPECT_EQ(w.Grid1.Cols(), 3);
    EXPECT_EQ(w.Grid1.Cell(0, 1).Text(), "");
    EXPECT_FALSE(w.Command1.Enabled());
    EXPECT_FALSE(w.Combo1.Visible());
}

TEST_P(SummaryWindow, MinimumSizeAndEnglishCaptions) {
    Load_Lan(1);
    open();
    EXPECT_EQ(w.Caption(), "Consumption Summary & Statistics");
    EXPECT_EQ(w.Command2.Caption(), "Select report sheet");
    EXPECT_EQ(w.Command4(3).Caption(), "Print");
    EXPECT_EQ(w.List1.List(0), "Daily report on cash receipts and payments");
    w.setWidth(5000);
    w.setHeight(3000);
    w.Form_Resize();
    EXPECT_GE(w.Width(), 11600);
    EXPECT_GE(w.Height(), 8200);
    EXPECT_NEAR(w.Grid1.Width(), w.Width() - 420, 15);
}
