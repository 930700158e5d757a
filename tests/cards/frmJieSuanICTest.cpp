#include <QTimer>

#include <filesystem>
#include <tuple>

#include "CardsFixture.h"
#include "cards/YuE_HZ_Cha.h"
#include "cards/frmJieSuanIC.h"
#include "platform/db/ConnectionString.h"
#include "ui/WindowHelpers.h"

using namespace tolvenk;

namespace {

class Settlement : public test::CardsWindow<frmJieSuanIC> {
protected:
    void SetUp() override {
        CardsWindow::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into Sys_Para(Para_Name,P1,P2) values ('Sys_Config',null,'1'),('JieSuan_Date','2026-01-01 00:00:00','1');
insert into Card_Log(Pinfo_id,Card_No,Op_Type) values (1,'A',0),(2,'B',0),(3,'C',0),(4,'D',0),(5,'E',0),(5,'E',1),(0,'X',0);
)");
    }
    // Money row: serial, change, balance after, date, Err_Code.
    void money(int person, const std::string& card, int serial, int change, int after, const std::string& date,
               int err = 0) {
        test::XfRow().person(person).card(card).type(1).cardSerial(serial).timesSerial(0).money(change)
            .balance(after).date(date).err(err).insert(*con);
    }
    void times(int person, const std::string& card, int serial, int change, int after, const std::string& date) {
        test::XfRow().person(person).card(card).type(3).cardSerial(0).timesSerial(serial).times(change)
            .timesLeft(after).money(0).date(date).err(0).insert(*con);
    }
    void settle(const std::string& cutoff, const std::string& backup = "") {
        if (!w.Loaded()) w.Load();
        w.dtP.setValue(cutoff);
        w.chk1.setValue(backup.empty() ? forms::vbUnchecked : forms::vbChecked);
        if (!backup.empty()) w.dtP2.setValue(backup);
        w.Command1.click();
    }
    // Serial, XF_Type, change, balance of a card's rows, lowest serial first.
    std::vector<test::Texts> card(const std::string& c, const char* serial = "Card_LiuShui",
                                  const char* cols = "XF_Type,YuE_Change,YuE_New") {
        return test::rows(*con, std::string("select ") + serial + "," + cols + " from Record_XF where Card_No='" + c +
                                    "' and " + serial + ">0 order by " + serial);
    }
    test::Texts backedUp(const std::string& c) {
        return test::column(*con, "select Card_LiuShui+Ci_LiuShui from Record_BF_XF where Card_No='" + c +
                                      "' order by Card_LiuShui,Ci_LiuShui");
    }
    test::Texts cutoffRow() { return test::row(*con, "select P1,P2 from Sys_Para where Para_Name='JieSuan_Date'"); }
    using V = std::vector<test::Texts>;
};

TOLVENK_ON_BOTH_ENGINES(Settlement);

// Worked by hand: every rule of the walk, both kinds of one card, a second
// run with the same cut-off, then a later one on top of the settlement rows.
TEST_P(Settlement, CollapsesEachCardAndKindAsTheWalkSays) {
    // A: six valid money rows, the sixth after the cut-off; three times rows.
    const int a[][2] = {{1000, 1000}, {-100, 900}, {-200, 700}, {500, 1200}, {-300, 900}, {-50, 850}};
    for (int s = 1; s <= 6; ++s)
        money(1, "A", s, a[s - 1][0], a[s - 1][1], s < 6 ? "2026-05-0" + std::to_string(s) + " 12:00:00" : "2026-06-02 08:00:00");
    times(1, "A", 1, 10, 10, "2026-05-01 13:00:00");
    times(1, "A", 2, -1, 9, "2026-05-02 13:00:00");
    times(1, "A", 3, -1, 8, "2026-05-03 13:00:00");
    // B: uncertain rows above the last valid one stay, the one below it counts.
    money(2, "B", 1, 500, 500, "2026-05-01 10:00:00");
    money(2, "B", 2, -10, 490, "2026-05-02 10:00:00", 1);
    money(2, "B", 3, -20, 470, "2026-05-03 10:00:00");
    money(2, "B", 4, -30, 440, "2026-05-04 10:00:00", 1);
    money(2, "B", 5, -40, 400, "2026-05-05 10:00:00", 1);
    // C: one counted row above serial 1: nothing to collapse.
    money(3, "C", 1, 300, 300, "2026-05-01 10:00:00");
    money(3, "C", 2, -30, 270, "2026-05-02 10:00:00");
    // D: serial 4 carries a date after the cut-off: the walk starts again below it.
    money(4, "D", 1, 100, 100, "2026-05-01 10:00:00");
    money(4, "D", 2, -1, 99, "2026-05-02 10:00:00");
    money(4, "D", 3, -2, 97, "2026-05-03 10:00:00");
    money(4, "D", 4, -3, 94, "2026-06-05 10:00:00");
    money(4, "D", 5, -4, 90, "2026-05-05 10:00:00");
    // E: times only.
    for (int s = 1; s <= 4; ++s) times(5, "E", s, s == 1 ? 20 : -2, 22 - 2 * s, "2026-05-1" + std::to_string(s) + " 12:00:00");

    settle("2026-06-01");
    EXPECT_TRUE(sv->boxes.empty());
    EXPECT_EQ(card("A"), (V{{"1", "1", "1000", "1000"}, {"5", "250", "-100", "900"}, {"6", "1", "-50", "850"}}));
    EXPECT_EQ(card("A", "Ci_LiuShui", "XF_Type,YuCi_Change,YuCi_New"), (V{{"1", "3", "10", "10"}, {"3", "250", "-2", "8"}}));
    EXPECT_EQ(backedUp("A"), (test::Texts{"2", "3", "2", "3", "4", "5"}));
    EXPECT_EQ(card("B"), (V{{"1", "1", "500", "500"}, {"3", "250", "-30", "470"}, {"4", "1", "-30", "440"}, {"5", "1", "-40", "400"}}));
    EXPECT_EQ(card("C").size(), 2u);
    EXPECT_EQ(card("D"), (V{{"1", "1", "100", "100"}, {"3", "250", "-3", "97"}, {"4", "1", "-3", "94"}, {"5", "1", "-4", "90"}}));
    EXPECT_EQ(card("E", "Ci_LiuShui", "XF_Type,YuCi_Change,YuCi_New"), (V{{"1", "3", "20", "20"}, {"4", "250", "-6", "14"}}));
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-06-01 00:00:00", "1"}));
    EXPECT_EQ(w.Label3.Caption(), "5 / 5");  // X is nobody's card, E is listed once
    EXPECT_EQ(w.lblNull.Caption(), "0");
    EXPECT_TRUE(w.Command1.Enabled());
    EXPECT_FALSE(w.Command2.Visible());
    EXPECT_EQ(w.dtP.MinDate(), "2026-06-01");

    // The same cut-off again finds only settlement rows and serial 1 below the top.
    const auto before = test::rows(*con, "select * from Record_XF order by ID");
    settle("2026-06-01");
    EXPECT_EQ(test::rows(*con, "select * from Record_XF order by ID"), before);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_BF_XF"), 13);

    // A later cut-off sums the settlement row with the newer one and drops it uncopied.
    settle("2026-07-01");
    EXPECT_EQ(card("A"), (V{{"1", "1", "1000", "1000"}, {"6", "250", "-150", "850"}}));
    EXPECT_EQ(backedUp("A"), (test::Texts{"2", "3", "2", "3", "4", "5", "6"}));
}

