// The rows a set's collapses copy, move and drop, written in statements of
// some thousand rows across the three lists: each row where its list says,
// once, and none forgotten at a statement's edge.
#include "data/IcSettlement.h"
#include "platform/db/Transaction.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class WriteCollapses : public test::DbTest {};
TOLVENK_ON_BOTH_ENGINES(WriteCollapses);

}  // namespace

TEST_P(WriteCollapses, EachRowGoesWhereItsListSaysAcrossTheStatements) {
    con->execute("with recursive r(i) as (select 1 union all select i+1 from r where i<4500) insert into "
                 "Record_XF(Mach_ID,Pinfo_ID,Card_No,Date_Time) select 1,i,'C','2026-01-01 10:00:00' from r");
    const auto ids = [&](const std::string& where) {
        std::string list;
        for (const std::string& id : test::column(*con, "select ID from Record_XF where " + where + " order by ID"))
            list += (list.empty() ? "" : ",") + id;
        return list;
    };
    // Lists of 700, 2,100 and 1,500 rows: statements of 2,000 end inside
    // the second and the third (one list a statement would take four); 200
    // rows are in none.
    IC_Settlement::Collapse_Writes w;
    w.copy = ids("Pinfo_ID <= 700");
    w.moved = ids("Pinfo_ID between 701 and 2800");
    w.gone = ids("Pinfo_ID between 2801 and 4300");
    int statements = 0;
    db::Transaction t(*con);
    IC_Settlement::Write_Collapses(*con, w, [&] { ++statements; });
    t.commit();
    EXPECT_EQ(statements, 3);
    EXPECT_EQ(test::row(*con, "select count(*),min(Pinfo_ID),max(Pinfo_ID),count(distinct Pinfo_ID) from Record_BF_XF"),
              (test::Texts{"2800", "1", "2800", "2800"}));
    EXPECT_EQ(test::row(*con, "select count(*),sum(case when Pinfo_ID <= 700 or Pinfo_ID > 4300 then 1 else 0 end) "
                              "from Record_XF"),
              (test::Texts{"900", "900"}));
}
