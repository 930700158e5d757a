// The baselines' own client: it reads through the engine's library without
// the module's functions, keeps each write's plan, and the settlement's
// set-based writes settle both serial chains of a card as the window does.
#include <gtest/gtest.h>

#include <stdexcept>

#include "bench/PlainClient.h"
#include "bench/WriteBaselines.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {

class PlainClientTest : public ::testing::TestWithParam<test::Engine> {
protected:
    void SetUp() override {
        if (GetParam() == test::Engine::Server)
            if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
        db_ = std::make_unique<test::BusinessDb>(GetParam());
    }
    bool server() const { return GetParam() == test::Engine::Server; }
    std::shared_ptr<db::Connection> module() const { return test::connect(db_->connectionString()); }
    std::int64_t number(const std::string& sql) const { return module()->openRecordset(sql)->field(0).toInt64(); }
    std::unique_ptr<test::BusinessDb> db_;
};

}  // namespace

TEST_P(PlainClientTest, ReadsEveryRowWithoutTheModulesFunctionsAndKeepsEachWritesPlan) {
    module()->execute("insert into Record_XF(Pinfo_id,YuE_Change,Date_Time) values (1,-500,'2026-10-01 08:00:00'),"
                      "(2,-300,'2026-10-01 09:00:00'),(2,-200,'2026-10-02 09:00:00')");
    bench::PlainClient plain(db_->connectionString());
    EXPECT_EQ(plain.read("select Pinfo_id,sum(YuE_Change) from Record_XF group by Pinfo_id"), 2);
    EXPECT_THROW(plain.read("select vb_left(Date_Time,7) from Record_XF"), std::runtime_error);

    plain.run(std::vector<std::string>{"update Record_XF set XF_Type=1 where Pinfo_id=2", "delete from Record_XF where Pinfo_id=1"});
    EXPECT_EQ(number("select count(*) from Record_XF where XF_Type=1"), 2);
    EXPECT_EQ(number("select count(*) from Record_XF"), 2);
    const std::string plans = plain.takePlans();
    EXPECT_NE(plans.find("update Record_XF"), std::string::npos);
    EXPECT_NE(plans.find("delete from Record_XF"), std::string::npos);
    EXPECT_TRUE(plain.takePlans().empty());

    std::string why;
    const std::string plan = plain.plan("select * from Record_XF where Date_Time>='2026-10-02'");
    EXPECT_TRUE(bench::planHas(plan, {server() ? "record_xf" : "Record_XF"}, {"no such step"}, why)) << why;
    EXPECT_FALSE(bench::planHas(plan, {"no such step"}, {}, why));
    EXPECT_NE(why.find("no such step"), std::string::npos);
}

// One card with both chains before the cut-off and a row after it: below each
// chain's top serial the rows go to the backup and away, the top row holds
// their sum as a settlement row, the first row and the later one stay.
TEST_P(PlainClientTest, TheSettlementsWritesSettleBothChainsOfACard) {
    module()->executeScript(
        "insert into Card_Log(Pinfo_id,Card_No,Date_Time,Op_Type) values (1,'A1','2026-08-01 08:00:00',0);"
        "insert into Sys_Para(Para_Name,P1,P2,P3) values ('JieSuan_Date','','1','');"
        "insert into Record_XF(Pinfo_id,Card_No,XF_Type,Card_LiuShui,Ci_LiuShui,YuE_Change,YuE_New,YuCi_Change,"
        "Date_Time,Err_Code) values "
        "(1,'A1',5,1,0,1000,1000,0,'2026-09-01 08:00:00',0),(1,'A1',1,2,0,-100,900,0,'2026-09-02 08:00:00',0),"
        "(1,'A1',1,3,0,-200,700,0,'2026-09-03 08:00:00',0),(1,'A1',1,4,0,-300,400,0,'2026-10-01 08:00:00',0),"
        "(1,'A1',1,5,0,-400,0,0,'2026-11-05 08:00:00',0),"
        "(1,'A1',7,0,1,0,0,10,'2026-09-01 09:00:00',0),(1,'A1',3,0,2,0,0,-1,'2026-09-05 09:00:00',0),"
        "(1,'A1',3,0,3,0,0,-1,'2026-10-05 09:00:00',0);");
    bench::PlainClient plain(db_->connectionString());
    plain.run(bench::inOneTransaction(server(), bench::settlementWrites(server(), "2026-11-01")));

    EXPECT_EQ(number("select count(*) from Record_XF where Card_LiuShui>0"), 3);  // 1, 4 settled, 5
    EXPECT_EQ(number("select YuE_Change from Record_XF where Card_LiuShui=4 and XF_Type=250"), -600);
    EXPECT_EQ(number("select YuE_New from Record_XF where Card_LiuShui=4"), 400);
    EXPECT_EQ(number("select count(*) from Record_XF where Card_LiuShui=5 and XF_Type=1"), 1);
    EXPECT_EQ(number("select count(*) from Record_XF where Ci_LiuShui>0"), 2);  // 1, 3 settled
    EXPECT_EQ(number("select YuCi_Change from Record_XF where Ci_LiuShui=3 and XF_Type=250"), -2);
    EXPECT_EQ(number("select count(*) from Record_BF_XF"), 5);
    EXPECT_EQ(number("select sum(YuE_Change) from Record_BF_XF"), -600);
    EXPECT_EQ(number("select count(*) from Sys_Para where Para_Name='JieSuan_Date' and P1='2026-11-01' and P2='1'"),
              1);
}

INSTANTIATE_TEST_SUITE_P(Engines, PlainClientTest, ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const ::testing::TestParamInfo<test::Engine>& info) { return test::engineName(info.param); });