TEST_P(Settlement, BackupDateDropsOlderRowsUncopiedAndPrunesTheBackupTables) {
    money(1, "A", 1, 100, 100, "1999-12-01 10:00:00");
    money(1, "A", 2, -1, 99, "1999-12-02 10:00:00");
    money(1, "A", 3, -1, 98, "2026-03-01 10:00:00");
    money(1, "A", 4, -1, 97, "2026-03-02 10:00:00");
    con->executeScript(R"(
insert into Record_BF_XF(ID,Card_No,Date_Time) values (901,'Z','2026-02-28 23:59:59'),(902,'Z','2026-03-01 00:00:00');
insert into BuTie_BF_OK(ID,FaFang_DT) values (1,'2026-02-01 00:00:00'),(2,'2026-03-05 00:00:00');
)");
    // Unticked: only rows before 2000 go uncopied.
    settle("2026-06-01");
    EXPECT_EQ(backedUp("A"), (test::Texts{"3", "4"}));
    EXPECT_EQ(card("A"), (V{{"1", "1", "100", "100"}, {"4", "250", "-3", "97"}}));
    EXPECT_EQ(test::number(*con, "select count(*) from Record_BF_XF where Card_No='Z'"), 2);

    // Ticked: the backup date bounds the copies, and older backups go.
    money(2, "B", 1, 100, 100, "2026-02-01 10:00:00");
    money(2, "B", 2, -1, 99, "2026-02-02 10:00:00");
    money(2, "B", 3, -1, 98, "2026-04-01 10:00:00");
    money(2, "B", 4, -1, 97, "2026-04-02 10:00:00");
    settle("2026-06-01", "2026-03-01");
    EXPECT_EQ(backedUp("B"), (test::Texts{"3", "4"}));
    EXPECT_EQ(card("B"), (V{{"1", "1", "100", "100"}, {"4", "250", "-3", "97"}}));
    EXPECT_EQ(test::column(*con, "select ID from Record_BF_XF where Card_No='Z'"), (test::Texts{"902"}));
    EXPECT_EQ(test::column(*con, "select ID from BuTie_BF_OK"), (test::Texts{"2"}));
}

// A card whose rows add up past what an amount can hold is refused in plain
// words, not told as a database failure; the card stays whole.
TEST_P(Settlement, ACardWhoseSumIsTooLargeIsToldInPlainWords) {
    const std::int64_t huge = 5'000'000'000'000'000'000;
    con->execute("insert into Card_Log(Pinfo_id,Card_No,Op_Type) values (6,'O',0)");
    for (int s = 1; s <= 3; ++s) {
        test::XfRow().person(6).card("O").type(1).cardSerial(s).timesSerial(0).money(s == 1 ? 100 : huge)
            .balance(s == 1 ? 100 : s == 2 ? huge + 100 : 0).date("2026-05-0" + std::to_string(s) + " 10:00:00")
            .err(0).insert(*con);
    }
    const auto before = test::rows(*con, "select * from Record_XF order by ID");
    settle("2026-06-01");
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt, "结算出错：  卡号：O  员工ID：6\r金额 " + std::to_string(huge) + " + " +
                                       std::to_string(huge) + " 太大，无法记录。这一笔没有保存。");
    EXPECT_EQ(test::rows(*con, "select * from Record_XF order by ID"), before);
}

