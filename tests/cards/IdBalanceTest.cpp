#include <QTimer>

#include <csignal>
#include <map>

#include "CardsFixture.h"
#include "cards/IDYuE_QingLing.h"
#include "cards/YuE_ID_Cha.h"
#include "support/Peer.h"
#include "support/PeerModule.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

using T = test::Texts;

// "￥12.34" in fen; the sign alone (no counted row) is 0.
std::int64_t fen(const std::string& shown) {
    const std::string n = shown.substr(3);
    return n.empty() ? 0 : std::llround(std::stod(n) * 100);
}

class IdBalance : public test::CardsWindow<YuE_ID_Cha> {
protected:
    void SetUp() override {
        CardsWindow::SetUp();
        if (IsSkipped()) return;
        addPeople();
        con->execute("insert into Sys_Para(Para_Name,P1,P2) values ('JieSuan_Date','2026-03-01 00:00:00','1')");
    }
    void row(int person, int change, const std::string& date, int err = 0) {
        test::XfRow().person(person).card("C").type(5).money(change).date(date).err(err).insert(*con);
    }
    void query(const std::string& dept, const std::string& day, const std::string& name = "") {
        if (!w.Loaded()) w.Load();
        w.ucDep1.selectDepartment(dept);
        w.ucDep1.setFilters(name, "", "");
        w.DTPicker1.setValue(day);
        w.Command1.click();
    }
    T gridRow(int r) {
        T out;
        for (int c = 1; c <= 5; ++c) out.push_back(cell(r, c));
        return out;
    }
};

TOLVENK_ON_BOTH_ENGINES(IdBalance);

TEST_P(IdBalance, BalanceIsTheSumOfValidChangesToTheEndOfTheDay) {
    row(1, 1000, "2026-11-20 10:00:00");
    row(1, -250, "2026-11-25 23:59:59");
    row(1, -100, "2026-11-25 12:00:00", 1);  // uncertain
    row(1, -300, "2026-11-26 00:00:00");     // the next day
    row(4, 75, "2026-11-01 10:00:00");
    w.Load();
    EXPECT_EQ(w.Caption(), "ID卡余额查询");
    EXPECT_EQ(w.Command2.Caption(), "余额清零");
    EXPECT_EQ(w.DTPicker1.MinDate(), "2026-03-01");
    EXPECT_EQ(w.DTPicker1.Date_Value(), "2027-06-01");
    EXPECT_EQ(gridRow(0), (T{"员工姓名", "员工工号", "部门名称", "截止日期", "卡上余额"}));

    query("0", "2026-11-25");
    ASSERT_EQ(w.Grid1.Rows(), 6);
    EXPECT_EQ(gridRow(1), (T{"张三丰", "E2", "总部", "", "￥"}));
    EXPECT_EQ(gridRow(2), (T{"张三", "E1", "财务", "2026-11-25 23:59:59", "￥7.50"}));
    EXPECT_EQ(gridRow(4), (T{"王五", "E4", "食堂", "2026-11-01 10:00:00", "￥0.75"}));
    EXPECT_EQ(cell(5, 1), "总计:");
    EXPECT_EQ(cell(5, 5), "￥8.25");

    // A name in the picker matches exactly here.
    query("0", "2026-11-26", "张三");
    ASSERT_EQ(w.Grid1.Rows(), 3);
    EXPECT_EQ(gridRow(1), (T{"张三", "E1", "财务", "2026-11-26 00:00:00", "￥4.50"}));
    query("09", "2026-11-26");
    EXPECT_EQ(gridRow(1)[4], "￥0.00");
}

