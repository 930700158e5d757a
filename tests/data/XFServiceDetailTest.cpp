#include "support/XfFixture.h"

using namespace tolvenk;

namespace {
class XfDetail : public test::XfFixture {
protected:
    DataList dept(const std::string& deptNo, const V& types = {}, std::int32_t mach = 0, std::int32_t dian = 0,
                  std::int32_t unit = 0, const std::string& name = "", const std::string& code = "",
                  const std::string& pnum = "") {
        return svc.Get_XF_Info7_1(deptNo, types, "2026-11-01 12:00:00", "2026-11-30 23:59:59",
                                  static_cast<std::int16_t>(types.size()), mach, dian, unit, name, code, pnum);
    }
};
}  // namespace

TOLVENK_ON_BOTH_ENGINES(XfDetail);

TEST_P(XfDetail, DepartmentPathCoversTheSubtreeWithInclusiveBounds) {
    const DataList d = dept("01");
    // r4 is a settlement row; r7 lies before the period; r6's department is deleted.
    EXPECT_EQ(ids(d), (V{"1", "2", "5", "8"}));
    ASSERT_EQ(d.colUBound(), 32);
    EXPECT_EQ(d(1, 28), "0101");  // the person's Dept_No
    EXPECT_EQ(d(1, 29), "张三");
    EXPECT_EQ(d(1, 30), "E1");
    EXPECT_EQ(d(1, 31), "财务");
    EXPECT_EQ(d(1, 32), "0101");
    EXPECT_EQ(d(3, 29), "O'Brien");
}

TEST_P(XfDetail, KindTerminalPlaceOwnerPersonAndUncertainFilters) {
    EXPECT_EQ(ids(dept("01", {"1", "3"})), (V{"1", "5", "8"}));
    EXPECT_EQ(ids(dept("", {}, 12)), (V{"2"}));
    EXPECT_EQ(ids(dept("", {}, 0, 2)), (V{"2"}));
    EXPECT_EQ(ids(dept("", {}, 0, 0, 2)), (V{"3"}));
    EXPECT_EQ(ids(dept("", {}, 0, 0, 0, "三")), (V{"1", "2", "8"}));
    EXPECT_EQ(ids(dept("", {}, 0, 0, 0, "O'Brien")), (V{"5"}));
    EXPECT_EQ(ids(dept("", {}, 0, 0, 0, "", "E2")), (V{"3"}));
    EXPECT_EQ(ids(dept("", {}, 0, 0, 0, "", "", "N")), (V{"1", "3", "2", "5", "8"}));
    EXPECT_EQ(ids(dept("", {}, 0, 0, 0, "x' or '1'='1")), V{});
    EXPECT_THROW(dept("", {"1 or 1=1"}), db::DbError);

    // Uncertain rows follow the flag only.
    EXPECT_EQ(ids(dept("")), (V{"1", "3", "2", "5", "8"}));  // same time: ordered by kind
    Uncertain_Flag = 1;
    EXPECT_EQ(ids(dept("")), (V{"1", "2", "5", "8"}));  // bounds stay inclusive
}

TEST_P(XfDetail, PersonPathAndTheMainConnectionTimeout) {
    Conn_Main = test::connect(cs);
    Conn_Main->setCommandTimeout(60);
    const DataList d = svc.Get_XF_Info7_2("ignored", {}, "2026-11-01 12:00:00", "2026-11-30 23:59:59", 0, 0, 0, 0, "1");
    EXPECT_EQ(ids(d), (V{"1", "2", "8"}));
    EXPECT_EQ(d.colUBound(), 27);
    EXPECT_EQ(Conn_Main->commandTimeout(), 60);
    EXPECT_EQ(ids(svc.Get_XF_Info7_2("", {"5"}, "2026-11-01", "2026-12-01", 1, 0, 0, 0, "")), (V{"2"}));
    EXPECT_THROW(svc.Get_XF_Info7_2("", {}, "a", "b", 0, 0, 0, 0, "1 or 1=1"), db::DbError);
    EXPECT_EQ(Conn_Main->commandTimeout(), 60);  // set back even after a failure
}

TEST_P(XfDetail, PeriodRecordSetForTheStatistics) {
    rec().id(9).person(2).type(130).meal(0).before(0).money(0).balance(0).cardSerial(0).date("2026-11-05 10:00:00")
        .card("C2").insert(*con);  // not a statistics kind
    EXPECT_EQ(svc.Get_XF_Info5("", "")->recordCount(), 7);
    EXPECT_EQ(svc.Get_XF_Info5("2026-11-02 08:00:00", "")->recordCount(), 5);
    EXPECT_EQ(svc.Get_XF_Info5("", "2026-11-01 12:00:00")->recordCount(), 2);
    auto rs = svc.Get_XF_Info5("2026-11-01 00:00:00", "2026-11-30 23:59:59");
    ASSERT_EQ(rs->recordCount(), 6);
    rs->setFilter("PInfo_id=1 and Date_Time like '2026-11-02%'");
    ASSERT_EQ(rs->recordCount(), 1);
    rs->moveFirst();
    EXPECT_EQ(rs->field("YuE_Change").toInt64(), 1000);
    EXPECT_EQ(rs->field("xf_type").toInt64(), 5);
}

TEST_P(XfDetail, MonthAndCardHistories) {
    EXPECT_EQ(ids(svc.Get_XF_Info4("1", "2026-11")), (V{"1", "2", "8"}));
    EXPECT_THROW(svc.Get_XF_Info4("1; delete from Record_XF", "2026-11"), db::DbError);
    EXPECT_EQ(ids(svc.Get_XF_Info2("1", "C1", "")), (V{"7", "1", "2", "8"}));
    EXPECT_EQ(ids(svc.Get_XF_Info2("2", "C2", "")), V{});
    EXPECT_EQ(ids(svc.Get_XF_Info2("2", "C2", "All")), (V{"3"}));
    EXPECT_EQ(ids(svc.Get_XF_Info2("", "C3", "All")), (V{"4", "5"}));
}