// A failure before any card (here the pruning) is reported, settles
// nothing, keeps the previous cut-off and leaves the window ready to run again.
TEST_P(Settlement, AFailureOutsideTheCardsIsReportedAndTheWindowComesBack) {
    money(1, "A", 1, 100, 100, "2026-04-01 10:00:00");
    money(1, "A", 2, -1, 99, "2026-04-02 10:00:00");
    money(1, "A", 3, -1, 98, "2026-04-03 10:00:00");
    con->executeScript(R"(
insert into Record_BF_XF(ID,Card_No,Date_Time) values (901,'Z','2026-02-01 00:00:00');
insert into BuTie_BF_OK(ID,FaFang_DT) values (1,'2026-02-01 00:00:00');
)");
    test::refuseWrites(*con, engine(), "noprune", "delete", "BuTie_BF_OK", "", "injected");
    const auto before = test::rows(*con, "select * from Record_XF order by ID");
    settle("2026-06-01", "2026-03-01");
    ASSERT_EQ(sv->boxes.size(), 1u);
    // The clerk's sentence first, the engine's words (the trigger's) below
    // it; not in the box of a card's failure, as no card failed.
    EXPECT_EQ(sv->boxes[0].prompt.rfind("数据库未能完成这一步操作。\ninjected", 0), 0u) << sv->boxes[0].prompt;
    EXPECT_EQ(sv->boxes[0].style, platform::vbCritical);
    EXPECT_EQ(sv->boxes[0].title, "出错");
    EXPECT_EQ(test::rows(*con, "select * from Record_XF order by ID"), before);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_BF_XF"), 1);  // both prunes or neither
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-01-01 00:00:00", "0"}));
    EXPECT_TRUE(w.Command1.Enabled());
    EXPECT_FALSE(w.Command2.Visible());
    EXPECT_TRUE(w.dtP.Enabled());
    EXPECT_TRUE(w.chk1.Enabled());
    EXPECT_EQ(w.dtP.MinDate(), "2026-01-01");

    test::allowWrites(*con, engine(), "noprune", "BuTie_BF_OK");
    sv->boxes.clear();
    settle("2026-06-01", "2026-03-01");
    EXPECT_TRUE(sv->boxes.empty());
    EXPECT_EQ(card("A"), (V{{"1", "1", "100", "100"}, {"3", "250", "-2", "98"}}));
    EXPECT_EQ(test::number(*con, "select count(*) from Record_BF_XF where Card_No='Z'"), 0);
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-06-01 00:00:00", "1"}));
}

TEST_P(Settlement, PickersKeepTheCutoffAfterThePreviousOneAndTheBackup60DaysBefore) {
    w.Load();
    EXPECT_EQ(w.Caption(), "结算");
    EXPECT_EQ(w.Label6.Caption(), "没有记录:");
    EXPECT_EQ(w.Label8.Caption(), "零余额");
    EXPECT_EQ(w.dtP.MaxDate(), "2026-12-03");  // 180 days before the clock
    EXPECT_EQ(w.dtP.Date_Value(), "2026-12-01");
    EXPECT_EQ(w.dtP.MinDate(), "2026-01-01");
    EXPECT_EQ(w.dtP2.MaxDate(), "2026-10-02");  // the cut-off less 60 days
    EXPECT_EQ(w.dtP2.Date_Value(), "2026-06-01");
    EXPECT_FALSE(w.cmdExcell.Enabled());
    EXPECT_EQ(w.Grid1.Cell(0, 2).Text(), "Card_No");
    w.dtP.setValue("2026-03-10");
    EXPECT_EQ(w.dtP2.Date_Value(), "2026-01-09");
    EXPECT_EQ(w.dtP2.MaxDate(), "2026-01-09");
    w.Unload();

    // A previous cut-off within the last 180 days is the only date offered.
    con->execute("update Sys_Para set P1='2026-12-20 00:00:00' where Para_Name='JieSuan_Date'");
    w.Load();
    EXPECT_EQ(w.dtP.MinDate(), "2026-12-20");
    EXPECT_EQ(w.dtP.MaxDate(), "2026-12-20");
    EXPECT_EQ(w.dtP.Date_Value(), "2026-12-20");
}

TEST_P(Settlement, NoCardTellsSoAndAnIdInstallationDoesNothing) {
    con->execute("delete from Card_Log");
    settle("2026-06-01");
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt, "没有卡需要结算。");
    EXPECT_EQ(sv->boxes[0].style, platform::vbCritical);
    EXPECT_EQ(sv->boxes[0].title, "提示");
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-01-01 00:00:00", "1"}));
    EXPECT_TRUE(w.Command1.Enabled());

    con->execute("update Sys_Para set P2='0' where Para_Name='Sys_Config'");
    money(1, "A", 1, 1, 1, "2026-05-01 10:00:00");
    settle("2026-06-01");
    EXPECT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-01-01 00:00:00", "1"}));
}

// The status lines and counters carry their texts once a run has been.
TEST_P(Settlement, CaptionsFitInEveryLanguage) {
    money(1, "A", 1, 1, 1, "2026-05-01 10:00:00");
    for (std::int16_t language : {0, 1, 2}) {
        Load_Lan(language);
        Lan_Type = language;
        settle("2026-06-01");
        // English writes the label after the backup date empty: the sentence reads on without it.
        const auto leftEmpty = language == 1 ? std::vector<const forms::Control*>{&w.Label11}
                                             : std::vector<const forms::Control*>{};
        EXPECT_EQ(test::badCaptions(w, leftEmpty), test::Texts{}) << "language " << language;
        w.Unload();
    }
}