// Sums past 64 bits (the file engine refuses them, the server hands them
// over wider) are shown exactly, per employee and in the total.
TEST_P(IdBalance, BalancesBeyondSixtyFourBitsAreShownExactly) {
    test::XfRow().person(1).card("C").type(5).money(INT64_MAX).date("2026-11-20 10:00:00").insert(*con);
    test::XfRow().person(1).card("C").type(5).money(3).date("2026-11-21 10:00:00").insert(*con);
    test::XfRow().person(4).card("C").type(5).money(INT64_MIN).date("2026-11-02 10:00:00").insert(*con);
    test::XfRow().person(4).card("C").type(5).money(-1).date("2026-11-03 10:00:00").insert(*con);
    test::XfRow().person(2).card("C").type(5).money(9007199254740993).date("2026-11-04 10:00:00").insert(*con);
    query("0", "2026-11-25");
    ASSERT_EQ(w.Grid1.Rows(), 6);
    // 2^63 - 1 + 3 = 9223372036854775810 fen; -2^63 - 1 = -9223372036854775809.
    EXPECT_EQ(gridRow(1), (T{"张三丰", "E2", "总部", "2026-11-04 10:00:00", "￥90071992547409.93"}));
    EXPECT_EQ(gridRow(2), (T{"张三", "E1", "财务", "2026-11-21 10:00:00", "￥92233720368547758.10"}));
    EXPECT_EQ(gridRow(4), (T{"王五", "E4", "食堂", "2026-11-03 10:00:00", "￥-92233720368547758.09"}));
    // 9007199254740993 + 9223372036854775810 - 9223372036854775809 = 9007199254740994.
    EXPECT_EQ(cell(5, 5), "￥90071992547409.94");
}

TEST_P(IdBalance, CaptionsFitInEveryLanguage) {
    for (std::int16_t language : {0, 1, 2}) {
        Load_Lan(language);
        Lan_Type = language;
        w.Load();
        EXPECT_EQ(test::badCaptions(w), T{}) << "language " << language;
        w.Unload();
    }
}

class GeneratedIdBalance : public IdBalance {};
TOLVENK_ON_FILE_ONLY(GeneratedIdBalance);

TEST_P(GeneratedIdBalance, BalancesOfAGeneratedDatabaseMatchSumsOverAllRows) {
    useGenerated(20000);
    const std::string bound = "2026-10-20Z";
    std::map<std::string, std::int64_t> sums;  // by employee code
    std::int64_t all = 0;
    for (const auto& r : test::rows(*con, "select p.P_Code,x.Date_Time,x.YuE_Change from Record_XF x join Ren_Per_Info p on "
                                          "p.Pinfo_ID=x.Pinfo_id where x.Err_Code=0"))
        if (r[1] <= bound) {
            sums[r[0]] += std::stoll(r[2]);
            all += std::stoll(r[2]);
        }
    w.Load();
    w.DTPicker1.setValue("2026-10-20");
    std::int64_t totals = 0;
    int listed = 0;
    for (const auto& d : test::column(*con, "select Dept_No from Ren_Dept_Info where Dept_Level=0")) {
        w.ucDep1.selectDepartment(d);
        w.Command1.click();
        for (int r = 1; r < w.Grid1.Rows() - 1; ++r, ++listed)
            EXPECT_EQ(fen(cell(r, 5)), sums[cell(r, 2)]) << cell(r, 2);
        totals += fen(cell(w.Grid1.Rows() - 1, 5));
    }
    EXPECT_EQ(listed, 300);
    EXPECT_EQ(totals, all);
}

class IdClearing : public test::CardsWindow<IDYuE_QingLing> {
protected:
    void SetUp() override {
        CardsWindow::SetUp();
        if (IsSkipped()) return;
        addPeople();
        // 张三 has two cards; the deleted 李四 one. Card_Type and C_LeiBie differ on purpose.
        con->executeScript(R"(
insert into Card_Info(Pinfo_id,Card_No,Card_Model,C_YuE_ID,Card_Type,C_LeiBie) values
 (1,'C1',1,1234,9,3),(1,'C2',1,500,9,4),(3,'C3',0,700,9,5),(4,'C4',1,0,9,6);
insert into Card_Log(Pinfo_id,Card_No,Op_Type,Card_YuE) values (1,'C1',0,1234),(1,'C2',0,500),(3,'C3',0,700);
)");
    }
    T gridRow(int r) {
        T out;
        for (int c = 1; c <= 8; ++c) out.push_back(cell(r, c));
        return out;
    }
    T card(const std::string& c) {
        return test::row(*con, "select i.C_YuE_ID, (select max(Card_YuE) from Card_Log l where l.Card_No=i.Card_No), "
                               "(select count(*) from Record_XF x where x.Card_No=i.Card_No) from Card_Info i where i.Card_No='" + c + "'");
    }
    int rowOf(const std::string& card) {
        for (int r = 1; r < w.Grid1.Rows(); ++r)
            if (cell(r, 5) == card) return r;
        return -1;
    }
    T logRows() { return test::column(*con, "select Op_Code||' '||Operator_ID||' '||Op_Object from Sys_Log order by ID"); }
};

