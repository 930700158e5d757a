// The summary reports (7032): every built-in and two defined ones, over one
// month and the quarter, headless and in a shown window, each alternating
// with the one hand-written statement that computes the same figures.
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "bench/BenchKit.h"
#include "data/Globals.h"
#include "platform/db/Connection.h"
#include "reports/summary/HzItems.h"
#include "reports/summary/XF_Cha_HZ.h"

namespace tolvenk::bench {

namespace {

struct Report {
    std::string name;
    int row;  // in the window's list
};

// The one statement that gives a report's figures: its kinds grouped by
// period, its grouping keys and kind (and meal where it shows meals), with
// the card-log fees beside them when it shows fees.
std::string handWritten(const HzReportState& st, const std::string& from, const std::string& to) {
    const bool months = st.Rep_P2.substr(0, 1) == "2";
    // The fastest form of each key either engine has: the period as the
    // server keeps statistics of it, codes as plain text.
    const std::string p = leftOf("Date_Time", months ? 7 : 10);
    const auto key = [](const std::string& code, bool fees) -> std::string {
        const int d = std::atoi(code.c_str());
        if (d == 6) return "CAST(Ren_Per_Info.Dept_No AS text)";
        if (d == 3) return std::string("CAST(") + (fees ? "Card_Log." : "Record_XF.") + "Shou_Kuan AS text)";
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

void benchReports(const Settings& s, Table& t) {
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
        {"1 daily cash", 0},      {"2 monthly cash", 1},   {"3 range cash", 2},   {"4 daily ledger", 4},
        {"5 monthly ledger", 5},  {"6 range ledger", 6},   {"7 daily meals", 8},  {"8 monthly meals", 9},
        {"9 range meals", 10},    {"dept x card kind", 12}, {"terminal x date", 13},
    };
    struct Period {
        const char* name;
        std::string from, to;
    };
    std::vector<Period> periods = {{"1 month", "2026-10-01", "2026-10-31"}, {"3 months", s.from, s.to}};
    if (s.quick) periods.pop_back();
    for (const Report& r : reports)
        for (const Period& p : periods) {
            timed().startWatch();
            runReport(w, r, p.from, p.to, false);  // the statement below is the report's
            const std::string sql = handWritten(w.St, p.from, p.to);
            std::string note;
            keepPlan("7032", r.name + ", " + p.name, "  " + sql + "\n" + plain().plan(sql), {}, note);
            // Warm: the pages both read are in the cache; a median of three drops a cold run itself.
            if (s.repeat < 3) plain().read(sql);
            std::vector<double> headless, shown, statement;
            for (int i = 0; i < s.repeat; ++i) {
                headless.push_back(runReport(w, r, p.from, p.to, false));
                const auto start = Clock::now();
                plain().read(sql);
                statement.push_back(seconds(start));
                shown.push_back(runReport(w, r, p.from, p.to, true));
            }
            const double h = median(headless), sh = median(shown), q = median(statement);
            if (!timed().boxes.empty())
                note += std::string(note.empty() ? "" : ", ") + std::to_string(timed().boxes.size()) +
                        " boxes, the first: " + timed().boxes.front();
            t.add({"7032", r.name + ", " + p.name + ", headless", w.Grid1.Rows(), h, q, "<= 1.5", note});
            char ratio[64];
            std::snprintf(ratio, sizeof ratio, "shown/headless %.2f (goal <= 1.3)", h > 0 ? sh / h : 0);
            t.add({"7032", r.name + ", " + p.name + ", shown", w.Grid1.Rows(), sh, q, "", ratio});
        }
    w.Unload();
    Conn_Main->execute("delete from Sys_Para where Para_Name='HZ_Rep_Format' and SubParaName in ('101','102')");
}

}  // namespace tolvenk::bench
