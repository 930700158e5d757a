// A card system setting that is no number is told, naming the setting, by
// every card window that reads it; nothing is listed or settled as if the
// installation were one of the two systems.
#include "CardsFixture.h"
#include "cards/Card_GeRen_CX.h"
#include "cards/Card_Type.h"
#include "cards/frmJieSuanIC.h"

using namespace tolvenk;

namespace {

class CardSystemSetting : public test::CardsWindow<frmJieSuanIC> {
protected:
    void SetUp() override {
        CardsWindow::SetUp();
        if (IsSkipped()) return;
        addPeople();
        con->executeScript(R"(
insert into Sys_Para(Para_Name,P1,P2) values ('Sys_Config',null,'IC'),('JieSuan_Date','2026-01-01 00:00:00','1');
insert into Card_Log(Pinfo_id,Card_No,Op_Type,Date_Time) values (1,'A',0,'2026-01-01 08:00:00');
)");
        test::XfRow().person(1).card("A").type(1).cardSerial(1).money(500).balance(500)
            .date("2026-02-01 10:00:00").insert(*con);
    }
    static std::string told(const std::string& p2) {
        return "系统参数表 Sys_Para 中 Sys_Config 行的卡系统设置 P2 为“" + p2 +
               "”，不是卡系统的编号，无法判断卡是 IC 卡还是 ID 卡，这一步没有进行。请管理员改正这个设置。";
    }
    void setP2(const std::string& p2) {
        con->execute("update Sys_Para set P2=" + (p2 == "<null>" ? "null" : "'" + p2 + "'") +
                     " where Para_Name='Sys_Config'");
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(CardSystemSetting);

TEST_P(CardSystemSetting, TheSettlementSaysSoAndSettlesNothing) {
    w.Load();
    w.dtP.setValue("2026-06-01");
    w.Command1.click();
    sv->expectBox(told("IC"), platform::vbCritical, "出错");
    EXPECT_EQ(test::row(*con, "select P1,P2 from Sys_Para where Para_Name='JieSuan_Date'"),
              (test::Texts{"2026-01-01 00:00:00", "1"}));
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type=250"), 0);
    EXPECT_TRUE(w.Command1.Enabled());

    // A readable setting is rounded to a whole number: this one is an IC system.
    setP2(" 0.9 ");
    w.Command1.click();
    EXPECT_EQ(test::text(*con, "select P1 from Sys_Para where Para_Name='JieSuan_Date'"), "2026-06-01 00:00:00");
    sv->takeBoxes();
}

// The card history and the card types read it as they open: they say so in
// the session's language and do not open; no row at all is an ID system.
TEST_P(CardSystemSetting, TheWindowsReadingItAsTheyOpenSaySoAndStayClosed) {
    Card_GeRen_CX history;
    Card_Type kinds;
    for (const std::string p2 : {"IC", "", "<null>", "1e12"}) {
        setP2(p2);
        for (forms::Form* f : std::initializer_list<forms::Form*>{&history, &kinds}) {
            f->Load();
            EXPECT_FALSE(f->Loaded()) << p2;
            f->Unload();
            sv->expectBox(told(p2 == "<null>" ? "" : p2), platform::vbCritical, "出错");
        }
    }
    Load_Lan(1);
    setP2("IC");
    history.Load();
    sv->expectBox("The card system setting (P2 of the Sys_Config row in Sys_Para) reads 'IC', which is no card system number, "
                  "so it cannot be told whether the cards are IC or ID cards and this step was not done. Ask your "
                  "administrator to correct the setting.",
                  platform::vbCritical, "Error");

    Load_Lan(0);
    con->execute("delete from Sys_Para where Para_Name='Sys_Config'");
    history.Load();
    EXPECT_TRUE(history.Loaded());
    EXPECT_EQ(history.Card_Sys_Mode, 0);
    EXPECT_EQ(sv->takeBoxes(), test::Texts{});
    history.Unload();
}