TOLVENK_ON_BOTH_ENGINES(IdClearing);

// Each ticked card is voided from the balance the database holds and set to
// 0 with its log balance, in one transaction: a card that fails there stays
// whole and is reported, not counted; the next click changes no card.
TEST_P(IdClearing, ClearsTickedCardsEachWholeOrNotAtAll) {
    w.Load();
    EXPECT_EQ(w.Caption(), "余额清零");
    EXPECT_EQ(w.CheckAll.Caption(), "全选");
    w.ucDep1.selectDepartment("0");
    ASSERT_EQ(w.Grid1.Rows(), 5);
    EXPECT_EQ(gridRow(rowOf("C1")), (T{"", "张三", "E1", "财务", "C1", "12.34", "1", "9"}));
    EXPECT_EQ(gridRow(3), (T{"", "李四", "E3", "食堂", "C3", "7.00", "3", "9"}));  // by name; deleted people too
    EXPECT_EQ(w.Grid1.Column(7).Width(), 0);

    // Nothing ticked: nothing done or said, but the click is logged as "0,0".
    w.Command1.click();
    EXPECT_TRUE(sv->boxes.empty());
    EXPECT_EQ(logRows(), (T{"301 7 0,0"}));

    w.CheckAll.setValue(forms::vbChecked);
    w.Grid1.Cell(3, 1).setText("0");  // 李四 not
    con->execute("update Card_Info set C_YuE_ID=1500 where Card_No='C1'");  // changed since the list was read
    test::refuseWrites(*con, engine(), "boom", "update", "Card_Info", "new.Card_No='C2'", "injected");
    w.Command1.click();

    EXPECT_EQ(card("C1"), (T{"0", "0", "1"}));
    EXPECT_EQ(test::row(*con, "select Pinfo_id,C_LeiBie,XF_Type,YuE_Old,YuE_Change,YuE_New,Mach_LiuShui,Date_Time,Operator_id,Err_Code "
                              "from Record_XF where Card_No='C1'"),
              (T{"1", "3", "175", "1500", "-1500", "0", "-3", "2027-06-01 10:00:00", "7", "0"}));
    EXPECT_EQ(card("C2"), (T{"500", "500", "0"}));
    EXPECT_EQ(card("C3"), (T{"700", "700", "0"}));
    EXPECT_EQ(card("C4"), (T{"0", "<null>", "0"}));
    EXPECT_EQ(logRows(), (T{"301 7 0,0", "301 7 1,-1500"}));
    EXPECT_EQ(cell(rowOf("C1"), 6), "0.00");
    EXPECT_EQ(cell(rowOf("C2"), 6), "5.00");
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, platform::vbCritical);
    EXPECT_EQ(sv->boxes[0].title, "提示");
    EXPECT_EQ(sv->boxes[0].prompt.rfind("已清零 1 张卡，合计 ￥15.00；余额已为零未处理 1 张；清零失败 1 张。\n卡号 C2（员工ID 1）清零失败：", 0), 0u)
        << sv->boxes[0].prompt;
    EXPECT_NE(sv->boxes[0].prompt.find("injected"), std::string::npos);

    // Again, still failing: nothing changes; the log says nothing was cleared.
    const auto before = test::rows(*con, "select * from Record_XF");
    w.Command1.click();
    EXPECT_EQ(test::rows(*con, "select * from Record_XF"), before);
    EXPECT_EQ(logRows(), (T{"301 7 0,0", "301 7 1,-1500", "301 7 0,0"}));

    // The cause gone, the retry clears only what is left.
    test::allowWrites(*con, engine(), "boom", "Card_Info");
    w.Command1.click();
    EXPECT_EQ(card("C1"), (T{"0", "0", "1"}));
    EXPECT_EQ(card("C2"), (T{"0", "0", "1"}));
    EXPECT_EQ(test::text(*con, "select C_LeiBie||','||YuE_Change from Record_XF where Card_No='C2'"), "4,-500");
    EXPECT_EQ(logRows(), (T{"301 7 0,0", "301 7 1,-1500", "301 7 0,0", "301 7 1,-500"}));
    EXPECT_EQ(sv->boxes.back().style, platform::vbInformation);
    EXPECT_EQ(sv->boxes.back().prompt.rfind("提示：成功！\n已清零 1 张卡", 0), 0u) << sv->boxes.back().prompt;

    // Once every ticked card (C4 was at 0 from the start) is at 0, another click writes no void row.
    const auto cleared = test::rows(*con, "select * from Record_XF");
    w.Command1.click();
    EXPECT_EQ(test::rows(*con, "select * from Record_XF"), cleared);
    EXPECT_EQ(logRows().back(), "301 7 0,0");
    EXPECT_EQ(sv->boxes.back().prompt.rfind("已清零 0 张卡，合计 ￥0.00；余额已为零未处理 3 张；清零失败 0 张。", 0), 0u)
        << sv->boxes.back().prompt;
}

