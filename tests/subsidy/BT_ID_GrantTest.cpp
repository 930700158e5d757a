#include "SubsidyKit.h"
#include "platform/db/Connection.h"
#include "subsidy/BT_ID_BF.h"
#include "subsidy/BT_ID_FF.h"

using namespace tolvenk;

namespace {

// Cards: 1 usable (12.00 and 3 times); 2 lost only; 3 usable, empty purse
// and 5 times; 5 an IC card only.
template <class W>
class IdKit : public test::SubsidyKit<W> {
protected:
    void seed() override {
        test::SubsidyKit<W>::seed();
        this->config(0, "1");
        this->con->executeScript(R"(
insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,C_LeiBie) values
 (11,1,'C1',1001,1,0,1200,3,1),(12,2,'C2',1002,1,1,800,0,1),(13,3,'C3',1003,1,0,0,5,2),(15,5,'C5',1005,0,0,0,0,1);
)");
    }
    void run(const std::string& times) {
        this->w.Load();
        this->w.Combo2.setText(times);
        this->w.Command1.click();
    }
    // Pinfo_ID:C_YuE_ID:C_YuCi_ID of every card.
    test::Texts cards() {
        return test::column(*this->con, "select Pinfo_id||':'||C_YuE_ID||':'||C_YuCi_ID from Card_Info order by ID");
    }
    // The written transactions, all columns from Mach_ID to Err_Code but the time.
    std::vector<test::Texts> records() {
        return test::rows(*this->con,
                          "select Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,"
                          "YuE_Change,YuE_New,C_QuHao,Card_LiuShui,Mach_LiuShui,Card_No,YuCi_Change,Operator_id,"
                          "XF_Unit,Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code from Record_XF order by ID");
    }
};

class IdGrant : public IdKit<BT_ID_FF> {};
class IdRegrant : public IdKit<BT_ID_BF> {};

}  // namespace

TEST_P(IdGrant, RefusesNoYearsNoNthAndIcBatches) {
    w.Load();
    EXPECT_EQ(w.Combo3.ListCount(), 0);
    w.Command1.click();
    expectBox("提示：该年月的该次补贴不存在补贴人员！", platform::vbExclamation);
    w.Unload();
    batchRow(1, 1, 1, -1, 500);
    batchRow(1, 2, 0, 2, 500);
    w.Load();
    EXPECT_EQ(w.Combo3.Text(), "2026");
    w.Command1.click();
    expectBox("提示:请选择第几次补贴!", platform::vbExclamation);
    w.Combo2.setText("1");
    w.Command1.click();
    expectBox("提示：该年月的该次补贴不是ID补贴！", platform::vbExclamation);
    w.Combo2.setText("2");
    w.Command1.click();
    expectBox("提示：该年月的该次补贴不存在或已经发放！", platform::vbExclamation);
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(records().size(), 0u);
}

// 5.00 to card 1 (12.00 -> 17.00) and 2.50 to card 3 (0 -> 2.50); 2 and 5
// have no usable ID card and wait; the stopped row of 4 is left alone. A
// second grant finds nothing prepared.
TEST_P(IdGrant, CreditsEachPreparedRowOnceWithItsTransaction) {
    batchRow(1, 1, 0, -1, 500);
    batchRow(2, 1, 0, -1, 300);
    batchRow(3, 1, 0, -1, 250);
    batchRow(4, 1, 0, 4, 999);
    batchRow(5, 1, 0, -1, 100);
    std::vector<std::string> sent;
    db::setStatementObserver([&](const std::string& s) { sent.push_back(s); });
    run("1");
    db::setStatementObserver(nullptr);
    expectBox("提示：成功发放2人,无法发放2人", platform::vbExclamation);
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(states(), (test::Texts{"1:2", "2:0", "3:2", "4:4", "5:0"}));
    EXPECT_EQ(cards(), (test::Texts{"1:1700:3", "2:800:0", "3:250:5", "5:0:0"}));
    // Operator and owner are the fixed 1, whoever grants; the batch rows keep the operator.
    EXPECT_EQ(records(), (std::vector<test::Texts>{
                             {"0", "1", "1001", "", "1", "0", "11", "0", "1200", "500", "1700", "0", "0", "0", "C1", "0",
                              "1", "1", "0", "0", "3", "0"},
                             {"0", "3", "1003", "", "2", "0", "11", "0", "0", "250", "250", "0", "0", "0", "C3", "0",
                              "1", "1", "0", "0", "5", "0"}}));
    // The changes go in with their sign.
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(),
                            [](const std::string& s) { return s.find(",+500,1700,") != std::string::npos; }),
              1);
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where ZhunBei_Ren_ID=7"), 4);

    run("1");
    expectBox("提示：该年月的该次补贴不存在或已经发放！", platform::vbExclamation);
    EXPECT_EQ(records().size(), 2u);
    EXPECT_EQ(cards()[0], "1:1700:3");
}

