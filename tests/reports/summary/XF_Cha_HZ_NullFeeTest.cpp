// A card-log row whose return fee is NULL, as an installation's card log may
// hold: it counts as a return without a fee, the boxes tell of it, and every
// figure of the report is as the other rows give it. The figures are
// worked out by hand from the rows inserted here.
#include <sstream>
#include <vector>

#include "reports/summary/XF_Cha_HZ.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

using V = std::vector<std::string>;

// Expected cells, blank-separated, "_" an empty cell, "|" between blocks.
V row(const std::string& cells) {
    V out;
    std::istringstream in(cells);
    for (std::string t; in >> t;)
        if (t != "|") out.push_back(t == "_" ? "" : t);
    return out;
}

const char* const kNullText = "数据库中有一个这里需要的值是空的。";

class NullReturnFee : public test::WindowOf<XF_Cha_HZ> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-15 09:30:00";
        Money_Sign = "¥";
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (1,'01','总部',0,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,Del_YN) values (1,1,'01','张三',0);
insert into Card_Type(ID,C_LeiBie,C_Name,Del_YN) values (1,1,'',0);
)");
    }
    // The day of the report: recharges of 10.00 at the computer and 7.00 at a
    // terminal, an issue fee of 3.00, a change fee of 2.00 and a card return
    // whose fee was never written.
    void badDay(const char* day) {
        const std::string d = day;
        add(d + " 08:00:00", 161, 1000);
        add(d + " 08:10:00", 5, 700);
        con->executeScript("insert into Card_Log(Date_Time,Pinfo_id,C_LeiBie,Op_Type,FaKa_GBF,Huan_GBF,Tui_GBF) values"
                           " ('" + d + " 09:00:00',1,1,0,300,0,0),"
                           " ('" + d + " 10:00:00',1,1,3,0,200,0),"
                           " ('" + d + " 11:00:00',1,1,4,0,0,null);");
    }
    void add(const std::string& at, int type, std::int64_t money) {
        test::XfRow().date(at).person(1).kind(1).type(type).meal(0).money(money).times(0).err(0).insert(*con);
    }
    // The daily cash report (10000;1111;11001000;000000) over the days, by
    // the figures read once or by the statements per cell.
    void run(const std::string& from, const std::string& to, bool perCell) {
        if (!w.Loaded()) {
            w.Load();
            w.Form_Activate();
        }
        w.Per_Cell_Statements = perCell;
        sv->boxes.clear();
        w.List1.setListIndex(0);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        w.Command1.click();
    }
    V cells(int r) {
        V out;
        for (int c = 3; c < w.Grid1.Cols(); ++c) out.push_back(w.Grid1.Cell(r, c).Text());
        return out;
    }
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(NullReturnFee);

namespace {

// The boxes of a run over the NULL fee: one for the group totals that met
// it (the period, the day and the day's one group), one for the row.
void expectNullBoxes(const std::vector<test::TestServices::Box>& boxes) {
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, "出错:ERR_XF_Cha_HZ_2");
    EXPECT_EQ(boxes[0].style, platform::vbCritical);
    EXPECT_EQ(boxes[0].prompt.rfind(kNullText, 0), 0u) << boxes[0].prompt;
    EXPECT_NE(boxes[0].prompt.find("此错误出现了 3 次"), std::string::npos) << boxes[0].prompt;
    EXPECT_EQ(boxes[1].title, "出错:ERR_XF_Cha_HZ_4");
    EXPECT_EQ(boxes[1].prompt.rfind(kNullText, 0), 0u) << boxes[1].prompt;
    EXPECT_EQ(boxes[1].prompt.find("此错误出现了"), std::string::npos) << boxes[1].prompt;
}

}  // namespace

// The return whose fee is NULL is a return without a fee: it counts as one
// return of ¥0.00, every other figure of the day and the total is as the
// rows give it, and the boxes tell of the empty fee.
TEST_P(NullReturnFee, TheIncomeSubtotalAndBalanceStayRight) {
    badDay("2026-07-01");
    for (bool perCell : {false, true}) {
        SCOPED_TRACE(perCell ? "statements per cell" : "figures read once");
        run("2026-07-01", "2026-07-01", perCell);
        ASSERT_EQ(w.Grid1.Rows(), 8);  // the day, the total, the balance
        EXPECT_EQ(cell(5, 1), "2026-07-01");
        EXPECT_EQ(cells(5), row("¥10.00 1 _ _ | ¥7.00 1 _ _ | ¥3.00 1 ¥2.00 1 | ¥22.00 _ | _ _ | _ _ | ¥0.00 1 | _ _"));
        EXPECT_EQ(cell(6, 1), "总计：");
        EXPECT_EQ(cells(6),
                  row("¥10.00 1 0 0 | ¥7.00 1 0 0 | ¥3.00 1 ¥2.00 1 | ¥22.00 0 | ¥0.00 0 | ¥0.00 0 | ¥0.00 1 | ¥0.00 0"));
        EXPECT_EQ(cell(7, 1), "收支情况：¥22.00");
        expectNullBoxes(sv->boxes);
    }
}