// The click's log row is written with the first card it clears, in that
// card's transaction: a log that cannot be written leaves the card whole,
// reported with the reason, and the run is not reported as a success.
TEST_P(IdClearing, ALogRowThatCannotBeWrittenLeavesTheCardWholeAndIsReported) {
    test::refuseWrites(*con, engine(), "nolog", "insert", "Sys_Log", "", "injected");
    w.Load();
    w.ucDep1.selectDepartment("0");
    w.Grid1.Cell(rowOf("C2"), 1).setText("1");
    w.Command1.click();
    EXPECT_EQ(card("C2"), (T{"500", "500", "0"}));
    EXPECT_EQ(card("C1"), (T{"1234", "1234", "0"}));
    EXPECT_EQ(test::number(*con, "select count(*) from Sys_Log"), 0);
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, platform::vbCritical);
    EXPECT_EQ(sv->boxes[0].prompt.rfind("已清零 0 张卡，合计 ￥0.00；余额已为零未处理 0 张；清零失败 1 张。\n卡号 C2", 0), 0u)
        << sv->boxes[0].prompt;
    EXPECT_NE(sv->boxes[0].prompt.find("\n操作日志未能写入：injected"), std::string::npos) << sv->boxes[0].prompt;
}

TEST_P(IdClearing, CaptionsFitInEveryLanguage) {
    for (std::int16_t language : {0, 1, 2}) {
        Load_Lan(language);
        Lan_Type = language;
        w.Load();
        EXPECT_EQ(test::badCaptions(w), T{}) << "language " << language;
        w.Unload();
    }
}

// In the event loop: the query window's button opens the clearing, whose
// select-all box and button clear the department's cards.
TEST_P(IdClearing, OnScreenTheQueryOpensTheClearingWhichClearsTheDepartment) {
    registerWindow("IDYuE_QingLing", [] { return std::make_unique<IDYuE_QingLing>(); });
    auto* clearing = static_cast<IDYuE_QingLing*>(windowObject("IDYuE_QingLing"));
    YuE_ID_Cha query;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            clearing->ucDep1.selectDepartment("01");
            test::clickOnScreen(clearing->CheckAll);
            test::clickOnScreen(clearing->Command1);
            clearing->Unload();
        });
        test::clickOnScreen(query.Command2);
        query.Unload();
    });
    query.Show();
    EXPECT_EQ(card("C1"), (T{"0", "0", "1"}));
    EXPECT_EQ(card("C2"), (T{"0", "0", "1"}));
    EXPECT_EQ(card("C3"), (T{"700", "700", "0"}));
    EXPECT_EQ(logRows(), (T{"301 7 2,-1734"}));
}

}  // namespace

namespace {

// A second office clearing department 0 that is killed, as by kill -9 or a
// power cut, as it starts on the fifth ticked card.
TOLVENK_PEER_JOB(ClearUntilKilled) {
    test::PeerModule module(peer.arg("db"));
    module.services().clock = "2027-06-01 11:00:00";
    Op_User_ID = 8;
    IDYuE_QingLing w;
    w.Load();
    w.ucDep1.selectDepartment("0");
    w.CheckAll.setValue(forms::vbChecked);
    int cards = 0;
    db::setStatementObserver([&](const std::string& sql) {
        if (sql.rfind("select C_YuE_ID,C_LeiBie from Card_Info", 0) == 0 && ++cards == 5) ::raise(SIGKILL);
    });
    w.Command1.click();
    return 0;
}

}  // namespace

