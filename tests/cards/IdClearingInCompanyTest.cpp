// The ID balance clearing in company: a terminal debiting the ID balance of a
// ticked card while the department is cleared, and two offices clearing the
// same department at once.
#include "InCompany.h"
#include "platform/db/DbError.h"
#include "cards/IDYuE_QingLing.h"
#include "support/Peer.h"
#include "support/PeerModule.h"
#include "support/Terminal.h"

using namespace tolvenk;
using T = test::Texts;

namespace {

constexpr const char* kDept = "01";
// Every column a void row is written with (its ID is the order of writing).
constexpr const char* kVoidCols =
    "Mach_ID,Pinfo_id,Card_No_Lng,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,YuE_Change,YuE_New,C_QuHao,Card_LiuShui,"
    "Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code,Rec_Time,"
    "DC_Date,Shui_Change,IS_ShuiKong";

// A second office: every card of the department ticked and cleared when the test says go.
TOLVENK_PEER_JOB(ClearDepartment) {
    test::PeerModule module(peer.arg("db"));
    module.services().clock = "2027-06-01 10:00:00";
    Op_User_ID = 7;
    IDYuE_QingLing w;
    w.Load();
    w.ucDep1.selectDepartment(kDept);
    w.CheckAll.setValue(forms::vbChecked);
    peer.report("ready");
    peer.readCommand();
    w.Command1.click();
    peer.report("done " + std::to_string(module.services().boxes.size()));
    return 0;
}

class IdClearingInCompany : public test::InCompany<IDYuE_QingLing> {
protected:
    // ID balances on every card, a tenth of them already at 0; the same on both databases.
    void SetUp() override {
        InCompany::SetUp();
        if (IsSkipped()) return;
        for (auto* c : {twinCon.get(), con.get()})
            c->execute("update Card_Info set C_YuE_ID = case when Pinfo_id % 10 = 0 then 0 else 1000 + 7 * Pinfo_id end");
    }
    void list() {
        w.Load();
        w.ucDep1.selectDepartment(kDept);
        w.CheckAll.setValue(forms::vbChecked);
    }
    void clear() {
        list();
        w.Command1.click();
    }
    std::vector<T> voids(db::Connection& c, const std::string& notCard = "") {
        return test::rows(c, std::string("select ") + kVoidCols + " from Record_XF where XF_Type=175 and Card_No<>'" +
                                 notCard + "' order by Pinfo_id, Card_No");
    }
    std::vector<T> balances(db::Connection& c, const std::string& notCard = "") {
        return test::rows(c, "select i.Pinfo_id, i.Card_No, i.C_YuE_ID, l.Card_YuE from Card_Info i left join Card_Log l on "
                             "l.Card_No=i.Card_No and l.Pinfo_id=i.Pinfo_id where i.Card_No<>'" + notCard +
                             "' order by i.Pinfo_id, i.Card_No, l.Card_YuE");
    }
    // Cards taken and the total voided as each click logged it.
    std::vector<T> logged(db::Connection& c) {
        return test::rows(c, "select Op_Code, Operator_ID, Op_Object from Sys_Log where Op_Code=301 order by ID");
    }
};

TOLVENK_IN_EVERY_JOURNAL(IdClearingInCompany);

class IdClearingOnTheServer : public IdClearingInCompany {};
INSTANTIATE_TEST_SUITE_P(Journals, IdClearingOnTheServer, ::testing::Values(test::Journal::Server), test::JournalNames());

}  // namespace

