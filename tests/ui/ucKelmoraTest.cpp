#include "lang/Language.h"
#include "platform/Error.h"
#include "platform/forms/Form.h"
#include "support/Fixtures.h"
#include "ui/ucKelmora.h"

using namespace tolvenk;

namespace {

class Kelmora : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        // 03 is deleted, so 0301 stands as a root; 0102 does not exist, so
        // 010201 hangs under 01.
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values
 (1,'01','总部',0,0),(2,'0101','财务',1,0),(3,'010101','出纳',2,0),(4,'02','O''Neil Hall',0,0),
 (5,'03','撤销部',0,1),(6,'0301','留守组',1,0),(7,'010201','分部',2,0),(8,'05''A','Quote',0,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values
 (1,2,'0101','张三','E02','N1',0),(2,3,'010101','O''Brien','E01','N2',0),(3,2,'0101','离职','E03','N3',1),
 (4,4,'02','Li Si','E04','N4',0),(5,1,'01','Boss','E00','N0',0),(6,8,'05''A','Q Person','E06','N6',0);
)");
        picker.Dept_Changed = [this](const std::string& no) { changes.push_back(no); };
    }

    std::vector<std::int32_t> ticked() {
        std::vector<std::int32_t> ids{99, 98, 97, 96};  // stale contents must not survive
        const std::int16_t n = picker.Get_Sel_IDs(ids);
        EXPECT_EQ(n, static_cast<std::int16_t>(ids.size()));
        return ids;
    }
    std::vector<std::string> listed() const {
        std::vector<std::string> out;
        for (int i = 0; i < picker.lstEmp.ListCount(); ++i) out.push_back(picker.lstEmp.List(i));
        return out;
    }

    forms::Form form;
    ucKelmora picker{form};
    std::vector<std::string> changes;
    using S = std::vector<std::string>;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(Kelmora);

TEST_P(Kelmora, GetSelIsZeroWithoutAChoiceAndGivesTheDepartmentAndTrimmedFiltersAfterOne) {
    picker.Init(0xFFFFFF, 4, "admin", cs, 0);
    std::string dept = "d", name = "n", code = "c", num = "p";
    picker.setFilters("  张 三 ", " E1\t", "N1 ");
    EXPECT_EQ(picker.Get_Sel(dept, name, code, num), 0);
    EXPECT_EQ(S({dept, name, code, num}), S({"d", "n", "c", "p"}));

    picker.selectDepartment("0101");
    EXPECT_EQ(picker.Get_Sel(dept, name, code, num), 1);
    EXPECT_EQ(S({dept, name, code, num}), S({"0101", "张 三", "E1", "N1"}));

    picker.setFilters("", "", "");
    picker.selectDepartment("05'A");
    EXPECT_EQ(picker.Get_Sel(dept, name, code, num), 1);
    EXPECT_EQ(S({dept, name, code, num}), S({"05'A", "", "", ""}));
}

TEST_P(Kelmora, TreeHoldsLiveDepartmentsUnderTheirLongestLivePrefix) {
    picker.Init(0, 4, "admin", cs, 0);
    const auto& tv = picker.tvDept;
    EXPECT_EQ(tv.NodeCount(), 7);
    EXPECT_FALSE(tv.Exists("03"));
    EXPECT_EQ(tv.ChildKeys(""), S({"01", "02", "0301", "05'A"}));
    EXPECT_EQ(tv.ChildKeys("01"), S({"0101", "010201"}));
    EXPECT_EQ(tv.ChildKeys("0101"), S({"010101"}));
    EXPECT_EQ(tv.NodeText("02"), "O'Neil Hall");
    EXPECT_EQ(tv.NodeText("010101"), "出纳");
}

TEST_P(Kelmora, DeptChangedFollowsAChoiceButNotInit) {
    picker.Init(0, 4, "admin", cs, 0);
    EXPECT_TRUE(changes.empty());
    picker.selectDepartment("02");
    picker.selectDepartment("010201");
    EXPECT_EQ(changes, S({"02", "010201"}));
    // A deleted or unknown department cannot be chosen, and the choice stays.
    EXPECT_THROW(picker.selectDepartment("03"), VbError);
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_EQ(picker.tvDept.SelectedKey(), "010201");
    picker.Init(0, 4, "admin", cs, 0);
    EXPECT_EQ(changes.size(), 2u);
}

TEST_P(Kelmora, InitAgainForgetsTheChoiceAndReadsTheDepartmentsAfresh) {
    picker.Init(0, 3, "admin", cs, 0);
    picker.selectDepartment("0101");
    picker.tickAll(true);
    con->execute("update Ren_Dept_Info set Del_YN=1 where Dept_No='02'");
    con->execute("insert into Ren_Dept_Info(Dept_No,Dept_Name,Del_YN) values('0103','新部',0)");

    picker.Init(0, 3, "admin", cs, 0);
    std::string dept = "d", name, code, num;
    EXPECT_EQ(picker.Get_Sel(dept, name, code, num), 0);
    EXPECT_EQ(dept, "d");
    EXPECT_EQ(picker.lstEmp.ListCount(), 0);
    EXPECT_TRUE(ticked().empty());
    EXPECT_FALSE(picker.tvDept.Exists("02"));
    EXPECT_EQ(picker.tvDept.ParentKey("0103"), "01");
}

