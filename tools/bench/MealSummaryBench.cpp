// Times the meal-order summary (ten statements per day) on a generated
// database, with a day's orders, cancellations and returns added per meal.
// Usage: tolvenk-bench-meals [folder] [transactions]   (prints the figures)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "data/Globals.h"
#include "demo_gen/DemoGenerator.h"
#include "lang/Language.h"
#include "meals/DC_Cha_Sum.h"
#include "platform/db/Connection.h"
#include "platform/services/ScriptedServices.h"

using namespace tolvenk;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path folder =
        argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "tolvenk-bench-meals";
    demo::Options o;
    o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
    o.lastDay = "2026-11-30";
    o.transactions = argc > 2 ? std::stol(argv[2]) : 1000000;
    std::filesystem::create_directories(folder);
    o.businessPath = (folder / "MEALS.mdb").string();
    strCN = db::Connection::fileConnectionString(o.businessPath);
    if (!std::filesystem::exists(o.businessPath)) {
        const auto start = Clock::now();
        demo::generate(o);
        db::Connection con;
        con.open(strCN);
        // Every day of October: 20 orders, 2 cancellations and 15 returns per meal.
        con.execute(R"(
with recursive d(n) as (select 0 union all select n+1 from d where n<30),
 m(k) as (select 1 union all select k+1 from m where k<5),
 i(j) as (select 1 union all select j+1 from i where j<20)
insert into Record_XF(Pinfo_id,C_LeiBie,XF_Type,XF_Meal,YuE_Change,Date_Time,DC_Date,Err_Code)
select j, 1, case when j<=2 then 16 else 15 end, k, case when j<=2 then 500 else -500 end,
       date('2026-10-01', '+'||n||' day')||' 08:00:00', date('2026-10-01', '+'||n||' day'), 0 from d, m, i
union all
select j, 1, 48, k, 500, date('2026-10-01', '+'||n||' day')||' 12:00:00', '', 0 from d, m, i where j<=15)");
        std::printf("generated %ld transactions and the meal orders in %.1f s\n", o.transactions,
                    std::chrono::duration<double>(Clock::now() - start).count());
    }

    platform::setServices(std::make_shared<platform::ScriptedServices>());
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(strCN);
    DB_Type = "Access";
    Load_Lan(0);
    DC_Cha_Sum w;
    w.Load();
    for (const char* to : {"2026-10-01", "2026-10-07", "2026-10-31"}) {
        w.DTPicker1.setValue("2026-10-01");
        w.DTPicker2.setValue(to);
        const auto start = Clock::now();
        w.Command1_Click();
        const double s = std::chrono::duration<double>(Clock::now() - start).count();
        const int days = w.Grid1.Rows() - 3;
        std::printf("2026-10-01 to %s: %d days in %.3f s, %.1f ms per statement; total lunch orders %s\n", to, days, s,
                    1000 * s / (10.0 * days), w.Grid1.Cell(w.Grid1.Rows() - 1, 11).Text().c_str());
    }
    w.Unload();
    Conn_Main.reset();
    platform::setServices(nullptr);
    return 0;
}