// On a generated database: each card and kind as plain SQL over the rows
// before the run says; a failure in one card's times collapse leaves that
// card whole and the cut-off as it was; the retry settles it once.
class GeneratedSettlement : public Settlement {
protected:
    static constexpr const char* kCut = "2026-10-15 00:00:00";
    void SetUp() override {
        Settlement::SetUp();
        if (IsSkipped()) return;
        useGenerated(20000);
        con->executeScript("create table Before as select * from Record_XF; create index B1 on Before(Card_No, Card_LiuShui);"
                           "create index B2 on Before(Card_No, Ci_LiuShui); create index B3 on Before(ID)");
    }
    // Plain SQL: the rows of kind `s` (serial column) each settled card must
    // have lost, kept and gained, compared with the snapshot.
    void expectSettled(const std::string& s, const std::string& change, const std::string& after) {
        const std::string cut = kCut;
        // N: the highest valid serial above 1 before the cut-off (dates rise with serials here).
        con->executeScript("drop table if exists Tops; create table Tops as select Card_No, Pinfo_id, max(" + s +
                           ") N from Before where " + s + ">1 and Err_Code=0 and Date_Time<'" + cut +
                           "' group by Card_No, Pinfo_id having max(" + s + ")>=3");
        ASSERT_GT(test::number(*con, "select count(*) from Tops"), 20);
        const std::string gone = "select b.* from Before b join Tops t on b.Card_No=t.Card_No and b.Pinfo_id=t.Pinfo_id and b." +
                                 s + " between 2 and t.N";
        EXPECT_EQ(test::number(*con, "select count(*) from Record_XF r join Tops t on r.Card_No=t.Card_No and r.Pinfo_id=t.Pinfo_id and r." +
                                         s + ">1 and r." + s + "<t.N"),
                  0);
        const std::string settledRows = "select r.* from Record_XF r join Tops t on r.Card_No=t.Card_No and r.Pinfo_id=t.Pinfo_id and r." + s + "=t.N";
        EXPECT_EQ(test::number(*con, "select count(*) from (" + settledRows + " and r.XF_Type=250)"),
                  test::number(*con, "select count(*) from Tops"));
        EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type=250 and " + s + ">0"),
                  test::number(*con, "select count(*) from Tops"));
        // The settlement row carries every change it replaces and the balance after them; the chain holds.
        EXPECT_EQ(test::number(*con, "select count(*) from (" + settledRows + ") r join Tops t on r.Card_No=t.Card_No and r.Pinfo_id=t.Pinfo_id where r." +
                                         change + " <> (select sum(" + change + ") from Before b where b.Card_No=t.Card_No and b.Pinfo_id=t.Pinfo_id and b." + s +
                                         " between 2 and t.N) or r." + after + " <> (select " + after + " from Before b where b.Card_No=t.Card_No and b.Pinfo_id=t.Pinfo_id and b." + s +
                                         "=t.N) or r." + after + " <> (select f." + after + "+r." + change + " from Record_XF f where f.Card_No=t.Card_No and f.Pinfo_id=t.Pinfo_id and f." + s + "=1)"),
                  0);
        // Copied row for row: exactly serials 2..N, as they were.
        const std::string copies = "select * from Record_BF_XF where " + s + ">0";
        EXPECT_EQ(test::number(*con, "select count(*) from (" + copies + " except " + gone + ")"), 0);
        EXPECT_EQ(test::number(*con, "select count(*) from (" + gone + " except " + copies + ")"), 0);
        EXPECT_EQ(test::number(*con, "select count(*) from (" + copies + ")"), test::number(*con, "select count(*) from (" + gone + ")"));
    }
    // Every row of the snapshot outside the settled ranges is still there unchanged.
    std::int64_t changedOutside() {
        return test::number(*con, "select count(*) from (select * from Before where ID not in (select ID from Record_BF_XF) except select * from Record_XF)");
    }
};

TOLVENK_ON_FILE_ONLY(GeneratedSettlement);

TEST_P(GeneratedSettlement, CollapsesEveryCardAsPlainSqlSays) {
    settle(std::string(kCut).substr(0, 10));
    EXPECT_TRUE(sv->boxes.empty());
    expectSettled("Card_LiuShui", "YuE_Change", "YuE_New");
    expectSettled("Ci_LiuShui", "YuCi_Change", "YuCi_New");
    EXPECT_EQ(changedOutside(), 0);
    EXPECT_EQ(cutoffRow(), (test::Texts{kCut, "1"}));
}

// On a rollback-journal file the lowest serials after the cut-off are read in
// pieces of a few dozen rows (a card's rows of one date never split): the
// same cards collapse.
TEST_P(GeneratedSettlement, ReadInPiecesOnARollbackJournalItCollapsesEveryCardAsPlainSqlSays) {
    con->executeScript("PRAGMA journal_mode=DELETE");
    ASSERT_EQ(test::text(*con, "PRAGMA journal_mode"), "delete");
    db::ReadPieces::standardRows() = 40;
    int pieces = 0;
    db::setStatementObserver([&](const std::string& sql) { pieces += sql.find("Low_Money") != std::string::npos; });
    settle(std::string(kCut).substr(0, 10));
    db::setStatementObserver(nullptr);
    EXPECT_TRUE(sv->boxes.empty());
    EXPECT_GT(pieces, 100);
    expectSettled("Card_LiuShui", "YuE_Change", "YuE_New");
    expectSettled("Ci_LiuShui", "YuCi_Change", "YuCi_New");
    EXPECT_EQ(changedOutside(), 0);
    EXPECT_EQ(cutoffRow(), (test::Texts{kCut, "1"}));
}

