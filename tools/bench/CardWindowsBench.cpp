// Times the card-management log over the whole company and a whole period,
// and the personal card history of an employee, on a generated database whose
// card log is grown to [log rows] operations (default 100000). The log is also
// walked as one record-set filter per employee, for comparison.
// Usage: tolvenk-bench-cards [folder] [transactions] [log rows]   (prints the figures)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cards/CardLog_Cha.h"
#include "cards/Card_GeRen_CX.h"
#include "data/Globals.h"
#include "demo_gen/DemoGenerator.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/services/ScriptedServices.h"

using namespace tolvenk;
using Clock = std::chrono::steady_clock;

namespace {
double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }
}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path folder =
        argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "tolvenk-bench-cards";
    demo::Options o;
    o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
    o.lastDay = "2026-11-30";
    o.transactions = argc > 2 ? std::stol(argv[2]) : 1000000;
    std::filesystem::create_directories(folder);
    o.businessPath = (folder / "CARDS.mdb").string();
    strCN = db::Connection::fileConnectionString(o.businessPath);
    if (!std::filesystem::exists(o.businessPath)) {
        const auto start = Clock::now();
        const demo::Summary s = demo::generate(o);
        std::printf("generated %ld transactions, %ld employees, %ld card-log rows in %.1f s\n", s.transactions,
                    s.employees, s.cardLogRows, seconds(start));
    }
    platform::setServices(std::make_shared<platform::ScriptedServices>());
    Conn_Main = std::make_shared<db::Connection>();
    Conn_Main->open(strCN);
    // A department above every other one, and a card log of the size asked for.
    const long logRows = argc > 3 ? std::stol(argv[3]) : 100000;
    if (Conn_Main->openRecordset("select count(*) from Ren_Dept_Info where Dept_No='0'")->field(0).toInt64() == 0)
        Conn_Main->execute("insert into Ren_Dept_Info(Dept_No,Dept_Name,Dept_Level,Del_YN) values('0','全公司',0,0)");
    const long have = static_cast<long>(Conn_Main->openRecordset("select count(*) from Card_Log")->field(0).toInt64());
    if (have < logRows) {
        const std::string people = Conn_Main->openRecordset("select max(Pinfo_ID) from Ren_Per_Info")->field(0).toString();
        Conn_Main->beginTrans();
        Conn_Main->execute(
            "with recursive n(i) as (select 1 union all select i+1 from n where i<" + std::to_string(logRows - have) +
            ") insert into Card_Log(Pinfo_id,Card_No,Card_Number,Date_Time,Op_Type,C_LeiBie,Operator_ID,FaKa_GBF,"
            "Card_YuE,Tui_GBF,ZY_JinE) select 1+i % " + people + ",'X'||i,'N'||i,'" + o.firstDay +
            " 08:00:00',i % 8,1,1,1000,5000,500,2000 from n");
        Conn_Main->commitTrans();
    }
    DB_Type = "Access";
    Load_Lan(0);

    {
        CardLog_Cha w;
        w.Load();
        w.DT1.setValue(o.firstDay);
        w.DT2.setValue(o.lastDay);
        w.ucDep1.selectDepartment("0");
        const auto start = Clock::now();
        w.Command1_Click();
        std::printf("card-management log, whole company, whole period: %.3f s, %d rows of %ld employees\n",
                    seconds(start), w.Grid1.Rows() - 1, static_cast<long>(w.Emp_List.rowUBound()));
        const auto filtered = Clock::now();
        long rows = 0;
        for (int e = 1; e <= w.Emp_List.rowUBound(); ++e) {
            w.Rs_Log->setFilter("Pinfo_id=" + w.Emp_List(e, 0));
            for (; !w.Rs_Log->eof(); w.Rs_Log->moveNext()) ++rows;
        }
        std::printf("  the same rows picked by one filter per employee: %.3f s, %ld rows\n", seconds(filtered), rows);
    }
    {
        Card_GeRen_CX w;
        w.Load();
        const std::string code = Conn_Main->openRecordset(
            "select P_Code from Ren_Per_Info where Pinfo_ID=(select Pinfo_id from Record_XF group by Pinfo_id "
            "order by count(*) desc limit 1)")->field(0).toString();
        w.Text1.setText(code);
        const auto start = Clock::now();
        w.Command2_Click();
        std::printf("personal card history, busiest employee %s: %.3f s, %d lines\n", code.c_str(), seconds(start),
                    w.Grid1.Rows() - 3);
    }
    Conn_Main.reset();
    platform::setServices(nullptr);
    return 0;
}
