// Measures the reports and the transaction detail on a generated database of
// a site's size, fairly: everything warm, the report alternating with the one
// hand-written statement that computes the same figures, median of five.
// Usage: tolvenk-bench-summary [--transactions N] [--folder F] [--server "<server text>"] [--skip-detail]
//                              [--skip-reports] [--repeat N]
// --repeat sets how many timed runs each median takes (5 unless told).
// Prints one table for the reports (headless, in a shown window, the
// statement, and the ratios) and one for the transaction detail and its exports.
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "data/Globals.h"
#include "demo_gen/DemoGenerator.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/grid/GridExport.h"
#include "platform/services/QtServices.h"
#include "reports/statistics/XF_Mingxi.h"
#include "reports/summary/HzItems.h"
#include "reports/summary/XF_Cha_HZ.h"

using namespace tolvenk;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double statusMb(const std::string& key) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1)) / 1024.0;
    return -1;
}
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The Qt services, with the time of every yield noted.
class TimedServices : public platform::Services {
public:
    explicit TimedServices(platform::Services& qt) : qt_(qt) {}
    std::vector<Clock::time_point> yields;
    std::vector<std::string> boxes;  // every box's text, so a failed run shows beside its figures
    int msgBox(const std::string& p, int s, const std::string& t) override {
        std::fprintf(stderr, "box: %s %s\n", t.c_str(), p.c_str());
        boxes.push_back(p);
        return platform::vbOK + 0 * s;
    }
    std::string inputBox(const std::string&, const std::string&, const std::string& d) override { return d; }
    std::string openFileName(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&, const std::string&) override { return {}; }
    void printPreview(const platform::PrintDocument&, int) override {}
    platform::ScreenSize screenSize() override { return qt_.screenSize(); }
    std::string clockText() override { return "2026-11-30 18:00:00"; }
    // Whether the window shows rows at a yield; the first yield at which it
    // does is when rows can first be painted.
    std::function<bool()> showsRows;
    std::optional<Clock::time_point> firstShown;
    void yield() override {
        yields.push_back(Clock::now());
        if (!firstShown && showsRows && showsRows()) firstShown = yields.back();
        qt_.yield();
    }
    bool yieldDue() override { return qt_.yieldDue(); }
    void beep() override {}

private:
    platform::Services& qt_;
};

struct Report {
    std::string name;
    int row;  // in the window's list
};

// The one statement that gives a report's figures: its kinds grouped by
// period, its grouping keys and kind (and meal where it shows meals), with
// the card-log fees beside them when it shows fees.
std::string handWritten(const HzReportState& st, const std::string& from, const std::string& to) {
    const bool months = st.Rep_P2.substr(0, 1) == "2";
    const std::string p = months ? "substr(Date_Time,1,7)" : "substr(Date_Time,1,10)";
    const auto key = [](const std::string& code, bool fees) -> std::string {
        const int d = std::atoi(code.c_str());
        if (d == 6) return "Ren_Per_Info.Dept_No";
        const char* cols[] = {"", "XF_Dian_ID", "Mach_ID", "Shou_Kuan", "XF_Unit", "C_LeiBie", "", "Operator_id"};
        if (d >= 1 && d <= 7) return (fees ? "Card_Log." : "Record_XF.") + std::string(cols[d]);
        return "";
    };
    std::string keys, feeKeys;
    bool people = false;
    for (const std::string& code : {st.Rep_P2.substr(1, 2), st.Rep_P2.substr(3, 2)}) {
        if (!key(code, false).empty()) keys += "," + key(code, false), feeKeys += "," + key(code, true);
        people = people || std::atoi(code.c_str()) == 6;
    }
    std::set<int> kinds;
    bool meals = false, fees = false;
    for (const hz::ItemDef& d : hz::items()) {
        if (st.Col(d.gate, hz::Money) <= 0) continue;
        kinds.insert(d.moneyKinds.begin(), d.moneyKinds.end());
        kinds.insert(d.timesKinds.begin(), d.timesKinds.end());
        meals = meals || d.meal != 0;
        fees = fees || d.source == hz::Source::Card_Log;
    }
    std::string in;
    for (int k : kinds) in += (in.empty() ? "" : ",") + std::to_string(k);
    const std::string range = "Date_Time>='" + from + " 00:00:00' and Date_Time<='" + to + " 23:59:59'";
    std::string sql = "select " + p + keys + ",XF_Type," + (meals ? "XF_Meal," : "") +
                      "sum(YuE_Change),count(YuE_Change),sum(YuCi_Change),count(YuCi_Change) from Record_XF" +
                      (people ? " left join Ren_Per_Info on Record_XF.Pinfo_id=Ren_Per_Info.Pinfo_id" : "") +
                      " where " + range + (in.empty() ? "" : " and XF_Type in (" + in + ")") + " group by " + p +
                      keys + ",XF_Type" + (meals ? ",XF_Meal" : "");
    if (fees && feeKeys.find("Card_Log.Mach") == std::string::npos)
        sql += " union all select " + p + feeKeys + ",Op_Type," + (meals ? "null," : "") +
               "sum(FaKa_GBF),count(*),sum(Huan_GBF),sum(Tui_GBF) from Card_Log inner join Card_Type on "
               "Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie" +
               (people ? " left join Ren_Per_Info on Card_Log.Pinfo_id=Ren_Per_Info.Pinfo_id" : "") + " where " +
               range + " and Op_Type in (0,3,4) group by " + p + feeKeys + ",Op_Type";
    return sql;
}