TEST_P(GeneratedSettlement, AFailureInOneCardLeavesItAndTheCutoffAndTheRetrySettlesOnce) {
    const std::string person = test::text(*con, "select Pinfo_id from Before where Ci_LiuShui>3 and Date_Time<'2026-10-01' group by Pinfo_id order by Pinfo_id limit 1 offset 3");
    const std::string cardNo = test::text(*con, "select min(Card_No) from Before where Ci_LiuShui>=3 and Err_Code=0 and Date_Time<'" +
                                                    std::string(kCut) + "' and Pinfo_id=" + person);
    // The times collapse fails after the money collapse of the same card has run.
    test::refuseWrites(*con, engine(), "boom", "update", "Record_XF",
                       "new.XF_Type=250 and new.Ci_LiuShui>0 and new.Pinfo_id=" + person, "injected");
    settle(std::string(kCut).substr(0, 10));
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt.rfind("结算出错：  卡号：" + cardNo + "  员工ID：" + person +
                                             "\r数据库未能完成这一步操作。\ninjected",
                                         0),
              0u)
        << sv->boxes[0].prompt;
    EXPECT_EQ(sv->boxes[0].title, "错误");
    EXPECT_EQ(test::number(*con, "select count(*) from (select * from Before where Pinfo_id=" + person + " except select * from Record_XF)"), 0);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_BF_XF where Pinfo_id>=" + person), 0);
    EXPECT_GT(test::number(*con, "select count(*) from Record_XF where XF_Type=250 and Pinfo_id<" + person), 0);
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-09-01 00:00:00", "0"}));
    EXPECT_EQ(w.dtP.MinDate(), "2026-09-01");
    EXPECT_TRUE(w.Command1.Enabled());
    EXPECT_FALSE(w.Command2.Visible());

    test::allowWrites(*con, engine(), "boom", "Record_XF");
    sv->boxes.clear();
    settle(std::string(kCut).substr(0, 10));
    EXPECT_TRUE(sv->boxes.empty());
    expectSettled("Card_LiuShui", "YuE_Change", "YuE_New");
    expectSettled("Ci_LiuShui", "YuCi_Change", "YuCi_New");
    EXPECT_EQ(changedOutside(), 0);
    EXPECT_EQ(cutoffRow(), (test::Texts{kCut, "1"}));
}

// Stopped as the 40th card is shown: a commit slow enough to let the window
// in once more must not move the stop to another card.
TEST_P(GeneratedSettlement, AStopMidwayLeavesThePreviousCutoff) {
    int stoppedAt = 0;
    sv->onYield = [&] {
        if (stoppedAt == 0 && w.Label3.Caption() == "39 / 304") {
            stoppedAt = sv->yields;
            w.Command2.click();
        }
    };
    settle(std::string(kCut).substr(0, 10));
    EXPECT_GE(stoppedAt, 40);
    EXPECT_EQ(w.Label3.Caption(), "39 / 304");
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-09-01 00:00:00", "0"}));
    // The 40th card and those after it keep their rows.
    const auto fortieth = test::row(*con, "select Pinfo_ID,Card_No from (select distinct Card_No,Pinfo_ID from Card_Log where Pinfo_ID>0) order by Pinfo_ID,Card_No limit 1 offset 39");
    EXPECT_EQ(test::number(*con, "select count(*) from Record_BF_XF where Pinfo_id>" + fortieth[0] +
                                     " or (Pinfo_id=" + fortieth[0] + " and Card_No>='" + fortieth[1] + "')"),
              0);
    EXPECT_GT(test::number(*con, "select count(*) from Record_BF_XF"), 0);
    EXPECT_EQ(changedOutside(), 0);
    EXPECT_FALSE(w.Command2.Visible());
    EXPECT_TRUE(w.dtP.Enabled());
}

// A run stopped midway is said when the settlement opens again, offered to
// its own date, and finished by the next run; until then the IC balance
// query warns of days before that date.
TEST_P(GeneratedSettlement, AStoppedRunIsToldAndTheNextRunFinishesIt) {
    sv->onYield = [&] {
        if (sv->yields == 40) w.Command2.click();
    };
    settle("2026-10-15");
    sv->onYield = nullptr;
    EXPECT_EQ(test::row(*con, "select P1,P2,P3 from Sys_Para where Para_Name='JieSuan_Date'"),
              (test::Texts{"2026-09-01 00:00:00", "0", kCut}));
    w.Unload();
    sv->boxes.clear();
    w.Load();
    EXPECT_EQ(sv->takeBoxes(), (std::vector<std::string>{"上次结算未完成，当时结算到 2026-10-15。请再次结算到该日期以完成结算。"}));
    EXPECT_EQ(w.dtP.Date_Value(), "2026-10-15");

    const std::string dept = test::text(*con, "select min(Dept_No) from Ren_Dept_Info");
    {
        YuE_HZ_Cha query;
        query.Load();
        query.Query.ucDep1.selectDepartment(dept);
        query.Query.DTPicker1.setValue("2026-10-01");
        query.Query.Command1.click();
        EXPECT_EQ(sv->takeBoxes(), (std::vector<std::string>{
                                       "上次结算未完成（结算到 2026-10-15）：该日期之前的余额和记录可能不全。请再次结算到该日期以完成结算。"}));
        query.Query.DTPicker1.setValue("2026-10-20");
        query.Query.Command1.click();
        EXPECT_TRUE(sv->takeBoxes().empty());
        query.Unload();
    }

    w.Command1.click();
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    expectSettled("Card_LiuShui", "YuE_Change", "YuE_New");
    expectSettled("Ci_LiuShui", "YuCi_Change", "YuCi_New");
    EXPECT_EQ(changedOutside(), 0);
    EXPECT_EQ(test::row(*con, "select P1,P2,P3 from Sys_Para where Para_Name='JieSuan_Date'"),
              (test::Texts{kCut, "1", ""}));
    EXPECT_FALSE(Warn_Unfinished_Settlement("2026-10-01"));
}