// Times go to the times purse only; a group recharge is booked as 174.
TEST_P(IdGrant, TimesBatchesAndGroupRecharges) {
    batchRow(3, 1, 3, -1, 0, 10);
    batchRow(1, 2, 0, -1, 700, 0, 1);
    run("1");
    expectBox("提示：成功发放1人,无法发放0人", platform::vbExclamation);
    run("2");
    expectBox("提示：成功发放1人,无法发放0人", platform::vbExclamation);
    EXPECT_EQ(cards(), (test::Texts{"1:1900:3", "2:800:0", "3:0:15", "5:0:0"}));
    EXPECT_EQ(test::rows(*con, "select Pinfo_id,XF_Type,YuE_Old,YuE_Change,YuE_New,YuCi_Change,YuCi_New from Record_XF "
                               "order by ID"),
              (std::vector<test::Texts>{{"3", "11", "0", "0", "0", "10", "15"},
                                        {"1", "174", "1200", "700", "1900", "0", "3"}}));
}

// A terminal's payment landing between the card look-up and the credit is
// kept: 12.00 + 10.00 meanwhile + 5.00 = 27.00, the row reading 22.00 -> 27.00.
TEST_P(IdGrant, AChangeMadeMeanwhileIsKept) {
    batchRow(1, 1, 0, -1, 500);
    auto other = test::connect(cs);
    bool changed = false;
    db::setStatementObserver([&](const std::string& s) {
        const bool clock = s.find("now()") != std::string::npos || s.find("getdate()") != std::string::npos;
        if (!clock || changed) return;
        changed = true;
        other->execute("update Card_Info set C_YuE_ID=C_YuE_ID+1000 where ID=11");
    });
    run("1");
    db::setStatementObserver(nullptr);
    ASSERT_TRUE(changed);
    expectBox("提示：成功发放1人,无法发放0人", platform::vbExclamation);
    EXPECT_EQ(cards()[0], "1:2700:3");
    EXPECT_EQ(test::row(*con, "select YuE_Old,YuE_Change,YuE_New from Record_XF"), (test::Texts{"2200", "500", "2700"}));
}

// A write refused for one employee undoes that employee's credit whole and is
// counted; the others are done; the next grant credits only that employee.
TEST_P(IdGrant, AFailureLeavesThatEmployeeUntouchedAndIsCreditedOnceLater) {
    batchRow(1, 1, 0, -1, 500);
    batchRow(2, 1, 0, -1, 300);
    batchRow(3, 1, 0, -1, 250);
    test::refuseWrites(*con, engine(), "no_3", "insert", "Record_XF", "new.Pinfo_id=3");
    run("1");
    expectBox("提示：成功发放1人,无法发放1人,因数据库出错未发放1人", platform::vbExclamation);
    EXPECT_EQ(states(), (test::Texts{"1:2", "2:0", "3:-1"}));
    EXPECT_EQ(cards(), (test::Texts{"1:1700:3", "2:800:0", "3:0:5", "5:0:0"}));
    EXPECT_EQ(test::text(*con, "select ZhunBei_Ren_ID from BuTie_OK where Pinfo_ID=3"), "1");

    test::allowWrites(*con, engine(), "no_3", "Record_XF");
    run("1");
    expectBox("提示：成功发放1人,无法发放0人", platform::vbExclamation);
    EXPECT_EQ(states(), (test::Texts{"1:2", "2:0", "3:2"}));
    EXPECT_EQ(cards(), (test::Texts{"1:1700:3", "2:800:0", "3:250:5", "5:0:0"}));
    EXPECT_EQ(test::column(*con, "select Pinfo_id||':'||YuE_Old||':'||YuE_New from Record_XF order by ID"),
              (test::Texts{"1:1200:1700", "3:0:250"}));
}

// Closing the window mid-run stops it after the employee in hand, telling
// what was done.
TEST_P(IdGrant, ClosingTheWindowStopsTheRun) {
    batchRow(1, 1, 0, -1, 500);
    batchRow(3, 1, 0, -1, 250);
    sv->onYield = [&] { w.Unload(); };
    run("1");
    expectBox("提示：成功发放1人,无法发放0人", platform::vbExclamation);
    EXPECT_EQ(test::number(*con, "select count(*) from BuTie_OK where B_SF=-1"), 1);
    EXPECT_EQ(records().size(), 1u);
}

