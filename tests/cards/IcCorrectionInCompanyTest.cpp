// Two offices running the IC balance correction over the same department at
// once: every break is mended by exactly one correction row.
#include "CardsFixture.h"
#include "cards/YuE_HZ_Cha.h"
#include "support/Peer.h"
#include "support/PeerModule.h"

using namespace tolvenk;

namespace {

constexpr int kCards = 120;

// A second office: the correction over department 01 when the test says go.
TOLVENK_PEER_JOB(CorrectDepartment) {
    test::PeerModule module(peer.arg("db"));
    module.services().clock = "2027-06-01 10:00:00";
    YuE_HZ_Cha w;
    w.Load();
    w.ucDep1.selectDepartment("01");
    w.DTPicker1.setValue("2026-11-30");
    w.Check1.setValue(forms::vbChecked);
    peer.report("ready");
    peer.readCommand();
    w.Command1.click();
    peer.report("done " + std::to_string(module.services().boxes.size()));
    return 0;
}

class IcCorrectionInCompany : public test::CardsWindow<YuE_HZ_Cha> {
protected:
    // kCards people of department 01, each with one card whose chain breaks
    // twice: 1.00 in, then a payment that started from 0.80 (lost 0.20), then
    // one that started from 0.60 while 0.50 was left (found 0.10).
    void SetUp() override {
        CardsWindow::SetUp();
        if (IsSkipped()) return;
        std::string sql =
            "insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (1,'01','总部',0,0);"
            "insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN,New_Date) values "
            "(1,'一号机',301,0,'2026-12-01 06:00:00');"
            "insert into Sys_Para(Para_Name,P1,P2) values ('JieSuan_Date','2026-03-01 00:00:00','1');";
        for (int p = 1; p <= kCards; ++p) {
            const std::string id = std::to_string(p), card = "'K" + id + "'";
            sql += "insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values (" + id +
                   ",1,'01','P" + id + "','E" + id + "',0);";
            sql += "insert into Card_Log(Pinfo_id,Card_No,Op_Type,Date_Time) values (" + id + "," + card +
                   ",0,'2026-01-01');";
            sql += "insert into Record_XF(Pinfo_id,Card_No,C_LeiBie,XF_Type,Card_LiuShui,YuE_Change,YuE_New,Date_Time,"
                   "Err_Code) values (" +
                   id + "," + card + ",1,5,1,100,100,'2026-11-01 10:00:00',0),(" + id + "," + card +
                   ",1,1,2,-30,50,'2026-11-02 10:00:00',0),(" + id + "," + card +
                   ",1,1,3,-10,50,'2026-11-03 10:00:00',0);";
        }
        con->executeScript(sql);
    }
    void query() {
        w.Load();
        w.ucDep1.selectDepartment("01");
        w.DTPicker1.setValue("2026-11-30");
        w.Check1.setValue(forms::vbChecked);
        w.Command1.click();
    }
};

TOLVENK_ON_BOTH_ENGINES(IcCorrectionInCompany);

}  // namespace

TEST_P(IcCorrectionInCompany, TwoOfficesAtOnceMendEachBreakOnce) {
    test::Peer a("CorrectDepartment", {{"db", cs}}), b("CorrectDepartment", {{"db", cs}});
    a.waitFor("ready");
    b.waitFor("ready");
    a.send("go");
    b.send("go");
    EXPECT_EQ(a.waitFor("done"), "done 0");
    EXPECT_EQ(b.waitFor("done"), "done 0");
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2"), 2 * kCards);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2 and XF_Type=201 and "
                                 "YuE_Change=-20 and YuE_New=80 and Card_LiuShui=1"),
              kCards);
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2 and XF_Type=202 and "
                                 "YuE_Change=10 and YuE_New=60 and Card_LiuShui=2"),
              kCards);
    // A third run over the mended chains writes nothing.
    query();
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where Err_Code=2"), 2 * kCards);
}