// X is debited by a terminal all along: its void takes the balance as it was
// at that moment, and the debits after it are kept below 0.
TEST_P(IdClearingInCompany, ATerminalDebitingATickedCardLosesNothingAndTheVoidTakesTheBalanceOfItsMoment) {
    const T x = test::row(*con, "select i.Pinfo_id, i.Card_No, i.C_YuE_ID from Card_Info i join Ren_Per_Info p on p.Pinfo_ID=i.Pinfo_id "
                                "where p.Dept_No like '" + std::string(kDept) + "%' and i.C_YuE_ID > 0 order by i.Pinfo_id limit 1 offset 5");
    ASSERT_EQ(x.size(), 3u);
    const std::int64_t start = std::stoll(x[2]);

    use(*twin);
    clear();
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, platform::vbInformation);
    const std::vector<T> alone = logged(*twinCon);
    ASSERT_EQ(alone.size(), 1u);
    ASSERT_GT(test::number(*twinCon, "select count(*) from Record_XF where XF_Type=175"), 20);
    sv->boxes.clear();

    use(*live);
    const test::TerminalOptions terminal{x[1], 990, 2000, true, "2027-05-31 12:00:00"};
    test::Terminal t(live->cs, terminal);
    t.waitForCommits(3);
    list();
    t.waitForCommits(t.commits() + 3);  // the listed balance of X is out of date
    w.Command1.click();
    // Three rows after the void: counted in the table, since the terminal's
    // reports of rows committed during the run may not all be read yet.
    t.waitForCommits(static_cast<std::size_t>(test::number(*con, "select count(*) from Record_XF where Mach_ID=990")) + 3);
    const test::TerminalReport r = t.finish();
    RecordProperty("terminal_longest_wait_us", std::to_string(r.longestWaitMicros));

    EXPECT_EQ(test::integrity(*con), "ok");
    EXPECT_EQ(r.failures, 0) << (r.errors.empty() ? "" : r.errors[0]);
    EXPECT_EQ(test::terminalRowsProblem(*con, terminal, r), "");
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, platform::vbInformation);
    // Every other card as the clearing alone left it.
    EXPECT_EQ(voids(*con, x[1]), voids(*twinCon, x[1]));
    EXPECT_EQ(balances(*con, x[1]), balances(*twinCon, x[1]));

    // X: voided once, from the balance left by the debits committed before the void.
    const auto n = static_cast<std::int64_t>(r.serials.size());
    const T v = test::row(*con, "select ID, YuE_Old, YuE_Change, YuE_New from Record_XF where XF_Type=175 and Card_No='" + x[1] + "'");
    ASSERT_EQ(v.size(), 4u);
    const std::int64_t debitedBefore = test::number(*con, "select count(*) from Record_XF where Mach_ID=990 and ID < " + v[0]);
    EXPECT_GT(debitedBefore, 0);
    EXPECT_LT(debitedBefore, n);
    const std::int64_t moment = start - debitedBefore;
    EXPECT_EQ(v, (T{v[0], std::to_string(moment), std::to_string(-moment), "0"}));
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type=175 and Card_No='" + x[1] + "'"), 1);
    EXPECT_EQ(test::row(*con, "select C_YuE_ID from Card_Info where Card_No='" + x[1] + "'"), (T{std::to_string(start - n - moment)}));
    EXPECT_EQ(test::number(*con, "select count(*) from Card_Log where Card_No='" + x[1] + "' and Card_YuE<>0"), 0);

    // The log row: the same cards, the total with X's void in place of the one it had alone.
    const std::size_t comma = alone[0][2].find(',');
    const std::int64_t aloneTotal = std::stoll(alone[0][2].substr(comma + 1));
    EXPECT_EQ(logged(*con), (std::vector<T>{{"301", "7", alone[0][2].substr(0, comma) + "," +
                                                                std::to_string(aloneTotal + start - moment)}}));
}

// Two offices clear the same department at once: each card is voided once;
// each log row counts every card its click took, and the two share out the
// total one run voided.
TEST_P(IdClearingInCompany, TwoOfficesAtOnceVoidEachCardOnce) {
    use(*twin);
    clear();
    const std::vector<T> alone = logged(*twinCon);
    ASSERT_EQ(alone.size(), 1u);

    test::Peer a("ClearDepartment", {{"db", live->cs}}), b("ClearDepartment", {{"db", live->cs}});
    a.waitFor("ready");
    b.waitFor("ready");
    a.send("go");
    b.send("go");
    EXPECT_EQ(a.waitFor("done"), "done 1");
    EXPECT_EQ(b.waitFor("done"), "done 1");
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);

    EXPECT_EQ(test::integrity(*con), "ok");
    EXPECT_EQ(voids(*con), voids(*twinCon));
    EXPECT_EQ(balances(*con), balances(*twinCon));
    const std::vector<T> both = logged(*con);
    ASSERT_EQ(both.size(), 2u);
    std::int64_t total = 0;
    const std::size_t comma = alone[0][2].find(',');
    for (const T& row : both) {
        const std::size_t at = row[2].find(',');
        EXPECT_EQ(row[2].substr(0, at), alone[0][2].substr(0, comma));
        total += std::stoll(row[2].substr(at + 1));
    }
    EXPECT_EQ(total, std::stoll(alone[0][2].substr(comma + 1)));
}

// A terminal of another maker takes no lock of the module's own: on the
// server the card's row itself stays locked from the balance read to the
// commit, so no debit can fall between the void and the zero.
TEST_P(IdClearingOnTheServer, TheCardRowIsLockedFromTheBalanceReadToTheCommit) {
    const std::string x = test::text(*con, "select i.Card_No from Card_Info i join Ren_Per_Info p on p.Pinfo_ID=i.Pinfo_id "
                                           "where p.Dept_No like '" + std::string(kDept) + "%' and i.C_YuE_ID > 0 order by i.Pinfo_id limit 1");
    use(*live);
    list();
    std::string seen;  // what another session met, trying the row while X's void was written
    db::setStatementObserver([&](const std::string& sql) {
        if (!seen.empty() || sql.rfind("insert into Record_XF", 0) != 0 || sql.find("'" + x + "'") == std::string::npos) return;
        seen = "free";
        try {
            con->openRecordset("select C_YuE_ID from Card_Info where Card_No='" + x + "' for update nowait");
        } catch (const db::DbError& e) {
            seen = e.what();
        }
    });
    w.Command1.click();
    db::setStatementObserver(nullptr);
    EXPECT_NE(seen.find("could not obtain lock"), std::string::npos) << seen;
    EXPECT_EQ(test::number(*con, "select count(*) from Record_XF where XF_Type=175 and Card_No='" + x + "'"), 1);
}