// Runs the report on the window, shown in its own event loop or not.
double runReport(XF_Cha_HZ& w, const Report& r, const std::string& from, const std::string& to, bool shown) {
    double took = 0;
    const auto run = [&] {
        w.List1.setListIndex(r.row);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        const auto start = Clock::now();
        w.Command1_Click();
        took = seconds(start);
    };
    if (!shown) {
        run();
        return took;
    }
    QTimer::singleShot(0, [&] {
        // An error leaving the click would otherwise leave the window open
        // and the benchmark waiting on it.
        try {
            run();
        } catch (const std::exception& e) {
            std::printf("  the shown run failed: %s\n", e.what());
        }
        w.Hide();
    });
    w.Show();
    return took;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    long transactions = 1000000;
    std::string folder = (fs::temp_directory_path() / "tolvenk-bench").string(), server;
    bool detail = true, summaries = true;
    int repeat = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--transactions" && i + 1 < argc) transactions = std::stol(argv[++i]);
        else if (a == "--folder" && i + 1 < argc) folder = argv[++i];
        else if (a == "--server" && i + 1 < argc) server = argv[++i];
        else if (a == "--skip-detail") detail = false;
        else if (a == "--skip-reports") summaries = false;
        else if (a == "--repeat" && i + 1 < argc) repeat = std::max(1, std::atoi(argv[++i]));
    }
    demo::Options o;
    o.transactions = transactions;
    o.firstDay = "2026-09-01";
    o.lastDay = "2026-11-30";
    bool missing;
    fs::create_directories(folder);  // the detail's exports go there on either engine
    if (!server.empty()) {
        o.server = strCN = server;
        db::Connection probe;
        try {
            probe.open(strCN);
            missing = probe.openRecordset("select count(*) from information_schema.tables where table_name='record_xf'")
                          ->field(0)
                          .toInt64() == 0;
        } catch (const std::exception&) {
            missing = true;
        }
    } else {
        o.businessPath = (fs::path(folder) / ("BENCH-" + std::to_string(transactions) + ".mdb")).string();
        strCN = db::Connection::fileConnectionString(o.businessPath);
        missing = !fs::exists(o.businessPath);
    }
    if (missing) {
        const auto start = Clock::now();
        demo::generate(o);
        std::printf("generated %ld transactions in %.1f s\n", transactions, seconds(start));
    }

    platform::QtServices qt;
    auto timed = std::make_shared<TimedServices>(qt);
    platform::setServices(timed);
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(strCN);
    DB_Type = server.empty() ? "Access" : "SQL";
    Money_Sign = "\xEF\xBF\xA5";
    Load_Lan(0);
    // Two defined reports with two groupings each.
    Conn_Main->execute("delete from Sys_Para where Para_Name='HZ_Rep_Format' and SubParaName in ('101','102')");
    Conn_Main->execute(
        "insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5) values "
        "('HZ_Rep_Format','101','部门卡类日报','10605','1111','11111111','111111'),"
        "('HZ_Rep_Format','102','机器日期日报','10208','1111','11110110','111111')");

    XF_Cha_HZ w;
    w.Load();
    w.Form_Activate();
    const std::vector<Report> reports = {
        {"1 daily cash", 0},     {"2 monthly cash", 1},  {"3 range cash", 2},
        {"4 daily ledger", 4},   {"5 monthly ledger", 5}, {"6 range ledger", 6},
        {"7 daily meals", 8},    {"8 monthly meals", 9},  {"9 range meals", 10},
        {"dept x card kind", 12}, {"terminal x date", 13},
    };
    struct Period {
        const char* name;
        const char* from;
        const char* to;
    };
    const Period periods[] = {{"1 month", "2026-10-01", "2026-10-31"}, {"3 months", "2026-09-01", "2026-11-30"}};
    if (summaries)
        std::printf("\n%-18s %-9s %9s %9s %9s %8s %8s %6s\n", "report", "period", "headless", "shown", "statement",
                    "h/stmt", "shown/h", "rows");
    for (const Report& r : summaries ? reports : std::vector<Report>{})
        for (const Period& p : periods) {
            timed->boxes.clear();
            runReport(w, r, p.from, p.to, false);  // warm: the pages the report reads are in the cache
            const std::string sql = handWritten(w.St, p.from, p.to);
            Conn_Main->openRecordset(sql);
            std::vector<double> headless, shown, statement;
            for (int i = 0; i < repeat; ++i) {
                headless.push_back(runReport(w, r, p.from, p.to, false));
                const auto start = Clock::now();
                Conn_Main->openRecordset(sql);
                statement.push_back(seconds(start));
                shown.push_back(runReport(w, r, p.from, p.to, true));
            }
            const double h = median(headless), s = median(shown), q = median(statement);
            std::printf("%-18s %-9s %9.3f %9.3f %9.3f %8.2f %8.2f %6d\n", r.name.c_str(), p.name, h, s, q,
                        q > 0 ? h / q : 0, h > 0 ? s / h : 0, w.Grid1.Rows());
            if (!timed->boxes.empty())
                std::printf("  %zu boxes in %d runs, the first: %s\n", timed->boxes.size(), 2 * repeat + 1,
                            timed->boxes.front().c_str());
        }
    w.Unload();

    if (detail) {
        // The transaction detail of every department over the whole range, shown.
        // The picker chooses one department and its subtree, and the generated
        // departments have several tops ("01".."04"): a company root "0" above
        // them, present only while the detail runs, makes one choice take in
        // every department. A database that has its own "0" keeps it.
        const bool addRoot =
            Conn_Main->openRecordset("select count(*) from Ren_Dept_Info where Dept_No='0'")->field(0).toInt64() == 0;
        if (addRoot)
            Conn_Main->execute(
                "insert into Ren_Dept_Info(Dept_No,Dept_Name,Dept_Level,Del_YN) values ('0','全公司',-1,0)");
        XF_Mingxi d;
        const double before = statusMb("VmRSS");
        resetPeak();
        Clock::time_point start, end;
        std::string failed;
        QTimer::singleShot(0, [&] {
            d.ucDep1.selectDepartment("0");
            d.DTPicker1(0).setValue("2026-09-01");
            d.DTPicker1(1).setValue("2026-09-01 00:00:00");
            d.DTPicker2(0).setValue("2026-11-30");
            d.DTPicker2(1).setValue("2026-11-30 23:59:59");
            timed->yields.clear();
            timed->firstShown.reset();
            // Rows reach the screen only while the grid draws (its updates on).
            timed->showsRows = [&d] { return d.Grid1.view()->model()->rowCount() > 1; };
            start = Clock::now();
            try {
                d.Command1_Click();
            } catch (const std::exception& e) {
                failed = e.what();
            }
            end = Clock::now();
            d.Hide();
        });
        d.Show();
        timed->showsRows = nullptr;
        const double firstYield =
            timed->yields.empty() ? 0 : std::chrono::duration<double>(timed->yields.front() - start).count();
        // Rows never shown at a yield appear when the run completes.
        const double firstRows = std::chrono::duration<double>(timed->firstShown.value_or(end) - start).count();
        double longest = 0;
        Clock::time_point last = start;
        for (const auto& y : timed->yields) longest = std::max(longest, std::chrono::duration<double>(y - last).count()), last = y;
        longest = std::max(longest, std::chrono::duration<double>(end - last).count());
        const double peak = statusMb("VmHWM");
        std::printf("\ntransaction detail, all departments, 3 months: %d grid rows, the total row included\n",
                    d.Grid1.Rows() - 1);
        if (!failed.empty()) std::printf("  FAILED: %s\n", failed.c_str());
        std::printf("  first yield %.3f s, first rows on screen %.3f s%s, complete %.3f s, longest without a yield %.3f s\n",
                    firstYield, firstRows, timed->firstShown ? "" : " (not drawn before it completes)",
                    std::chrono::duration<double>(end - start).count(), longest);
        std::printf("  memory before %.0f MB, peak %.0f MB\n", before, peak);
        const std::string out = (fs::path(folder) / "detail").string();
        struct Export {
            const char* name;
            bool (*write)(const grid::GridModel&, const std::string&, const grid::ExportOptions&, std::string*);
            const char* ext;
        };
        const std::vector<Export> exports = {Export{"xlsx", grid::exportXlsx, ".xlsx"},
                                             Export{"html", grid::exportHtml, ".html"},
                                             Export{"xml", grid::exportXml, ".xml"}};
        // A failed run leaves nothing worth exporting.
        for (const Export& e : failed.empty() ? exports : std::vector<Export>{}) {
            const double base = statusMb("VmRSS");
            resetPeak();
            const auto t = Clock::now();
            const bool ok = e.write(d.Grid1.model(), out + e.ext, {}, nullptr);
            const double peak = statusMb("VmHWM");
            std::printf("  export %-4s %s %.2f s, peak %.0f MB, adds %.0f MB to the peak\n", e.name,
                        ok ? "ok" : "FAILED", seconds(t), peak, peak - base);
            fs::remove(out + e.ext);
        }
        d.Unload();
        if (addRoot) Conn_Main->execute("delete from Ren_Dept_Info where Dept_No='0'");
        std::printf("  memory after closing %.0f MB\n", statusMb("VmRSS"));
    }
    Conn_Main.reset();
    platform::setServices(nullptr);
    return 0;
}