TEST_P(Kelmora, EmployeeModeListsTheSubtreesLiveEmployeesAndReturnsTheTickedOnesInListOrder) {
    picker.Init(0, 3, "admin", cs, 0);
    picker.selectDepartment("0101");
    EXPECT_EQ(changes, S({"0101"}));
    EXPECT_EQ(listed(), S({"E01 O'Brien", "E02 张三"}));
    EXPECT_TRUE(ticked().empty());

    picker.setTicked(1, true);
    EXPECT_EQ(ticked(), (std::vector<std::int32_t>{1}));
    picker.setTicked(2, true);
    EXPECT_EQ(ticked(), (std::vector<std::int32_t>{2, 1}));
    picker.setTicked(1, false);
    EXPECT_EQ(ticked(), (std::vector<std::int32_t>{2}));
    EXPECT_THROW(picker.setTicked(3, true), VbError);  // deleted, so not listed

    picker.chkAll.setValue(forms::vbChecked);  // the select-all box, as a person ticks it
    EXPECT_EQ(ticked(), (std::vector<std::int32_t>{2, 1}));
    picker.tickAll(false);
    EXPECT_TRUE(ticked().empty());

    // Another department lists afresh, unticked; its number is quoted safely.
    picker.tickAll(true);
    picker.selectDepartment("05'A");
    EXPECT_EQ(listed(), S({"E06 Q Person"}));
    EXPECT_TRUE(ticked().empty());
    EXPECT_EQ(picker.chkAll.Value(), forms::vbUnchecked);

    picker.selectDepartment("01");
    EXPECT_EQ(listed(), S({"E00 Boss", "E01 O'Brien", "E02 张三"}));
}

TEST_P(Kelmora, ModeAndLanguageChooseTheControlsAndTheirCaptions) {
    Load_Lan(1);
    picker.Init(0, 4, "admin", cs, 1);
    EXPECT_EQ(S({picker.lblName.Caption(), picker.lblCode.Caption(), picker.lblNum.Caption()}),
              S({"Name", "Employee ID", "Staff No."}));
    EXPECT_TRUE(picker.txtNum.Visible());
    EXPECT_FALSE(picker.lstEmp.Visible());

    Load_Lan(2);
    picker.Init(0, 4, "admin", cs, 2);
    EXPECT_EQ(S({picker.lblName.Caption(), picker.lblCode.Caption(), picker.lblNum.Caption()}),
              S({"姓名", "工號", "員工編號"}));

    // The employee picker is handed Simplified, yet speaks the module's language.
    Load_Lan(1);
    picker.Init(0, 3, "admin", cs, 0);
    EXPECT_EQ(picker.chkAll.Caption(), "Select All");
    Load_Lan(0);
    picker.Init(0, 3, "admin", cs, 0);
    EXPECT_EQ(picker.chkAll.Caption(), "全选");
    EXPECT_FALSE(picker.txtName.Visible());
    EXPECT_TRUE(picker.lstEmp.Visible());
    // The children stay inside the frame at any size the window gives it.
    picker.Move(120, 240, 2400, 3000);
    const std::vector<const forms::Control*> children{&picker.tvDept, &picker.chkAll, &picker.lstEmp};
    for (const forms::Control* c : children) {
        EXPECT_GE(c->Top(), 0);
        EXPECT_LE(c->Top() + c->Height(), picker.Height());
        EXPECT_LE(c->Left() + c->Width(), picker.Width());
    }
    EXPECT_EQ(picker.Left(), 120);
    EXPECT_LT(picker.tvDept.Top() + picker.tvDept.Height(), picker.lstEmp.Top());
}

TEST_P(Kelmora, AHostWindowThatUnloadsAndLoadsAgainGetsAFreshPicker) {
    struct Host : forms::Form {
        std::string cs;
        ucKelmora ucDep1{*this};
        void Form_Load() override { ucDep1.Init(0, 4, "admin", cs, 0); }
    } host;
    host.cs = cs;
    host.Load();
    host.ucDep1.selectDepartment("02");
    EXPECT_TRUE(host.Unload());
    host.Load();
    std::string dept, name, code, num;
    EXPECT_EQ(host.ucDep1.Get_Sel(dept, name, code, num), 0);
    EXPECT_EQ(host.ucDep1.tvDept.NodeCount(), 7);
}

// More people than a 16-bit count holds are ticked and counted as they are.
TEST_P(Kelmora, MoreThan32767TickedPeopleAreCounted) {
    std::string rows;
    for (int p = 100; p < 100 + 32770; ++p)
        rows += (rows.empty() ? "" : ",") + std::string("(") + std::to_string(p) + ",4,'02','P" + std::to_string(p) +
                "','C" + std::to_string(p) + "','',0)";
    con->executeScript("insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values " + rows);
    picker.Init(0, 3, "admin", cs, 0);
    picker.selectDepartment("02");
    picker.tickAll(true);
    std::vector<std::int32_t> ids;
    EXPECT_EQ(picker.Get_Sel_IDs(ids), 32771);  // Li Si and the 32,770 added
    EXPECT_EQ(ids.size(), 32771u);
}
