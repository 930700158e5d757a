#include <QTimer>

#include <csignal>

#include "CardsFixture.h"
#include "cards/IDYuE_QingLing.h"
#include "cards/YuE_ID_Cha.h"
#include "data/WriteBatch.h"
#include "support/Peer.h"
#include "support/PeerModule.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

using T = test::Texts;

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
    EXPECT_EQ(logRows(), (T{"301 7 0,0", "301 7 2,-1500"}));  // C4, at 0, counts too
    EXPECT_EQ(cell(rowOf("C1"), 6), "0.00");
    EXPECT_EQ(cell(rowOf("C2"), 6), "5.00");
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, platform::vbCritical);
    EXPECT_EQ(sv->boxes[0].title, "提示");
    EXPECT_EQ(sv->boxes[0].prompt.rfind("已清零 1 张卡，合计 ￥15.00；余额已为零未处理 1 张；清零失败 1 张。\n卡号 C2（员工ID 1）清零失败：", 0), 0u)
        << sv->boxes[0].prompt;
    EXPECT_NE(sv->boxes[0].prompt.find("injected"), std::string::npos);

    // Again, still failing: nothing changes; the log counts the two cards it took, at 0.
    const auto before = test::rows(*con, "select * from Record_XF");
    w.Command1.click();
    EXPECT_EQ(test::rows(*con, "select * from Record_XF"), before);
    EXPECT_EQ(logRows(), (T{"301 7 0,0", "301 7 2,-1500", "301 7 2,0"}));

    // The cause gone, the retry clears only what is left.
    test::allowWrites(*con, engine(), "boom", "Card_Info");
    w.Command1.click();
    EXPECT_EQ(card("C1"), (T{"0", "0", "1"}));
    EXPECT_EQ(card("C2"), (T{"0", "0", "1"}));
    EXPECT_EQ(test::text(*con, "select C_LeiBie||','||YuE_Change from Record_XF where Card_No='C2'"), "4,-500");
    EXPECT_EQ(logRows(), (T{"301 7 0,0", "301 7 2,-1500", "301 7 2,0", "301 7 3,-500"}));
    EXPECT_EQ(sv->boxes.back().style, platform::vbInformation);
    EXPECT_EQ(sv->boxes.back().prompt.rfind("提示：成功！\n已清零 1 张卡", 0), 0u) << sv->boxes.back().prompt;

    // Once every ticked card (C4 was at 0 from the start) is at 0, another click writes no void row.
    const auto cleared = test::rows(*con, "select * from Record_XF");
    w.Command1.click();
    EXPECT_EQ(test::rows(*con, "select * from Record_XF"), cleared);
    EXPECT_EQ(logRows().back(), "301 7 3,0");
    EXPECT_EQ(sv->boxes.back().prompt.rfind("已清零 0 张卡，合计 ￥0.00；余额已为零未处理 3 张；清零失败 0 张。", 0), 0u)
        << sv->boxes.back().prompt;
}

// The click's log row is written with the first card it clears, in that
// card's transaction: a log that cannot be written leaves the card whole,
// reported with the reason, and the run is not reported as a success. The
// reason is a sentence in the window's language, the engine's words below it.
TEST_P(IdClearing, ALogRowThatCannotBeWrittenLeavesTheCardWholeAndIsReported) {
    test::refuseWrites(*con, engine(), "nolog", "insert", "Sys_Log", "", "injected");
    const std::string card2[3] = {"\n卡号 C2（员工ID 1）清零失败：数据库未能完成这一步操作。\n",
                                  "\nCard C2 (employee ID 1) could not be cleared: The database could not carry out "
                                  "this step.\n",
                                  "\n卡號 C2（員工ID 1）清零失敗：數據庫未能完成這一步操作。\n"};
    const std::string log[3] = {"\n操作日志未能写入：数据库未能完成这一步操作。\n",
                                "\nThe operation log could not be written: The database could not carry out this "
                                "step.\n",
                                "\n操作日誌未能寫入：數據庫未能完成這一步操作。\n"};
    for (std::int16_t language : {0, 1, 2}) {
        Load_Lan(language);
        sv->boxes.clear();
        w.Load();
        w.ucDep1.selectDepartment("0");
        w.Grid1.Cell(rowOf("C2"), 1).setText("1");
        w.Command1.click();
        EXPECT_EQ(card("C2"), (T{"500", "500", "0"}));
        EXPECT_EQ(card("C1"), (T{"1234", "1234", "0"}));
        EXPECT_EQ(test::number(*con, "select count(*) from Sys_Log"), 0);
        ASSERT_EQ(sv->boxes.size(), 1u);
        EXPECT_EQ(sv->boxes[0].style, platform::vbCritical);
        const std::string& prompt = sv->boxes[0].prompt;
        if (language == 0) {
            EXPECT_EQ(prompt.rfind("已清零 0 张卡，合计 ￥0.00；余额已为零未处理 0 张；清零失败 1 张。\n卡号 C2", 0), 0u) << prompt;
        }
        const auto atCard = prompt.find(card2[language]), atLog = prompt.find(log[language]);
        ASSERT_NE(atCard, std::string::npos) << prompt;
        ASSERT_NE(atLog, std::string::npos) << prompt;
        // Each sentence's next line holds the engine's own words.
        EXPECT_NE(prompt.substr(atCard + card2[language].size(), prompt.find('\n', atCard + card2[language].size()) -
                                                                       atCard - card2[language].size())
                      .find("injected"),
                  std::string::npos)
            << prompt;
        EXPECT_NE(prompt.find("injected", atLog + log[language].size()), std::string::npos) << prompt;
    }
}

TEST_P(IdClearing, CaptionsFitInEveryLanguage) {
    EXPECT_EQ(test::badCaptionsInEveryLanguage({&w}), T{});
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
// power cut, as it reads its third set, its sets and batches two cards
// each: the first four are committed, the fifth and sixth in hand.
TOLVENK_PEER_JOB(ClearUntilKilled) {
    test::PeerModule module(peer.arg("db"));
    Write_Batch::standard().items = 2;
    module.services().clock = "2027-06-01 11:00:00";
    Op_User_ID = 8;
    IDYuE_QingLing w;
    w.Load();
    w.ucDep1.selectDepartment("0");
    w.CheckAll.setValue(forms::vbChecked);
    int sets = 0;
    db::setStatementObserver([&](const std::string& sql) {
        if (sql.rfind("select ID,Pinfo_id,Card_No,C_YuE_ID,C_LeiBie from Card_Info", 0) == 0 && ++sets == 3)
            ::raise(SIGKILL);
    });
    w.Command1.click();
    return 0;
}

}  // namespace

// The log of a click killed midway tells exactly the cards it took; the
// next click clears the rest and logs every card it took, those already at 0
// too. A ticked card already at 0 has its card-log balance set to 0 too,
// without a void row.
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
    const std::string ticked = std::to_string(w.Grid1.Rows() - 1);
    EXPECT_EQ(logRows(), (T{"301 8 " + done[0] + "," + done[1], "301 7 " + ticked + "," + rest[1]}));
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type=175"), 7);  // all but C4 and Z
    EXPECT_EQ(test::number(*con, "select sum(C_YuE_ID) from Card_Info"), 0);
    EXPECT_EQ(card("Z"), (T{"0", "0", "0"}));
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