// In the window's own event loop: the stop button stops the run, closing
// the window ends it; neither records the cut-off.
TEST_P(GeneratedSettlement, OnScreenStopAndCloseLeaveThePreviousCutoff) {
    sv->onYield = [&] {
        if (sv->yields == 5) test::clickOnScreen(w.Command2);
    };
    QTimer::singleShot(0, [&] {
        w.dtP.setValue(std::string(kCut).substr(0, 10));
        test::clickOnScreen(w.Command1);
        EXPECT_GE(sv->yields, 5);  // a read under way when stopped may still tell the window
        EXPECT_EQ(cutoffRow(), (test::Texts{"2026-09-01 00:00:00", "0"}));
        EXPECT_FALSE(w.Command2.Visible());
        w.Unload();
    });
    w.Show();

    sv->yields = 0;
    sv->onYield = [&] {
        if (sv->yields == 3) w.widget()->close();
    };
    QTimer::singleShot(0, [&] {
        w.dtP.setValue(std::string(kCut).substr(0, 10));
        test::clickOnScreen(w.Command1);
    });
    w.Show();
    EXPECT_FALSE(w.Loaded());
    EXPECT_GE(sv->yields, 3);
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-09-01 00:00:00", "0"}));
    EXPECT_EQ(changedOutside(), 0);
}

// On a generated database with a real site's dirt: rows uploaded twice, one
// employee's two cards numbered alike but for case (one card to the
// database), rows in the same second, uncertain rows (those at the top money
// serial of some cards too). What the run must leave is worked out by plain
// SQL that walks each card as the settlement rules say, with a card's
// number taken in any case.
class DirtySettlement : public Settlement {
protected:
    static constexpr const char* kCut = "2026-10-15 00:00:00";
    void SetUp() override {
        Settlement::SetUp();
        if (IsSkipped()) return;
        useGenerated(20000, true);
        // The last write before the cut-off left unconfirmed, for every 13th employee.
        con->executeScript(std::string("update Record_XF set Err_Code=1 where ID in (select r.ID from Record_XF r join "
                                       "(select upper(Card_No) K, Pinfo_id P, max(Card_LiuShui) T from Record_XF where "
                                       "Card_LiuShui>0 and Date_Time<'") +
                           kCut +
                           "' and Pinfo_id % 13 = 0 group by 1, 2) t on upper(r.Card_No)=t.K and r.Pinfo_id=t.P and "
                           "r.Card_LiuShui=t.T);"
                           "create table Before as select * from Record_XF;"
                           "create index Before_Card on Before(upper(Card_No), Pinfo_id);");
        ASSERT_EQ(test::number(*con, "select count(*) from Record_BF_XF"), 0);
    }
    // Walk_<serial>: each listed card's rows from serial 2 up to its top
    // serial before the cut-off, R their place in the walk (serial DESC, ID
    // DESC); Start_<serial>: the place where counting starts (below the last
    // counted row dated at or after the cut-off, else the first valid row);
    // Exp_<serial>: the cards to collapse, with N, sum and closing balance.
    void walk(const std::string& s, const std::string& change, const std::string& after) {
        const std::string cut = kCut, W = "Walk_" + s, St = "Start_" + s;
        con->executeScript(
            "create table " + W + " as select b.ID, t.K, t.P, b." + s + " S, b." + change + " C, b." + after +
            " B, b.Date_Time T, b.Err_Code E, row_number() over (partition by t.K, t.P order by b." + s +
            " desc, b.ID desc) R from (select upper(Card_No) K, Pinfo_id P, max(" + s + ") Top from Before where " + s +
            ">0 and Date_Time<'" + cut + "' group by 1, 2) t join Before b on upper(b.Card_No)=t.K and b.Pinfo_id=t.P and b." +
            s + " between 2 and t.Top where exists (select 1 from Card_Log l where upper(l.Card_No)=t.K and "
            "l.Pinfo_id=t.P and l.Pinfo_id>0);"
            "create index " + W + "_R on " + W + "(K, P, R);"
            "create table " + St + " as select K, P, coalesce((select max(R)+1 from " + W + " x where x.K=f.K and "
            "x.P=f.P and x.R>=f.F and x.T>='" + cut + "'), F) St from (select K, P, min(R) F from " + W +
            " where E=0 group by K, P) f;"
            "create table Exp_" + s + " as select w.K, w.P, w.S N, w.B Bal, sum(x.C) Total from " + St + " st join " + W +
            " w on w.K=st.K and w.P=st.P and w.R=st.St join " + W + " x on x.K=st.K and x.P=st.P and x.R>=st.St "
            "group by w.K, w.P having count(*)>1;"
            "create index Exp_" + s + "_Card on Exp_" + s + "(K, P);");
    }
    // ExpXF and ExpBF: Record_XF and Record_BF_XF as the run must leave them.
    void expectedTables() {
        walk("Card_LiuShui", "YuE_Change", "YuE_New");
        walk("Ci_LiuShui", "YuCi_Change", "YuCi_New");
        con->executeScript("create table ExpXF as select * from Before; create table ExpBF as select * from Before where 0;");
        for (const auto& [s, change, after] : {std::tuple{"Card_LiuShui", "YuE_Change", "YuE_New"},
                                               std::tuple{"Ci_LiuShui", "YuCi_Change", "YuCi_New"}}) {
            const std::string E = std::string("Exp_") + s, ofCard = " e.K=upper(Card_No) and e.P=Pinfo_id and ";
            con->executeScript(
                "insert into ExpBF select b.* from Before b join " + E + " e on upper(b.Card_No)=e.K and b.Pinfo_id=e.P and b." +
                s + " between 2 and e.N where b.XF_Type<>250 and b.Date_Time>='2000-01-01 00:00:00';"
                "delete from ExpXF where " + s + ">1 and exists (select 1 from " + E + " e where" + ofCard + s + "<e.N);"
                "update ExpXF set " + change + "=(select Total from " + E + " e where" + ofCard + s + "=e.N), " + after +
                "=(select Bal from " + E + " e where" + ofCard + s + "=e.N), XF_Type=250 where exists (select 1 from " + E +
                " e where" + ofCard + s + "=e.N);");
        }
    }
    // Both tables hold the same rows, each as often.
    void expectSameRows(const std::string& actual, const std::string& expected) {
        EXPECT_EQ(test::number(*con, "select count(*) from " + actual), test::number(*con, "select count(*) from " + expected));
        EXPECT_EQ(test::number(*con, "select count(*) from (select * from " + actual + " except select * from " + expected + ")"), 0);
        EXPECT_EQ(test::number(*con, "select count(*) from (select * from " + expected + " except select * from " + actual + ")"), 0);
        EXPECT_EQ(test::number(*con, "select count(*) from (select ID from " + actual + " group by ID having count(*)>1)"), 0);
    }
};