// Rows waiting for a card: credited to the usable card issued since; those
// still without one are written again with the time and operator.
TEST_P(IdRegrant, CreditsWaitingRowsToCardsIssuedSince) {
    batchRow(1, 1, 0, 2, 500);
    batchRow(2, 1, 0, 0, 300);
    batchRow(5, 1, 0, 0, 100);
    con->execute("insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,"
                 "C_LeiBie) values (22,2,'C2b',2002,1,0,50,0,1)");
    Op_User_ID = 8;
    run("1");
    EXPECT_FALSE(w.Loaded());  // closed after the run
    expectBox("提示：成功补放1人,无法发放1人", platform::vbExclamation);
    EXPECT_EQ(states(), (test::Texts{"1:2", "2:2", "5:0"}));
    EXPECT_EQ(test::column(*con, "select Pinfo_ID||':'||ZhunBei_Ren_ID from BuTie_OK order by Pinfo_ID"),
              (test::Texts{"1:1", "2:8", "5:8"}));
    EXPECT_EQ(cards(), (test::Texts{"1:1200:3", "2:800:0", "3:0:5", "5:0:0", "2:350:0"}));
    EXPECT_EQ(test::rows(*con, "select Pinfo_id,Card_No,YuE_Old,YuE_Change,YuE_New,Operator_id from Record_XF"),
              (std::vector<test::Texts>{{"2", "C2b", "50", "300", "350", "1"}}));

    con->execute("update Card_Info set Card_Model=1 where ID=15");
    run("1");
    expectBox("提示：成功补放1人,无法发放0人", platform::vbExclamation);
    run("1");
    expectBox("提示：该年月的该次补贴不存在补贴人员！", platform::vbExclamation);
    EXPECT_EQ(records().size(), 2u);

    batchRow(1, 2, 1, 0, 500);  // handed to an IC terminal
    run("2");
    expectBox("提示：该年月的该次补贴不是ID补贴！", platform::vbExclamation);
}

TEST_P(IdGrant, OnScreenGrant) {
    batchRow(1, 1, 0, -1, 500);
    test::whileShown(w, [&] {
        w.Combo2.setListIndex(0);
        test::clickOnScreen(w.Command1);
        EXPECT_FALSE(w.Loaded());  // closed after the run
    });
    expectBox("提示：成功发放1人,无法发放0人", platform::vbExclamation);
    EXPECT_EQ(cards()[0], "1:1700:3");
}

// Another office grants the batch between this grant's listing and its
// credit: nobody is credited twice, and the box says the row went meanwhile.
TEST_P(IdGrant, ARowGrantedMeanwhileByAnotherOfficeIsSaid) {
    batchRow(1, 1, 0, -1, 500);
    auto other = test::connect(cs);
    bool granted = false;
    db::setStatementObserver([&](const std::string& s) {
        const bool clock = s.find("now()") != std::string::npos || s.find("getdate()") != std::string::npos;
        if (!clock || granted) return;
        granted = true;
        other->execute("update BuTie_OK set B_SF=2 where Pinfo_ID=1");
    });
    run("1");
    db::setStatementObserver(nullptr);
    ASSERT_TRUE(granted);
    expectBox("提示：成功发放0人,无法发放0人,另有[1]人已由其他操作员同时发放", platform::vbExclamation);
    EXPECT_EQ(cards()[0], "1:1200:3");
    EXPECT_TRUE(records().empty());
}

TOLVENK_ON_BOTH_ENGINES(IdGrant);
TOLVENK_ON_BOTH_ENGINES(IdRegrant);

// Amounts are booked exactly as stored: 2^53+1 fen (which no double holds)
// to an empty card; the largest amount to a card of 12.00 cannot be booked
// and is refused for that employee, his card and row as they were.
TEST_P(IdGrant, StoredAmountsAreBookedExactlyOrRefused) {
    batchRow(3, 1, 0, -1, 0);
    batchRow(1, 1, 0, -1, 0);
    con->execute("update BuTie_OK set B_JinE=9007199254740993 where Pinfo_ID=3");
    con->execute("update BuTie_OK set B_JinE=9223372036854775807 where Pinfo_ID=1");
    run("1");
    expectBox("提示：成功发放1人,无法发放0人,因数据库出错未发放1人", platform::vbExclamation);
    EXPECT_EQ(cards(), (test::Texts{"1:1200:3", "2:800:0", "3:9007199254740993:5", "5:0:0"}));
    EXPECT_EQ(test::column(*con, "select YuE_Old||':'||YuE_Change||':'||YuE_New from Record_XF order by ID"),
              (test::Texts{"0:9007199254740993:9007199254740993"}));
    EXPECT_EQ(states(), (test::Texts{"1:-1", "3:2"}));
}

// A card number stored in another encoding: the grant's transaction carries
// the card's own bytes. File only: the server holds no such text.
class IdGrantFile : public IdGrant {};
TOLVENK_ON_FILE_ONLY(IdGrantFile);

TEST_P(IdGrantFile, ACardNumberInAnotherEncodingIsBookedByItsOwnBytes) {
    con->execute("update Card_Info set Card_No='K' || CAST(X'C0EE' AS TEXT) where ID=11");
    batchRow(1, 1, 0, -1, 500);
    run("1");
    expectBox("提示：成功发放1人,无法发放0人", platform::vbExclamation);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF r join Card_Info c on r.Card_No=c.Card_No and c.ID=11 "
                                 "where r.XF_Type=11 and r.YuE_Change=500"),
              1);
}
