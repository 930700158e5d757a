// The windows that write, each on a fresh copy of the database, beside the
// same writes done set-based on another fresh copy: one transaction per few
// hundred employees, a statement per kind of write. The baselines write what
// the windows write, row for row of the same tables, with amounts computed
// by the statements themselves; they are a measure of cost, not a second
// implementation whose figures anyone reads.
#include <cstdio>

#include "bench/BenchKit.h"
#include "cards/frmJieSuanIC.h"
#include "data/Globals.h"
#include "platform/db/Connection.h"
#include "subsidy/BT_ID_FF.h"
#include "subsidy/BT_QingLing.h"

namespace tolvenk::bench {

namespace {

constexpr int kChunk = 300;  // employees per transaction of a baseline

// Every employee on an ID card with money and times on it.
const char* const kIdInstallation =
    "update Sys_Para set P2='0' where Para_Name='Sys_Config';"
    "update Card_Info set Card_Model=1, C_GuaShi=0, C_YuE_ID=50000, C_YuCi_ID=20;";

const char* const kXfColumns =
    "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,"
    "YuE_Change,YuE_New,C_QuHao,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,Ci_QuHao,"
    "Ci_LiuShui,YuCi_New,Err_Code,Rec_Time,DC_Date) ";

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

// The employees in order of their number, in bounds of kChunk.
std::vector<std::pair<long, long>> chunks(const std::string& ofWhom) {
    std::vector<long> ids;
    for (auto rs = Conn_Main->openRecordset(ofWhom); !rs->eof(); rs->moveNext())
        ids.push_back(static_cast<long>(rs->field(0).toInt64()));
    std::vector<std::pair<long, long>> out;
    for (std::size_t i = 0; i < ids.size(); i += kChunk)
        out.emplace_back(ids[i], ids[std::min(ids.size(), i + kChunk) - 1]);
    return out;
}

std::string between(const std::string& column, const std::pair<long, long>& c) {
    return " " + column + " between " + std::to_string(c.first) + " and " + std::to_string(c.second) + " ";
}

double timedOnce(const std::function<void()>& run) {
    const auto start = Clock::now();
    run();
    return seconds(start);
}

void idGrant(const Settings& s, const Target& db, Table& t) {
    const std::string batch = " B_Year=2026 and B_Month=12 and B_Times=1 and B_SF=-1 ";
    std::vector<double> took, base;
    std::string counts;
    for (int i = 0; i < s.writeRepeat; ++i) {
        took.push_back(onCopy(db, "grant", prepareIdGrant, [&] { return timedOnce([&] { counts = runIdGrant(); }); }));
        base.push_back(onCopy(db, "grant_base", prepareIdGrant, [&] {
            return timedOnce([&] {
            for (const auto& c : chunks("select Pinfo_ID from BuTie_OK where" + batch + "order by Pinfo_ID")) {
                Conn_Main->beginWriteTrans();
                Conn_Main->execute(
                    std::string(kXfColumns) +
                    "select 0,b.Pinfo_ID,c.Card_No_Lng,'',c.C_LeiBie,0,11,0,c.C_YuE_ID,b.B_JinE,c.C_YuE_ID+b.B_JinE,0,0,0,"
                    "'2026-12-01 09:00:00',c.Card_No,b.B_Ci,1,0,0,0,c.C_YuCi_ID+b.B_Ci,0,'2026-12-01 09:00:00','' "
                    "from BuTie_OK b,Card_Info c where b.Pinfo_ID=c.Pinfo_id and c.Card_Model=1 and c.C_GuaShi=0 and" +
                    batch + "and" + between("b.Pinfo_ID", c));
                Conn_Main->execute("update Card_Info set C_YuE_ID=C_YuE_ID+(select sum(B_JinE) from BuTie_OK b where "
                                   "b.Pinfo_ID=Card_Info.Pinfo_id and" + batch + "),C_YuCi_ID=C_YuCi_ID+(select "
                                   "sum(B_Ci) from BuTie_OK b where b.Pinfo_ID=Card_Info.Pinfo_id and" + batch +
                                   ") where Card_Model=1 and C_GuaShi=0 and" + between("Pinfo_id", c) +
                                   "and Pinfo_id in (select Pinfo_ID from BuTie_OK where" + batch + ")");
                Conn_Main->execute("update BuTie_OK set B_SF=2,FaFang_DT='2026-12-01 09:00:00',ZhunBei_Ren_ID=1 where" +
                                   batch + "and" + between("Pinfo_ID", c));
                Conn_Main->commitTrans();
            }
            });
        }));
    }
    t.add({"7030", "ID grant, every employee", -1, median(took), median(base), "<= 3", counts});
}

void monthEndClearing(const Settings& s, const Target& db, Table& t) {
    std::vector<double> took, base;
    std::string box;
    for (int i = 0; i < s.writeRepeat; ++i) {
        took.push_back(onCopy(db, "clear", prepareIdInstallation, [&] {
            double took = 0;
            box = runMonthEndClearing([&](const std::function<void()>& clear) { took = timedOnce(clear); });
            return took;
        }));
        base.push_back(onCopy(db, "clear_base", prepareIdInstallation, [&] { return timedOnce([&] {
            const std::string month = " Date_Time>='2026-11' and Date_Time<'2026-11Z' ";
            const std::string amount =
                "(select coalesce(sum(B_JinE),0) from BuTie_OK b where b.Pinfo_ID=c.Pinfo_id and b.B_Year=2026 and "
                "b.B_Month=11 and b.B_Times>0 and b.B_SF=2)+(select coalesce(sum(YuE_Change),0) from Record_XF x where "
                "x.Pinfo_id=c.Pinfo_id and x.XF_Type in (1,2,9,10,15,16,48) and x." + month.substr(1) + ")";
            for (const auto& c : chunks("select Pinfo_id from Card_Info where Card_Model=1 order by Pinfo_id")) {
                Conn_Main->beginWriteTrans();
                const std::string cards = " from Card_Info c where c.Card_Model=1 and c.C_GuaShi=0 and" +
                                          between("c.Pinfo_id", c);
                Conn_Main->execute(std::string(kXfColumns) + "select 36,c.Pinfo_id,c.Card_No_Lng,'',c.C_LeiBie,10,166,0,"
                                   "c.C_YuE_ID,-(" + amount + "),c.C_YuE_ID-(" + amount + "),0,0,0,'2026-12-01 09:00:00',"
                                   "c.Card_No,0,1,1,0,0,c.C_YuCi_ID,0,'2026-11',''" + cards);
                Conn_Main->execute(std::string(kXfColumns) + "select 36,c.Pinfo_id,c.Card_No_Lng,'',c.C_LeiBie,10,168,0,"
                                   "c.C_YuE_ID,0,c.C_YuE_ID,0,0,0,'2026-12-01 09:00:00',c.Card_No,0,1,1,0,0,c.C_YuCi_ID,0,"
                                   "'2026-11',''" + cards);
                Conn_Main->execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,"
                                   "B_Times,B_Unit) select c.Pinfo_id,'2026-12-01 09:00:00',1,-(" + amount +
                                   "),0,2026,11,-1,-1" + cards);
                Conn_Main->execute("update Card_Info set C_YuE_ID=C_YuE_ID-(select coalesce(sum(B_JinE),0) from BuTie_OK "
                                   "b where b.Pinfo_ID=Card_Info.Pinfo_id and b.B_Year=2026 and b.B_Month=11 and "
                                   "b.B_Times>0),ID_YuE_Now='2026-12-01 09:00:00' where Card_Model=1 and C_GuaShi=0 and" +
                                   between("Pinfo_id", c));
                Conn_Main->commitTrans();
            }
        }); }));
    }
    t.add({"7031", "month-end clearing, every employee, Nov.", -1, median(took), median(base), "<= 3", box});
}

void icSettlement(const Settings& s, const Target& db, Table& t) {
    const std::string cutoff = "2026-11-01";
    std::vector<double> took, base;
    long moved = 0;
    for (int i = 0; i < s.writeRepeat; ++i) {
        took.push_back(onCopy(db, "settle", [] {}, [&] {
            const double took = timedOnce([&] { runIcSettlement(cutoff); });
            moved = number("select count(*) from Record_BF_XF where Date_Time<'" + cutoff + "'");
            return took;
        }));
        base.push_back(onCopy(db, "settle_base", [] {}, [&] { return timedOnce([&] {
            const std::string before = " Card_LiuShui>1 and Date_Time<'" + cutoff + "' ";
            for (const auto& c : chunks("select distinct Pinfo_id from Record_XF where Pinfo_id is not null order by "
                                        "Pinfo_id")) {
                const std::string who = "and" + between("Pinfo_id", c);
                Conn_Main->beginWriteTrans();
                Conn_Main->execute("insert into Record_BF_XF select * from Record_XF where XF_Type<>250 and" + before + who);
                Conn_Main->execute("update Record_XF set YuE_Change=(select sum(r.YuE_Change) from Record_XF r where "
                                   "r.Card_No=Record_XF.Card_No and r.Pinfo_id=Record_XF.Pinfo_id and r.Card_LiuShui>1 "
                                   "and r.Date_Time<'" + cutoff + "'),XF_Type=250 where ID in (select max(ID) from "
                                   "Record_XF where" + before + who + "group by Card_No,Pinfo_id)");
                Conn_Main->execute("delete from Record_XF where XF_Type<>250 and" + before + who);
                Conn_Main->commitTrans();
            }
        }); }));
    }
    t.add({"7038", "IC settlement before " + cutoff, moved, median(took), median(base), "<= 3",
           "rows: moved to the backup"});
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

void runIcSettlement(const std::string& cutoff) {
    frmJieSuanIC w;
    w.Load();
    w.dtP.setValue(cutoff);
    w.Command1_Click();
    w.Unload();
}

void benchWriteWindows(const Settings& s, const Target& db, Table& t) {
    const std::string clock = timed().clock;
    if (s.wants("7030")) idGrant(s, db, t);
    if (s.wants("7031")) monthEndClearing(s, db, t);
    timed().clock = "2027-06-01 10:00:00";  // the quarter lies far enough back to settle
    if (s.wants("7038")) icSettlement(s, db, t);
    timed().clock = clock;
}

}  // namespace tolvenk::bench