// A good return of 1.50 on the day before and a withdrawal of 4.00 at a
// terminal on the bad day: the expense side holds both, the NULL fee adding
// a return and no money; the balance line is the income less the expense.
TEST_P(NullReturnFee, ARowWhoseReturnFeeQueryTrapsKeepsItsSubtotals) {
    add("2026-06-30 08:00:00", 161, 500);
    con->execute("insert into Card_Log(Date_Time,Pinfo_id,C_LeiBie,Op_Type,FaKa_GBF,Huan_GBF,Tui_GBF) values"
                 " ('2026-06-30 11:00:00',1,1,4,0,0,150)");
    badDay("2026-07-01");
    add("2026-07-01 12:00:00", 9, -400);
    for (bool perCell : {false, true}) {
        SCOPED_TRACE(perCell ? "statements per cell" : "figures read once");
        run("2026-06-30", "2026-07-01", perCell);
        ASSERT_EQ(w.Grid1.Rows(), 9);
        EXPECT_EQ(cell(5, 1), "2026-06-30");
        // The return fee, stored positive, shows negative on the expense side.
        EXPECT_EQ(cells(5), row("¥5.00 1 _ _ | _ _ _ _ | _ _ _ _ | ¥5.00 _ | _ _ | _ _ | ¥-1.50 1 | ¥-1.50 _"));
        EXPECT_EQ(cell(6, 1), "2026-07-01");
        EXPECT_EQ(cells(6), row("¥10.00 1 _ _ | ¥7.00 1 _ _ | ¥3.00 1 ¥2.00 1 | ¥22.00 _ | _ _ | ¥4.00 1 | ¥0.00 1 | ¥4.00 _"));
        EXPECT_EQ(cell(7, 1), "总计：");
        EXPECT_EQ(cells(7),
                  row("¥15.00 2 0 0 | ¥7.00 1 0 0 | ¥3.00 1 ¥2.00 1 | ¥27.00 0 | ¥0.00 0 | ¥4.00 1 | ¥-1.50 2 | ¥2.50 0"));
        EXPECT_EQ(cell(8, 1), "收支情况：¥24.50");
        expectNullBoxes(sv->boxes);
    }
}

// Two returns a day, one with an empty fee: first on the 1st, last on the
// 2nd. Each day counts two returns and 1.50 of fees, and the row box tells
// of the empty fee on both rows, wherever it lies among the rows read.
TEST_P(NullReturnFee, AnEmptyFeeIsToldOnEveryRowWhereverItLies) {
    con->executeScript("insert into Card_Log(Date_Time,Pinfo_id,C_LeiBie,Op_Type,FaKa_GBF,Huan_GBF,Tui_GBF) values"
                       " ('2026-07-01 10:00:00',1,1,4,0,0,null), ('2026-07-01 11:00:00',1,1,4,0,0,150),"
                       " ('2026-07-02 10:00:00',1,1,4,0,0,150), ('2026-07-02 11:00:00',1,1,4,0,0,null);");
    for (bool perCell : {false, true}) {
        SCOPED_TRACE(perCell ? "statements per cell" : "figures read once");
        run("2026-07-01", "2026-07-02", perCell);
        ASSERT_EQ(w.Grid1.Rows(), 9);
        for (int r : {5, 6}) EXPECT_EQ(cells(r), row("_ _ _ _ | _ _ _ _ | _ _ _ _ | _ _ | _ _ | _ _ | ¥-1.50 2 | ¥-1.50 _"));
        EXPECT_EQ(cells(7),
                  row("¥0.00 0 0 0 | ¥0.00 0 0 0 | ¥0.00 0 ¥0.00 0 | ¥0.00 0 | ¥0.00 0 | ¥0.00 0 | ¥-3.00 4 | ¥-3.00 0"));
        // A fee shows negative on the expense side: the balance gains it.
        EXPECT_EQ(cell(8, 1), "收支情况：¥3.00");
        // The group totals that met it: the period, and each day and its group.
        ASSERT_EQ(sv->boxes.size(), 2u);
        EXPECT_EQ(sv->boxes[0].title, "出错:ERR_XF_Cha_HZ_2");
        EXPECT_NE(sv->boxes[0].prompt.find("此错误出现了 5 次"), std::string::npos) << sv->boxes[0].prompt;
        EXPECT_EQ(sv->boxes[1].title, "出错:ERR_XF_Cha_HZ_4");
        EXPECT_EQ(sv->boxes[1].prompt.rfind(kNullText, 0), 0u) << sv->boxes[1].prompt;
        EXPECT_NE(sv->boxes[1].prompt.find("此错误出现了 2 次"), std::string::npos) << sv->boxes[1].prompt;
    }
}
