// The windows that write, each on a fresh copy of the database, beside the
// same writes done set-based on another fresh copy, in one transaction
// through the engine's own client (WriteBaselines.h).
#include <cstdio>

#include "bench/BenchKit.h"
#include "bench/WriteBaselines.h"
#include "cards/IDYuE_QingLing.h"
#include "cards/frmJieSuanIC.h"
#include "data/Globals.h"
#include "platform/db/Connection.h"
#include "subsidy/BT_ID_FF.h"
#include "subsidy/BT_QingLing.h"

namespace tolvenk::bench {

namespace {

// Every employee on an ID card with money and times on it.
const char* const kIdInstallation =
    "update Sys_Para set P2='0' where Para_Name='Sys_Config';"
    "update Card_Info set Card_Model=1, C_GuaShi=0, C_YuE_ID=50000, C_YuCi_ID=20;";

void script(const std::string& statements) {
    std::size_t from = 0;
    while (from < statements.size()) {
        const std::size_t end = statements.find(';', from);
        const std::string one = statements.substr(from, end == std::string::npos ? std::string::npos : end - from);
        if (one.find_first_not_of(" \n") != std::string::npos) Conn_Main->execute(one);
        if (end == std::string::npos) break;
        from = end + 1;
    }
}

void idGrant(const Settings& s, const Target& db, Table& t) {
    std::vector<double> took, base;
    std::string counts, planNote;
    for (int i = 0; i < s.writeRepeat; ++i) {
        took.push_back(onCopy(db, "grant", prepareIdGrant, [&] { return timedOnce([&] { counts = runIdGrant(); }); }));
        base.push_back(onCopy(db, "grant_base", prepareIdGrant, [&] {
            return writeBaseline("7030", "ID grant", inOneTransaction(onServer(), idGrantWrites(onServer(), 2026, 12, 1,
                                                                                               "2026-12-01 09:00:00")),
                                 planNote);
        }));
    }
    t.add({"7030", "ID grant, every employee", -1, median(took), median(base), "<= 3", counts + planNote});
}

void monthEndClearing(const Settings& s, const Target& db, Table& t) {
    std::vector<double> took, base;
    std::string box, planNote;
    for (int i = 0; i < s.writeRepeat; ++i) {
        took.push_back(onCopy(db, "clear", prepareIdInstallation, [&] {
            double took = 0;
            box = runMonthEndClearing([&](const std::function<void()>& clear) { took = timedOnce(clear); });
            return took;
        }));
        base.push_back(onCopy(db, "clear_base", prepareIdInstallation, [&] {
            return writeBaseline("7031", "month-end clearing",
                                 inOneTransaction(onServer(), clearingWrites(onServer(), 2026, 11, "2026-12-01 09:00:00")),
                                 planNote);
        }));
    }
    t.add({"7031", "month-end clearing, every employee, Nov.", -1, median(took), median(base), "<= 3", box + planNote});
}

void idBalanceClearing(const Settings& s, const Target& db, Table& t) {
    std::vector<double> took, base;
    std::string box, planNote;
    for (int i = 0; i < s.writeRepeat; ++i) {
        took.push_back(onCopy(db, "idclear", prepareIdInstallation, [&] {
            double took = 0;
            box = runIdClearing([&](const std::function<void()>& clear) { took = timedOnce(clear); });
            return took;
        }));
        base.push_back(onCopy(db, "idclear_base", prepareIdInstallation, [&] {
            return writeBaseline("7040", "ID balance clearing",
                                 inOneTransaction(onServer(), idClearingWrites("2026-12-01 09:00:00")), planNote);
        }));
    }
    t.add({"7040", "ID balance clearing, every card", -1, median(took), median(base), "<= 2", box + planNote});
}

void icSettlement(const Settings& s, const Target& db, Table& t) {
    const std::string cutoff = "2026-11-01";
    std::vector<double> took, base;
    long moved = 0;
    std::string planNote, unsettled;
    std::int64_t fellBack = 0;
    for (int i = 0; i < s.writeRepeat; ++i) {
        took.push_back(onCopy(db, "settle", [] {}, [&] {
            IC_Settlement::Run_Result r;
            const double took = timedOnce([&] { r = runIcSettlement(cutoff); });
            moved = number("select count(*) from Record_BF_XF where Date_Time<'" + cutoff + "'");
            fellBack += r.fellBack;
            if (r.state != IC_Settlement::Run_Result::Settled)
                unsettled = "; not settled (state " + std::to_string(static_cast<int>(r.state)) + ", " +
                            std::to_string(r.left.size()) + " cards left): no ratio";
            return took;
        }));
        base.push_back(onCopy(db, "settle_base", [] {}, [&] {
            return writeBaseline("7038", "IC settlement",
                                 inOneTransaction(onServer(), settlementWrites(onServer(), cutoff)), planNote);
        }));
    }
    // A run that left cards did less than the baseline: its time says nothing.
    const double baseline = unsettled.empty() ? median(base) : 0;
    t.add({"7038", "IC settlement before " + cutoff, moved, median(took), baseline, "<= 3",
           "rows: moved to the backup; " + std::to_string(fellBack) + " sets settled again card by card" + unsettled +
               planNote});
}

}  // namespace

double onCopy(const Target& db, const std::string& name, const std::function<void()>& prepare,
              const std::function<double()>& run) {
    closeMain();
    const Target c = db.copy(name);
    c.open();
    prepare();
    const double took = run();
    closeMain();
    c.drop();
    db.open();
    return took;
}

void prepareIdInstallation() { script(kIdInstallation); }

void prepareIdGrant() {
    script(std::string(kIdInstallation) +
           "insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Type,"
           "B_SF,B_Unit) select Pinfo_ID,'2026-12-01 08:00:00',1,500,0,2026,12,1,0,-1,0 from Ren_Per_Info "
           "where Del_YN=0");
}

std::string runIdGrant() {
    BT_ID_FF w;
    w.Load();
    w.Combo3.setText("2026");
    w.Combo1.setListIndex(11);
    w.Combo2.setText("1");
    w.Command1_Click();
    const std::string counts = std::to_string(w.Credited) + " credited, " + std::to_string(w.Without_Card) +
                               " without a card, " + std::to_string(w.Failed) + " failed";
    w.Unload();
    return counts;
}

std::string runMonthEndClearing(const std::function<void(const std::function<void()>&)>& around) {
    BT_QingLing w;
    w.Load();
    w.Text1.setText("2026");
    w.Combo2.setListIndex(10);
    w.ucDep1.selectDepartment("0");
    // The list is the clearing's input and measured on its own.
    w.cmd_List_Click();
    w.CheckAll.setValue(forms::vbChecked);
    timed().startWatch();
    around([&] { w.cmdQingLing_Click(); });
    const std::string box = timed().boxes.empty() ? "" : timed().boxes.back();
    w.Unload();
    return box;
}

std::string runIdClearing(const std::function<void(const std::function<void()>&)>& around) {
    IDYuE_QingLing w;
    w.Load();
    w.ucDep1.selectDepartment("0");
    w.CheckAll.setValue(forms::vbChecked);
    timed().startWatch();
    around([&] { w.Command1_Click(); });
    const std::string box = timed().boxes.empty() ? "" : timed().boxes.back();
    w.Unload();
    return box;
}

IC_Settlement::Run_Result runIcSettlement(const std::string& cutoff) {
    frmJieSuanIC w;
    w.Load();
    w.dtP.setValue(cutoff);
    w.Command1_Click();
    const IC_Settlement::Run_Result r = w.Last_Run;
    w.Unload();
    return r;
}

void benchWriteWindows(const Settings& s, const Target& db, Table& t) {
    const std::string clock = timed().clock;
    if (s.wants("7030")) idGrant(s, db, t);
    if (s.wants("7031")) monthEndClearing(s, db, t);
    if (s.wants("7040")) idBalanceClearing(s, db, t);
    timed().clock = "2027-06-01 10:00:00";  // the quarter lies far enough back to settle
    if (s.wants("7038")) icSettlement(s, db, t);
    timed().clock = clock;
}

}  // namespace tolvenk::bench