TOLVENK_ON_FILE_ONLY(DirtySettlement);

TEST_P(DirtySettlement, EachCardIsSettledOnceAsThePlainWalkSays) {
    expectedTables();
    // The dirt the walk meets: a duplicate upload and the two spellings at a
    // card's settle serial, uncertain rows passed over at the top and summed
    // below it, rows in the same second summed.
    const auto count = [&](const std::string& q) { return test::number(*con, q); };
    EXPECT_GT(count("select count(*) from Exp_Card_LiuShui e where exists (select 1 from Before a join Before b on "
                    "a.ID<b.ID and a.Card_No=b.Card_No and a.Date_Time=b.Date_Time and a.YuE_Change=b.YuE_Change and "
                    "a.Card_LiuShui=b.Card_LiuShui where upper(a.Card_No)=e.K and a.Pinfo_id=e.P and a.Card_LiuShui=e.N)"),
              0);
    EXPECT_EQ(count("select count(*) from Exp_Card_LiuShui e where (select count(distinct Card_No) from Before b where "
                    "upper(b.Card_No)=e.K and b.Pinfo_id=e.P and b.Card_LiuShui=e.N)=2"),
              1);
    EXPECT_GT(count("select count(*) from Walk_Card_LiuShui w join Start_Card_LiuShui st using(K, P) join "
                    "Exp_Card_LiuShui using(K, P) where w.R<st.St and w.E<>0"),
              10);
    EXPECT_GT(count("select count(*) from Walk_Card_LiuShui w join Start_Card_LiuShui st using(K, P) join "
                    "Exp_Card_LiuShui using(K, P) where w.R>=st.St and w.E<>0"),
              0);
    EXPECT_GT(count("select count(*) from Walk_Card_LiuShui a join Walk_Card_LiuShui b on a.K=b.K and a.P=b.P and "
                    "a.T=b.T and a.S<b.S join Start_Card_LiuShui st on st.K=a.K and st.P=a.P and a.R>=st.St"),
              0);
    EXPECT_GT(count("select count(*) from Exp_Ci_LiuShui"), 20);
    // No walk starts again here: each sum is that of every row from serial 2 to N.
    for (const auto& [s, change] : {std::pair{"Card_LiuShui", "YuE_Change"}, std::pair{"Ci_LiuShui", "YuCi_Change"}})
        EXPECT_EQ(count(std::string("select count(*) from Exp_") + s + " e where Total <> (select sum(" + change +
                        ") from Before b where upper(b.Card_No)=e.K and b.Pinfo_id=e.P and b." + s + " between 2 and e.N)"),
                  0)
            << s;

    settle(std::string(kCut).substr(0, 10));
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    EXPECT_EQ(cutoffRow(), (test::Texts{kCut, "1"}));
    expectSameRows("Record_XF", "ExpXF");
    expectSameRows("Record_BF_XF", "ExpBF");

    // The same cut-off again: the settlement rows at one serial stand for one
    // settlement, so nothing is left to write.
    con->executeScript("create table Once as select * from Record_XF; create table OnceBF as select * from Record_BF_XF;");
    settle(std::string(kCut).substr(0, 10));
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    expectSameRows("Record_XF", "Once");
    expectSameRows("Record_BF_XF", "OnceBF");
    EXPECT_EQ(cutoffRow(), (test::Texts{kCut, "1"}));
}

}  // namespace

// A card number another program stored in another encoding keeps its bytes:
// the card is settled by them and the cut-off recorded with nothing left.
// File only: the server holds no text that is not UTF-8.
class SettlementFile : public Settlement {};
TOLVENK_ON_FILE_ONLY(SettlementFile);

