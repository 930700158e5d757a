// Times month-end clearing (listing and clearing), the granted-subsidy query
// and the subsidy statistics on a generated database grown to a few thousand
// employees, each with an ID card and three batches of October 2026.
// Usage: tolvenk-bench-subsidy [folder] [extra employees]   (prints the figures)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "data/Globals.h"
#include "demo_gen/DemoGenerator.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/services/ScriptedServices.h"
#include "subsidy/BT_Cha_FF.h"
#include "subsidy/BT_QingLing.h"
#include "subsidy/BT_Sum.h"

using namespace tolvenk;
using Clock = std::chrono::steady_clock;

namespace {

double timed(const std::function<void()>& run) {
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path folder =
        argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "tolvenk-bench-subsidy";
    const long extra = argc > 2 ? std::stol(argv[2]) : 2700;
    std::filesystem::create_directories(folder);
    demo::Options o;
    o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
    o.lastDay = "2026-11-30";
    o.businessPath = (folder / "SUBSIDY.mdb").string();
    strCN = db::Connection::fileConnectionString(o.businessPath);
    if (!std::filesystem::exists(o.businessPath)) {
        const auto start = Clock::now();
        demo::generate(o);
        db::Connection con;
        con.open(strCN);
        // An ID installation; the extra employees work in the assembly team.
        con.executeScript("update Sys_Para set P2='0' where Para_Name='Sys_Config';"
                          "update Card_Info set Card_Model=1, C_YuE_ID=50000, C_YuCi_ID=20;"
                          "with recursive n(i) as (select 1 union all select i+1 from n where i<" +
                          std::to_string(extra) +
                          ") insert into Ren_Per_Info(Dept_ID,Dept_No,P_Name,P_Code,Del_YN) "
                          "select (select Dept_ID from Ren_Dept_Info where Dept_No='020101'),'020101','员工'||i,"
                          "'X'||i,0 from n;"
                          "insert into Card_Info(Pinfo_id,Card_No,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,C_LeiBie) "
                          "select Pinfo_ID,'X'||Pinfo_ID,1,0,50000,20,1 from Ren_Per_Info where P_Code like 'X%';"
                          "insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,"
                          "B_SF,B_Unit) select Pinfo_ID,'2026-10-01 08:00:00',1,20000,0,2026,10,1,2,0 from Ren_Per_Info "
                          "where Del_YN=0 union all select Pinfo_ID,'2026-10-02 08:00:00',1,0,10,2026,10,2,2,3 from "
                          "Ren_Per_Info where Del_YN=0 union all select Pinfo_ID,'2026-10-03 08:00:00',2,5000,0,2026,10,"
                          "3,4,0 from Ren_Per_Info where Del_YN=0;");
        std::printf("generated the database in %.1f s\n", std::chrono::duration<double>(Clock::now() - start).count());
    }

    platform::setServices(std::make_shared<platform::ScriptedServices>());
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(strCN);
    DB_Type = "Access";
    Money_Sign = "￥";
    Op_User_Name = "bench";
    Load_Lan(0);

    {
        BT_Sum w;
        w.Load();
        w.Combo3.setText("2026");
        w.Combo4.setListIndex(9);
        for (int option = 0; option <= 2; ++option) {
            w.Option1(option).setValue(true);
            const double s = timed([&] { w.Command1_Click(); });
            std::printf("statistics, option %d: %d lines in %.3f s\n", option, w.Grid1.Rows() - BT_Sum::kHeadRows - 3,
                        s);
        }
        w.Unload();
    }
    {
        BT_Cha_FF w;
        w.Load();
        w.Combo3.setText("2026");
        w.Combo4.setListIndex(9);
        w.ucDep1.selectDepartment("02");
        const double s = timed([&] { w.Command1_Click(); });
        std::printf("granted-subsidy query, department 02: %d rows in %.3f s\n", w.Grid1.Rows() - 1, s);
        w.Unload();
    }
    {
        BT_QingLing w;
        w.Load();
        w.Text1.setText("2026");
        w.Combo2.setListIndex(9);
        w.ucDep1.selectDepartment("02");
        double s = timed([&] { w.cmd_List_Click(); });
        const int employees = w.Grid1.Rows() - 1;
        std::printf("clearing list, department 02: %d employees in %.3f s (%.2f ms each)\n", employees, s,
                    1000 * s / employees);
        w.CheckAll.setValue(forms::vbChecked);
        s = timed([&] { w.cmdQingLing_Click(); });
        std::printf("clearing and listing again: %.3f s; %s\n", s,
                    static_cast<platform::ScriptedServices&>(platform::services()).boxes.back().prompt.c_str());
        w.Unload();
    }
    Conn_Main.reset();
    platform::setServices(nullptr);
    return 0;
}
