// The granted-subsidy query without its window, on both engines.
#include <algorithm>

#include "data/BTService.h"
#include "data/GrantedSubsidyQuery.h"
#include "data/SubsidyBatch.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

// 食堂 (0101) holds 张三 (E1) and 李四 (E2), 车间 (0102) 王五 (E3) of an
// unknown position. The rows of July 2011: 张三 batch 1 money (taken) and
// batch 2 times, entered with the higher key first; 李四 batch 1 an ID
// deduction granted by an operator without a user row; 王五 batch 2 ID
// times with no operator; a clearing marker and a June row that never show.
class GrantedSubsidy : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (7,'管理员',0);
insert into Ren_Positions_Info(ID,Position_Name) values (1,'厨师'),(2,'经理');
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Del_YN) values
 (1,'01','总部','D0',0),(2,'0101','食堂','D1',0),(3,'0102','车间','D2',0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Position_ID,Del_YN) values
 (1,2,'0101','张三','E1',1,0),(2,2,'0101','李四','E2',2,0),(3,3,'0102','王五','E3',9,0);
insert into BuTie_OK(ID,Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_JinE_SJ,B_Ci,B_Ci_SY,B_Year,B_Month,B_Times,
  B_Get_DT,B_SF,B_Unit) values
 (9,1,'2011-07-02 08:00:00',7,0,0,10,3,2011,7,2,null,0,2),
 (4,1,'2011-07-01 08:00:00',7,1500,1480,0,0,2011,7,1,'2011-07-05 12:00:00',2,1),
 (5,2,'2011-07-01 09:00:00',99,-200,0,0,0,2011,7,1,null,2,0),
 (6,3,'2011-07-01 10:00:00',null,0,0,4,0,2011,7,2,null,-1,3),
 (7,1,'2011-07-31 10:00:00',7,-300,0,-2,0,2011,7,-1,null,0,-1),
 (8,1,'2011-06-01 10:00:00',7,900,900,0,0,2011,6,1,'2011-06-02 10:00:00',2,1);
)");
        bt.Set_strCN(cs);
    }
    std::vector<Granted_Subsidy::Row> rows(const std::string& batch = "", std::optional<std::int32_t> kind = {},
                                           const std::string& dept = "01",
                                           const Granted_Subsidy::Progress& progress = {}) {
        Granted_Subsidy::Query q;
        q.year = 2011;
        q.month = 7;
        q.batch = batch;
        q.kind = kind;
        q.deptNo = dept;
        return Granted_Subsidy::Rows(bt, q, progress);
    }
    // The rows' grant times, in the order given.
    static test::Texts granted(const std::vector<Granted_Subsidy::Row>& rows) {
        test::Texts out;
        for (const auto& r : rows) out.push_back(r.grantedAt);
        return out;
    }

    BTService bt;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(GrantedSubsidy);

// By employee code within a department, each employee's rows by key; the
// fields as stored.
TEST_P(GrantedSubsidy, ListsTheMonthsRowsByEmployeeAndKey) {
    const auto all = rows("", {}, "0101");
    EXPECT_EQ(granted(all), (test::Texts{"2011-07-01 08:00:00", "2011-07-02 08:00:00", "2011-07-01 09:00:00"}));
    const auto& taken = all[0];
    EXPECT_EQ((test::Texts{taken.pinfo, taken.name, taken.code, taken.dept, taken.deptCode, taken.times, taken.jinE,
                           taken.received, taken.ci, taken.ciAfter, taken.year, taken.takenAt}),
              (test::Texts{"1", "张三", "E1", "食堂", "D1", "1", "1500", "1480", "0", "0", "2011", "2011-07-05 12:00:00"}));
    EXPECT_TRUE(taken.taken);
    EXPECT_EQ(taken.month, 7);
    EXPECT_EQ(taken.position, "厨师");
    EXPECT_EQ(taken.operatorName, "管理员");
    EXPECT_FALSE(all[1].taken);  // handed out, not taken
    EXPECT_EQ(all[1].ci, "10");
    EXPECT_EQ(all[2].position, "经理");
    EXPECT_EQ(all[2].jinE, "-200");
    EXPECT_EQ(all[2].operatorName, std::nullopt);  // no user row

    // An unknown position and no operator; the department above takes both.
    const auto other = rows("", {}, "0102");
    ASSERT_EQ(granted(other), (test::Texts{"2011-07-01 10:00:00"}));
    EXPECT_EQ(other[0].position, std::nullopt);
    EXPECT_EQ(other[0].operatorName, std::nullopt);
    EXPECT_EQ(rows().size(), 4u);
}

// A kind narrows only when no batch is named; the ID money kind (0) is a kind
// like the others, not "every kind".
TEST_P(GrantedSubsidy, AKindNarrowsOnlyWithoutABatch) {
    EXPECT_EQ(granted(rows("", B_Unit_Code::IC_Money)), (test::Texts{"2011-07-01 08:00:00"}));
    EXPECT_EQ(granted(rows("", B_Unit_Code::ID_Money)), (test::Texts{"2011-07-01 09:00:00"}));
    auto second = granted(rows("2", B_Unit_Code::IC_Money));
    std::sort(second.begin(), second.end());  // two departments: their order is the engine's collation
    EXPECT_EQ(second, (test::Texts{"2011-07-01 10:00:00", "2011-07-02 08:00:00"}));
    EXPECT_EQ(granted(rows("1")), (test::Texts{"2011-07-01 08:00:00", "2011-07-01 09:00:00"}));
    EXPECT_TRUE(rows("3").empty());
}

// The progress sees each employee of the picker (张三, 李四); stopping after
// the first keeps what was found.
TEST_P(GrantedSubsidy, StopsWhenTheProgressSaysSo) {
    std::vector<std::int64_t> seen;
    const auto some = rows("", {}, "0101", [&](std::int64_t done, std::int64_t total) {
        seen.push_back(done * 10 + total);
        return false;
    });
    EXPECT_EQ(seen, (std::vector<std::int64_t>{12}));
    EXPECT_EQ(granted(some), (test::Texts{"2011-07-01 08:00:00", "2011-07-02 08:00:00"}));
}