TEST_P(SettlementFile, ACardNumberInAnotherEncodingIsSettledByItsOwnBytes) {
    const std::string gbk = "K\xC0\xEE";
    con->execute("insert into Card_Log(Pinfo_id,Card_No,Op_Type) values (6,'" + gbk + "',0)");
    for (int s = 1; s <= 4; ++s) money(6, gbk, s, s == 1 ? 100 : -10, 110 - 10 * s, "2026-05-0" + std::to_string(s) + " 12:00:00");
    settle("2026-06-01");
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    EXPECT_EQ(card(gbk), (V{{"1", "1", "100", "100"}, {"4", "250", "-30", "70"}}));
    EXPECT_EQ(backedUp(gbk), (test::Texts{"2", "3", "4"}));
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-06-01 00:00:00", "1"}));
}

// A link at the run's lock file stops the run before any card, in one box
// of the session's language naming the file, not in a card's box; nothing
// is settled and nothing is made where the link points.
TEST_P(SettlementFile, ALinkAtTheLockFileStopsTheRunNamingIt) {
    money(1, "A", 1, 1000, 1000, "2026-05-01 10:00:00");
    money(1, "A", 2, -100, 900, "2026-05-02 10:00:00");
    money(1, "A", 3, -100, 800, "2026-05-03 10:00:00");
    const std::string lock = db::ConnectionString(cs).filePath() + "-settlement.lock", target = dir.file("elsewhere");
    std::filesystem::create_symlink(target, lock);
    const auto before = test::rows(*con, "select * from Record_XF order by ID");
    settle("2026-06-01");
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt, "数据库旁的文件“" + lock + "”是一个链接或不是普通文件，不能用作这一步的锁，这一步没有开始。"
                                   "请让管理员删除该文件。");
    EXPECT_EQ(sv->boxes[0].title, "出错");
    EXPECT_EQ(test::rows(*con, "select * from Record_XF order by ID"), before);
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-01-01 00:00:00", "1"}));
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(w.Command1.Enabled());
}

// The edges of the run's dates: a row stamped exactly at the cut-off is after
// it (left as it is, neither settled nor counted in the walk), a row stamped
// exactly at the backup start is copied, one a second before it is not.
TEST_P(Settlement, RowsAtTheCutoffAndTheBackupStartInstants) {
    money(1, "A", 1, 1000, 1000, "2026-05-01 10:00:00");
    money(1, "A", 2, -100, 900, "2026-05-01 23:59:59");
    money(1, "A", 3, -100, 800, "2026-05-02 00:00:00");
    money(1, "A", 4, -100, 700, "2026-05-03 10:00:00");
    money(1, "A", 5, -100, 600, "2026-07-02 00:00:00");
    settle("2026-07-02", "2026-05-02");  // the backup start at least 60 days before
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    EXPECT_EQ(card("A"), (V{{"1", "1", "1000", "1000"}, {"4", "250", "-300", "700"}, {"5", "1", "-100", "600"}}));
    EXPECT_EQ(backedUp("A"), (test::Texts{"3", "4"}));
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-07-02 00:00:00", "1"}));
}

// Only the cards the card log lists for an employee are settled: rows of a
// card held by nobody or never logged stay as they are and do not keep the
// cut-off from being recorded.
TEST_P(Settlement, CardsOutsideTheCardListAreLeftAndTheCutoffIsRecorded) {
    money(1, "A", 1, 1000, 1000, "2026-05-01 10:00:00");
    money(1, "A", 2, -100, 900, "2026-05-02 10:00:00");
    money(1, "A", 3, -100, 800, "2026-05-03 10:00:00");
    for (const auto& [person, c] : {std::pair{0, "X"}, std::pair{7, "Z"}}) {
        money(person, c, 1, 500, 500, "2026-05-01 11:00:00");
        money(person, c, 2, -50, 450, "2026-05-02 11:00:00");
        money(person, c, 3, -50, 400, "2026-05-03 11:00:00");
    }
    settle("2026-06-01");
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    EXPECT_EQ(card("A"), (V{{"1", "1", "1000", "1000"}, {"3", "250", "-200", "800"}}));
    for (const char* c : {"X", "Z"})
        EXPECT_EQ(card(c), (V{{"1", "1", "500", "500"}, {"2", "1", "-50", "450"}, {"3", "1", "-50", "400"}})) << c;
    EXPECT_EQ(cutoffRow(), (test::Texts{"2026-06-01 00:00:00", "1"}));
}

// The export's boxes name no title of their own: they carry the application's.
TEST_P(Settlement, TheExportsBoxesCarryTheApplicationsTitle) {
    w.Load();
    w.Grid1.setRows(2);  // no run fills the grid: a row as the design would let it hold
    w.cmdExcell.setEnabled(true);
    sv->fileAnswers = {dir.file("settled.xlsx"), dir.file("no-such-folder/settled.xlsx")};
    w.cmdExcell.click();
    w.cmdExcell.click();
    ASSERT_EQ(sv->boxes.size(), 2u);
    EXPECT_EQ(sv->boxes[0].prompt, "提示:输出成功.");
    EXPECT_EQ(sv->boxes[0].style, platform::vbInformation);
    EXPECT_EQ(sv->boxes[0].title, "Tolvenk");
    EXPECT_EQ(sv->boxes[1].prompt, "提示:输出失败.");
    EXPECT_EQ(sv->boxes[1].style, platform::vbExclamation);
    EXPECT_EQ(sv->boxes[1].title, "Tolvenk");
}
