// Times the ID grant, the subsidy-terminal save, the IC grant and the
// terminal query on a generated database of a few thousand employees, each
// with a usable ID card.
// Usage: tolvenk-bench-grant [folder] [employees]   (prints the figures)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/Globals.h"
#include "demo_gen/DemoGenerator.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/services/ScriptedServices.h"
#include "subsidy/BT_Cha_DY.h"
#include "subsidy/BT_DuiYing.h"
#include "subsidy/BT_ID_FF.h"
#include "subsidy/BT_ZhunBei_FF.h"

using namespace tolvenk;
using Clock = std::chrono::steady_clock;

namespace {

double timed(const std::function<void()>& run) {
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

const std::string& lastBox() {
    return static_cast<platform::ScriptedServices&>(platform::services()).boxes.back().prompt;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path folder =
        argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "tolvenk-bench-grant";
    std::filesystem::remove_all(folder);  // every run grants a fresh batch
    std::filesystem::create_directories(folder);
    demo::Options o;
    o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
    o.lastDay = "2026-11-30";
    o.businessPath = (folder / "GRANT.mdb").string();
    o.employees = argc > 2 ? std::stoi(argv[2]) : 3000;
    o.transactions = 20000;
    strCN = db::Connection::fileConnectionString(o.businessPath);
    demo::generate(o);
    {
        db::Connection con;
        con.open(strCN);
        // An ID installation, one money subsidy terminal, a prepared ID batch
        // and a prepared IC batch for every live employee.
        con.executeScript("update Sys_Para set P2='0' where Para_Name='Sys_Config';"
                          "update Card_Info set Card_Model=1, C_GuaShi=0, C_YuE_ID=5000;"
                          "insert into Mach_Info(Mach_Name,Mach_No,Mach_XF_Type,Card_BuTie,XF_Dian_ID,Del_YN) "
                          "select 'bench subsidy','B1',27,0,min(XF_Dian_ID),0 from XF_Dian_Info;"
                          "insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,"
                          "B_Type,B_SF,B_Unit) select Pinfo_ID,'2026-12-01 08:00:00',1,500,0,2026,12,1,0,-1,0 from "
                          "Ren_Per_Info where Del_YN=0 union all select Pinfo_ID,'2026-12-01 08:00:00',1,500,0,2026,12,"
                          "2,0,-1,1 from Ren_Per_Info where Del_YN=0;");
    }

    platform::setServices(std::make_shared<platform::ScriptedServices>());
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(strCN);
    DB_Type = "Access";
    Money_Sign = "￥";
    Op_User_Name = "bench";
    Op_User_ID = 1;
    Load_Lan(0);
    std::string root;
    for (auto rs = Conn_Main->openRecordset("select Dept_No from Ren_Dept_Info where Del_YN=0 order by Dept_No");
         !rs->eof(); rs->moveNext())
        if (root.empty()) root = rs->field(0).toString();

    {
        BT_ID_FF w;
        w.Load();
        w.Combo2.setText("1");
        const double s = timed([&] { w.Command1_Click(); });
        std::printf("ID grant: %s in %.2f s (%.2f ms per employee)\n", lastBox().c_str(), s,
                    1000 * s / (w.Credited + w.Without_Card + w.Failed));
    }
    {
        BT_DuiYing w;
        w.Load();
        w.ucSP1.selectDepartment(root);
        w.ucSP1.tickAll(true);
        std::vector<std::int32_t> ids;
        const int ticked = w.ucSP1.Get_Sel_IDs(ids);
        w.Combo_BT.setListIndex(0);
        const double s = timed([&] { w.Command1_Click(); });
        std::printf("terminal save, department %s: %d employees in %.3f s; %s\n", root.c_str(), ticked, s,
                    lastBox().c_str());
        w.Unload();
    }
    {
        BT_ZhunBei_FF w;
        w.Load();
        w.Batch.Combo2.setText("2");
        const double s = timed([&] { w.Command1_Click(); });
        std::printf("IC grant: %s in %.2f s\n", lastBox().c_str(), s);
        w.Unload();
    }
    {
        BT_Cha_DY w;
        w.Load();
        w.ucDep1.selectDepartment(root);
        const double s = timed([&] { w.Command1_Click(); });
        std::printf("terminal query, department %s: %d rows in %.3f s\n", root.c_str(), w.Grid_Info.Rows() - 1, s);
        w.Unload();
    }
    Conn_Main.reset();
    platform::setServices(nullptr);
    return 0;
}