// The log of a click killed midway tells exactly the cards it cleared; the
// next click clears the rest and logs those. A ticked card already at 0 has
// its card-log balance set to 0 too, without a void row.
TEST_P(IdClearing, AClickKilledMidwayLeavesALogOfWhatItCleared) {
    con->executeScript(R"(
insert into Card_Info(Pinfo_id,Card_No,Card_Model,C_YuE_ID,Card_Type,C_LeiBie) values
 (2,'D1',1,100,9,3),(2,'D2',1,200,9,3),(2,'D3',1,300,9,3),(2,'D4',1,400,9,3),(2,'Z',1,0,9,3);
insert into Card_Log(Pinfo_id,Card_No,Op_Type,Card_YuE) values (2,'Z',0,32000);
)");
    test::Peer office("ClearUntilKilled", {{"db", cs}});
    EXPECT_EQ(office.wait(), 128 + SIGKILL);
    const T done = test::row(*con, "select count(*), sum(YuE_Change) from Record_XF where XF_Type=175");
    EXPECT_EQ(done[0], "4");
    EXPECT_EQ(logRows(), (T{"301 8 " + done[0] + "," + done[1]}));

    w.Load();
    w.ucDep1.selectDepartment("0");
    w.CheckAll.setValue(forms::vbChecked);
    w.Command1.click();
    const T rest = test::row(*con, "select count(*), sum(YuE_Change) from Record_XF where XF_Type=175 and "
                                   "Date_Time='2027-06-01 10:00:00'");
    EXPECT_EQ(logRows(), (T{"301 8 " + done[0] + "," + done[1], "301 7 " + rest[0] + "," + rest[1]}));
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type=175"), 7);  // all but C4 and Z
    EXPECT_EQ(test::number(*con, "select sum(C_YuE_ID) from Card_Info"), 0);
    EXPECT_EQ(card("Z"), (T{"0", "0", "0"}));
}

// A settlement left unfinished on its way to 1 December: a balance asked of
// a day before it may lack rows, and the query says so once; after it, not.
TEST_P(IdBalance, ADayBeforeAnUnfinishedSettlementIsWarnedOf) {
    con->execute("update Sys_Para set P2='0', P3='2026-12-01 00:00:00' where Para_Name='JieSuan_Date'");
    row(1, 500, "2026-11-10 10:00:00");
    query("0", "2026-11-20");
    EXPECT_EQ(sv->takeBoxes(), (T{"上次结算未完成（结算到 2026-12-01）：该日期之前的余额和记录可能不全。请再次结算到该日期以完成结算。"}));
    query("0", "2026-12-01");
    EXPECT_TRUE(sv->takeBoxes().empty());
}

// A card number stored in another encoding is shown made valid and cleared
// by its own bytes. File only: the server holds no such text.
class IdClearingFile : public IdClearing {};
TOLVENK_ON_FILE_ONLY(IdClearingFile);

TEST_P(IdClearingFile, ACardNumberInAnotherEncodingIsClearedByItsOwnBytes) {
    const std::string gbk = "K\xC0\xEE";
    con->execute("insert into Card_Info(Pinfo_id,Card_No,Card_Model,C_YuE_ID,Card_Type,C_LeiBie) values (4,'" + gbk +
                 "',1,300,9,3)");
    w.Load();
    w.ucDep1.selectDepartment("0");
    const int r = rowOf("K\xEF\xBF\xBD\xEF\xBF\xBD");
    ASSERT_GT(r, 0);
    w.Grid1.Cell(r, 1).setText("1");
    w.Command1.click();
    EXPECT_EQ(test::number(*con, "select C_YuE_ID from Card_Info where Card_No='" + gbk + "'"), 0);
    EXPECT_EQ(test::text(*con, "select YuE_Change from Record_XF where XF_Type=175 and Card_No='" + gbk + "'"), "-300");
    EXPECT_EQ(logRows(), (T{"301 7 1,-300"}));
}
