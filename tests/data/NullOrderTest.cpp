// Empty values sort as the file engine sorts them, on both engines: NULL is
// the smallest value, first ascending and last descending.
#include "data/BTService.h"
#include "data/LookupStore.h"
#include "support/XfFixture.h"

using namespace tolvenk;

namespace {
class NullOrder : public test::XfFixture {};
}  // namespace

TOLVENK_ON_BOTH_ENGINES(NullOrder);

TEST_P(NullOrder, NullIsTheSmallestValueInEverySort) {
    con->executeScript(R"(
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (6,2,'0101','无工号',NULL,0),(7,2,'0101','同名','E0',1),(8,2,'0101','同名','E8',NULL),(9,2,'0101','同名','E9',0);
insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN,New_Date) values
 (31,'A',301,0,'2025-01-01'),(32,'B',301,0,NULL),(33,'C',301,0,'2024-06-01'),(34,'D',301,1,NULL);
)");
    // The employee statistics list: by department name (出纳 < 总部 < 财务 in
    // byte order), then code, an employee without a code first in his department.
    BTService bt;
    bt.Set_strCN(cs);
    EXPECT_EQ(ids(bt.Get_Emp_Check("01", "", "", "")), (V{"3", "4", "6", "7", "1", "8", "9"}));
    // Descending: a person whose state is empty comes after the left (1) and the present (0).
    EXPECT_EQ(ids(svc.Get_Emp_Check("同名", "", "")), (V{"7", "9", "8"}));

    // top 1: the live terminal without a date is the first one.
    EXPECT_EQ(ids(bt.Cha_Time()), (V{"32"}));
    EXPECT_TRUE(Lookup_Store::First_Terminal_Date(*con)->field(0).isNull());

    // Sub-selects with top N, both directions, and a key after an expression.
    const auto machs = [&](const std::string& sql) {
        std::string out;
        for (auto rs = con->openRecordset(sql); !rs->eof(); rs->moveNext()) out += rs->field(0).toString() + ",";
        return out;
    };
    EXPECT_EQ(machs("select Mach_ID from Mach_Info where Mach_ID in (select top 2 Mach_ID from Mach_Info where "
                    "Mach_ID>30 order by New_Date, Mach_ID) order by Mach_ID"),
              "32,34,");
    EXPECT_EQ(machs("select Mach_ID from Mach_Info where Mach_ID in (select top 1 Mach_ID from Mach_Info where "
                    "Mach_ID>30 order by New_Date desc) order by Mach_ID"),
              "31,");
    EXPECT_EQ(machs("select top 3 Mach_ID from Mach_Info where Mach_ID>30 order by Del_YN*0, New_Date DESC, Mach_ID"),
              "31,33,32,");
}
