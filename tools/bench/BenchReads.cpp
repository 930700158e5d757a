// The windows that only read, over the whole company (a root department "0"
// above the generated tops), each beside the one statement a user would run
// for the same figures.
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <filesystem>

#include "bench/BenchKit.h"
#include "cards/CardLog_Cha.h"
#include "cards/YuE_HZ_Cha.h"
#include "cards/YuE_ID_Cha.h"
#include "data/Globals.h"
#include "meals/DC_Cha_Sum.h"
#include "platform/db/Connection.h"
#include "platform/grid/GridExport.h"
#include "reports/statistics/XF_Cha_HZ_Ren.h"
#include "reports/statistics/XF_Mingxi.h"
#include "subsidy/BT_QingLing.h"

namespace tolvenk::bench {

namespace {

namespace fs = std::filesystem;

// A large site's card log in the quarter (a quick run's is smaller).
constexpr long kCardLogRows = 100000, kQuickCardLogRows = 2000;

// The day after a "yyyy-MM-dd" of the generated quarter's months, as text
// that sorts after every time of `day`.
std::string endOf(const std::string& day) { return day + "Z"; }

char* fmt(char* buf, std::size_t n, const char* f, double a, double b = 0, double c = 0, double d = 0) {
    std::snprintf(buf, n, f, a, b, c, d);
    return buf;
}

// Runs `click` in the window's own event loop, shown, and gives its time.
template <class W>
double shownRun(W& w, const std::function<void()>& setUp, const std::function<void()>& click, std::string& failed,
                Clock::time_point& start, Clock::time_point& end) {
    QTimer::singleShot(0, [&] {
        setUp();
        timed().startWatch();
        start = Clock::now();
        try {
            click();
        } catch (const std::exception& e) {
            failed = e.what();
        }
        end = Clock::now();
        w.Hide();
    });
    w.Show();
    return seconds(start, end);
}

// The grid of the employee statistics as one statement: each employee's day
// or month summed in one pass, a column per figure, its employees in the
// grid's order. The quarter is the whole table: a scan reads it faster
// than the walk of the kind-and-date index SQLite would choose.
std::string employeeGrid(const Settings& s, int width) {
    const std::string p = leftOf("Date_Time", width);
    const auto when = [](const char* kinds, const char* figure, const std::string& meal = "") {
        return std::string(",sum(") + figure + ") filter (where XF_Type in (" + kinds + ")" + meal + ")";
    };
    const char *consume = "1,2,179,201", *money = "YuE_Change", *times = "YuCi_Change";
    std::string cols = when(consume, money) + when(consume, "1") + when("3", times) + when("5,6,161,202", money) +
                       when("7,8,163", times) + when("9,10,162", money);
    for (const char* m : {"1", "2", "3", "4", "5"})
        cols += when(consume, money, std::string(" and XF_Meal=") + m) + when("3", times, std::string(" and XF_Meal=") + m);
    const std::string other = " and (XF_Meal is null or XF_Meal not between 1 and 5)";
    cols += when(consume, money, other) + when("3", times, other) + when("17,181", money);
    return "select e.Pinfo_ID,e.P_Name,e.P_Code,d.Dept_Name,d.Dept_Code,g.* from (select Pinfo_id," + p + " as P" +
           cols + " from Record_XF" + (onServer() ? "" : " not indexed") +
           " where XF_Type in (1,2,179,3,5,6,161,7,8,163,9,10,162,181,17,201,202) and Date_Time>='" + s.from +
           "' and Date_Time<'" + endOf(s.to) + "' group by Pinfo_id," + p + ") g join Ren_Per_Info e on "
           "e.Pinfo_ID=g.Pinfo_id join Ren_Dept_Info d on d.Dept_No=e.Dept_No and d.Del_YN=0 order by d.Dept_Name,"
           "e.P_Code,e.Pinfo_ID,g.P";
}

void employeeStatistics(const Settings& s, Table& t) {
    struct Run {
        const char* name;
        int mode;
        int width;
    };
    for (const Run& r : {Run{"month report, a quarter", 1, 7}, Run{"day report, a quarter", 0, 10}}) {
        std::string planNote;
        const double base = readBaseline(s.repeat, "7033", r.name, employeeGrid(s, r.width), {}, planNote);
        std::vector<double> took;
        double longest = 0, peak = 0, first = 0, before = statusMb("VmRSS"), after = 0;
        int rows = 0;
        std::string failed;
        for (int i = 0; i < s.repeat; ++i) {
            XF_Cha_HZ_Ren w;
            Clock::time_point start, end;
            resetPeak();
            // Rows count as shown once the view holds them (its drawing is held).
            timed().showsRows = [&w] { return w.Grid1.view()->model()->rowCount() > 1; };
            took.push_back(shownRun(
                w,
                [&] {
                    w.ucDep1.selectDepartment("0");
                    w.Option1(r.mode).setValue(true);
                    w.DTPicker1.setValue(s.from);
                    w.DTPicker2.setValue(s.to);
                },
                [&] { w.Command1_Click(); }, failed, start, end));
            timed().showsRows = nullptr;
            peak = std::max(peak, statusMb("VmHWM"));
            first = std::max(first, seconds(start, timed().firstShown.value_or(end)));
            longest = std::max(longest, timed().longestGap(start, end));
            rows = w.Grid1.Rows() - 1;
            w.Unload();
        }
        after = statusMb("VmRSS");
        char note[200];
        fmt(note, sizeof note, "first rows %.2f s (goal < 0.5), longest without a yield %.2f s (goal <= 0.1), RSS %.0f -> peak %.0f MB",
            first, longest, before, peak);
        t.add({"7033", r.name, rows, median(took), base, "<= 3, peak < 600 MB",
               std::string(note) + ", after close " + std::to_string(static_cast<int>(after)) + " MB" +
                   (failed.empty() ? "" : ", FAILED: " + failed) + (planNote.empty() ? "" : ", " + planNote)});
    }
}

// The detail of every department over the quarter, as one joined statement
// in the window's order, for the kinds `kinds` selects.
std::string detailStatement(const Settings& s, const std::string& kinds) {
    return "select Record_XF.*,Ren_Per_Info.Dept_No,Ren_Per_Info.P_Name,Ren_Per_Info.P_Code,Ren_Dept_Info.Dept_Name "
           "from Record_XF,Ren_Per_Info,Ren_Dept_Info where Record_XF.Date_Time>='" + s.from +
           "' and Record_XF.Date_Time<'" + endOf(s.to) +
           "' and Record_XF.Pinfo_id=Ren_Per_Info.Pinfo_id and Ren_Per_Info.Dept_No=Ren_Dept_Info.Dept_No and "
           "Ren_Dept_Info.Del_YN=0 and " + kinds + " order by Record_XF.Date_Time,Record_XF.XF_Type,Record_XF.ID";
}

// Every department and the days from..to chosen in the detail window.
void choosePeriod(XF_Mingxi& d, const std::string& from, const std::string& to) {
    d.ucDep1.selectDepartment("0");
    d.DTPicker1(0).setValue(from);
    d.DTPicker1(1).setValue(from + " 00:00:00");
    d.DTPicker2(0).setValue(to);
    d.DTPicker2(1).setValue(to + " 23:59:59");
}

struct Shown_Detail {
    double took, firstRows, longest;
    std::string failed;
};

// The detail run in a shown window once `choose` has set it up: its time,
// its first rows and its longest stretch without a yield.
Shown_Detail showDetail(XF_Mingxi& d, const std::function<void()>& choose) {
    Clock::time_point start, end;
    std::string failed;
    // A grid whose drawing is held is still painted now and then during a fill,
    // so rows count as shown once the view holds them.
    timed().showsRows = [&d] { return d.Grid1.view()->model()->rowCount() > 1; };
    const double took = shownRun(d, choose, [&] { d.Command1_Click(); }, failed, start, end);
    timed().showsRows = nullptr;
    return {took, seconds(start, timed().firstShown.value_or(end)), timed().longestGap(start, end), failed};
}

void transactionDetail(const Settings& s, const Target& db, Table& t) {
    const std::string sql = detailStatement(s, "Record_XF.XF_Type<>250");
    std::string planNote;
    const double base = readBaseline(s.quick ? 1 : std::min(s.repeat, 3), "7034", "detail", sql, {}, planNote);
    // Once: the whole quarter shown, with its memory before, at the peak and after closing.
    const double before = statusMb("VmRSS");
    resetPeak();
    XF_Mingxi d;
    const Shown_Detail r = showDetail(d, [&] { choosePeriod(d, s.from, s.to); });
    const double peak = statusMb("VmHWM");
    const long rows = d.Grid1.Rows() - 1;
    char note[240];
    fmt(note, sizeof note, "first rows %.2f s (goal < 0.5), longest without a yield %.2f s (goal <= 0.1), RSS %.0f -> peak %.0f MB",
        r.firstRows, r.longest, before, peak);
    t.add({"7034", "detail, every department, a quarter, shown", rows, r.took, base, "<= 3, peak < 600 MB",
           std::string(note) + (r.failed.empty() ? "" : ", FAILED: " + r.failed) + (planNote.empty() ? "" : ", " + planNote)});

    if (r.failed.empty()) {
        const std::string out = (fs::path(db.folder) / "detail.xlsx").string();
        const double base2 = statusMb("VmRSS");
        resetPeak();
        const auto x = Clock::now();
        const bool ok = grid::exportXlsx(d.Grid1.model(), out, {}, nullptr);
        const double took2 = seconds(x);
        char n2[120];
        std::snprintf(n2, sizeof n2, "%s, adds %.0f MB to the peak", ok ? "written" : "FAILED",
                      statusMb("VmHWM") - base2);
        t.add({"7034", ".xlsx export of the detail's grid", rows, took2, 0, "< 10 s", n2});
        fs::remove(out);
    }
    d.Unload();
    t.add({"7034", "RSS after closing the detail (MB)", -1, statusMb("VmRSS"), 0, "within 50 MB of " +
           std::to_string(static_cast<int>(before)), ""});
}

// The same quarter for one rare kind, the meal-order cancellations: a few
// rows among millions, to be found without reading the rest.
void rareKindDetail(const Settings& s, Table& t) {
    const std::string sql = detailStatement(s, "Record_XF.XF_Type=16");
    std::string planNote;
    const double base = readBaseline(s.repeat, "7034", "detail, one rare kind", sql, {}, planNote);
    const double before = statusMb("VmRSS");
    resetPeak();
    XF_Mingxi d;
    const Shown_Detail r = showDetail(d, [&] {
        choosePeriod(d, s.from, s.to);
        d.optType(1).setValue(true);
        for (int box : {0, 1, 2, 4, 22, 23}) d.chkType(box).setValue(forms::vbUnchecked);
        d.chkType(3).setValue(forms::vbChecked);
    });
    char note[240];
    fmt(note, sizeof note, "first rows %.2f s, longest without a yield %.2f s, RSS %.0f -> peak %.0f MB",
        r.firstRows, r.longest, before, statusMb("VmHWM"));
    t.add({"7034", "detail, every department, a quarter, one rare kind", d.Grid1.Rows() - 1, r.took, base,
           "first rows < 1 s at 1M, < 2 s at 10M",
           std::string(note) + (r.failed.empty() ? "" : ", FAILED: " + r.failed) + (planNote.empty() ? "" : ", " + planNote)});
    d.Unload();
}

// The quarter's detail of a small department (0303, a tenth of a
// twentieth of the company) and of one person of it, found by code on the
// per-person path (the department "u"): few rows among millions, to be
// shown at once and without walking what cannot hold them.
void smallChoiceDetails(const Settings& s, Table& t) {
    const std::string dept = "0303";
    const long people = number("select count(*) from Ren_Per_Info where Dept_No like '" + dept + "%'");
    const long first = number("select min(Pinfo_ID) from Ren_Per_Info where Dept_No like '" + dept + "%'");
    if (people == 0) {
        t.add({"7034", "detail of department " + dept, -1, 0, 0, "", "no such department here"});
        return;
    }
    const std::string code =
        Conn_Main->openRecordset("select P_Code from Ren_Per_Info where Pinfo_ID=" + std::to_string(first))->field(0).toString();
    const bool addU = number("select count(*) from Ren_Dept_Info where Dept_No='u'") == 0;
    if (addU) Conn_Main->execute("insert into Ren_Dept_Info(Dept_No,Dept_Name,Dept_Level,Del_YN) values ('u','临时工',0,0)");
    struct Choice {
        std::string what, dept, code;
    };
    for (const Choice& c : {Choice{"detail, department " + dept + " (" + std::to_string(people) + " people), a quarter", dept, ""},
                            Choice{"detail, one person (" + code + ", per-person path), a quarter", "u", code}}) {
        XF_Mingxi d;
        const Shown_Detail r = showDetail(d, [&] {
            choosePeriod(d, s.from, s.to);
            d.ucDep1.selectDepartment(c.dept);
            d.ucDep1.setFilters("", c.code, "");
        });
        char note[240];
        fmt(note, sizeof note, "first rows %.2f s (goal < 0.5), longest without a yield %.2f s (goal <= 0.1)",
            r.firstRows, r.longest);
        t.add({"7034", c.what, d.Grid1.Rows() - 1, r.took, 0, "first rows < 0.5 s",
               std::string(note) + (r.failed.empty() ? "" : ", FAILED: " + r.failed)});
        d.Unload();
    }
    if (addU) Conn_Main->execute("delete from Ren_Dept_Info where Dept_No='u'");
}

void mealOrders(const Settings& s, Table& t) {
    const std::string sql =
        "select DC_Date,XF_Meal,XF_Type,count(*),sum(YuE_Change) from Record_XF where DC_Date>='2026-10-01' and "
        "DC_Date<='2026-10-31' and XF_Type in (15,16) group by DC_Date,XF_Meal,XF_Type union all "
        "select " + leftOf("Date_Time", 10) + ",XF_Meal,XF_Type,count(*),sum(YuE_Change) from Record_XF where XF_Type=48 and "
        "Date_Time>='2026-10-01' and Date_Time<'2026-10-31Z' group by " + leftOf("Date_Time", 10) + ",XF_Meal,XF_Type";
    DC_Cha_Sum w;
    w.Load();
    w.DTPicker1.setValue("2026-10-01");
    w.DTPicker2.setValue("2026-10-31");
    const double took = timedMedian(s.repeat, [&] { w.Command1_Click(); });
    std::string note;
    const double base = readBaseline(s.repeat, "7044", "meal-order summary", sql, {}, note);
    t.add({"7044", "meal-order summary, 31 days", w.Grid1.Rows() - 3, took, base, "<= 3", note});
    w.Unload();
}

void clearingList(const Settings& s, Table& t) {
    const std::string sql =
        "select Pinfo_id,sum(YuE_Change),sum(YuCi_Change),count(*) from Record_XF where Date_Time>='2026-11' and "
        "Date_Time<'2026-11Z' and XF_Type in (1,2,9,10,15,16,48) group by Pinfo_id union all "
        "select Pinfo_ID,sum(B_JinE),sum(B_Ci),count(*) from BuTie_OK where B_Year=2026 and B_Month=11 group by Pinfo_ID";
    BT_QingLing w;
    w.Load();
    w.Text1.setText("2026");
    w.Combo2.setListIndex(10);
    w.ucDep1.selectDepartment("0");
    const double took = timedMedian(s.repeat, [&] { w.cmd_List_Click(); });
    std::string note;
    const double base = readBaseline(s.repeat, "7031", "clearing list", sql, {}, note);
    t.add({"7031", "month-end clearing list, every employee, Nov.", w.Grid1.Rows() - 1, took, base, "<= 3", note});
    w.Unload();
}

template <class W>
void balances(const Settings& s, Table& t, const char* window, const char* what, const std::string& sql,
              const PlanCheck& check) {
    W w;
    w.Load();
    w.Query.DTPicker1.setValue("2026-11-15");
    w.Query.ucDep1.selectDepartment("0");
    const double took = timedMedian(s.repeat, [&] { w.Command1_Click(); });
    std::string note = timed().boxes.empty() ? "" : "box: " + timed().boxes.back();
    const double base = readBaseline(s.repeat, window, what, sql, check, note);
    t.add({window, what, w.Query.Grid1.Rows() - 2, took, base, "<= 3", note});
    w.Unload();
}

void cardLog(const Settings& s, Table& t) {
    // The log's rows of every employee in the window's order, with the names
    // the window shows beside them.
    const std::string sql =
        "select l.*,p.P_Name,p.P_Code,d.Dept_Name,k.C_Name,u.User_Name from Card_Log l join Ren_Per_Info p on "
        "p.Pinfo_ID=l.Pinfo_id join Ren_Dept_Info d on d.Dept_No=p.Dept_No left join Card_Type k on "
        "k.C_LeiBie=l.C_LeiBie and k.Del_YN=0 left join Sys_User_Info u on u.User_ID=l.Operator_ID and u.Del_YN=0 "
        "where l.Date_Time>='" + s.from + "' and l.Date_Time<='" + s.to + " 24:00:00' order by d.Dept_Name,p.P_Code,"
        "p.Pinfo_ID,l.Date_Time,l.ID";
    // A large site's card log: operations of every kind in the quarter, taken
    // out again after the run.
    const long have = number("select count(*) from Card_Log where Date_Time>='" + s.from + "' and Date_Time<'" +
                             endOf(s.to) + "'");
    const long people = number("select max(Pinfo_ID) from Ren_Per_Info");
    const long rows = s.quick ? kQuickCardLogRows : kCardLogRows;
    if (have < rows) {
        Conn_Main->beginTrans();
        Conn_Main->execute("with recursive n(i) as (select 1 union all select i+1 from n where i<" +
                           std::to_string(rows - have) +
                           ") insert into Card_Log(Pinfo_id,Card_No,Card_Number,Date_Time,Op_Type,C_LeiBie,Operator_ID,"
                           "FaKa_GBF,Card_YuE,Tui_GBF,ZY_JinE) select 1+i % " + std::to_string(people) +
                           ",'BENCH'||i,'N'||i,'2026-10-15 08:00:00',i % 8,1,1,1000,5000,500,2000 from n");
        Conn_Main->commitTrans();
        // A site's log of this size has its statistics; without them the
        // server plans for the few rows it saw last.
        if (onServer()) plain().run(std::vector<std::string>{"analyze Card_Log"}, false);
    }
    CardLog_Cha w;
    w.Load();
    w.DT1.setValue(s.from);
    w.DT2.setValue(s.to);
    w.ucDep1.selectDepartment("0");
    const double took = timedMedian(s.repeat, [&] { w.Command1_Click(); });
    std::string note;
    const double base = readBaseline(s.repeat, "7037", "card log", sql, {}, note);
    t.add({"7037", "card log, whole company, a quarter", w.Grid1.Rows() - 1, took, base, "<= 3", note});
    w.Unload();
    Conn_Main->execute("delete from Card_Log where Card_No like 'BENCH%'");
}

}  // namespace

void runDetail(const std::string& from, const std::string& to) {
    XF_Mingxi d;
    d.Load();
    choosePeriod(d, from, to);
    d.Command1_Click();
    d.Unload();
}

void benchReadWindows(const Settings& s, const Target& db, Table& t) {
    if (s.wants("7033")) employeeStatistics(s, t);
    if (s.wants("7034")) {
        transactionDetail(s, db, t);
        rareKindDetail(s, t);
        smallChoiceDetails(s, t);
    }
    if (s.wants("7044")) mealOrders(s, t);
    if (s.wants("7031")) clearingList(s, t);
    const std::string bound = endOf("2026-11-15");
    if (s.wants("7039"))
        balances<YuE_ID_Cha>(s, t, "7039", "ID balances at a date, every employee",
                             // Nearly every row counts: a walk of the person-and-date index
                             // would visit each row through the index, three times a scan's cost.
                             std::string("select Pinfo_id,sum(YuE_Change),max(Date_Time),sum(YuCi_New) from Record_XF") +
                                 (onServer() ? "" : " not indexed") + " where Date_Time<='" + bound +
                                 "' and Err_Code=0 group by Pinfo_id",
                             onServer() ? PlanCheck{{"Seq Scan on record_xf"}, {}}
                                        : PlanCheck{{"SCAN Record_XF"}, {"USING INDEX"}});
    if (s.wants("7036"))
        balances<YuE_HZ_Cha>(s, t, "7036", "IC balances at a date, every employee",
                             // The grid's answer: every employee with his department, name
                             // and code, and the date, times and balance of his last row.
                             "select d.Dept_Name,p.P_Code,p.P_Name,r.Date_Time,r.YuCi_New,r.YuE_New from "
                             "Ren_Per_Info p join Ren_Dept_Info d on p.Dept_No=d.Dept_No left join Record_XF r on "
                             "r.ID=(select r2.ID from Record_XF r2 where r2.Pinfo_id=p.Pinfo_ID and "
                             "r2.Card_LiuShui<>0 and r2.Err_Code=0 and r2.Date_Time<='" + bound +
                                 "' order by r2.Date_Time desc nulls last,r2.ID desc limit 1) "
                                 "order by d.Dept_Name,p.P_Code,p.Pinfo_ID",
                             onServer() ? PlanCheck{{"ix_record_xf_person_date"}, {}}
                                        : PlanCheck{{"IX_Record_XF_Person_Date"}, {}});
    if (s.wants("7037")) cardLog(s, t);
}

}  // namespace tolvenk::bench
