#include "data/BaseService.h"
#include "platform/Error.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class DataListTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        svc.Set_LinkStr(cs);
        con->executeScript(
            "insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level) values"
            " (3,'02','食堂',0),(1,'01',NULL,0),(2,'0101','',1);");
    }
    BaseService svc;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(DataListTest);

TEST_P(DataListTest, EmptyResultHasRowZeroAndTheFullColumnRange) {
    DataList d = svc.Get_DataList("select Dept_ID,Dept_No,Dept_Name from Ren_Dept_Info where Dept_ID=99");
    EXPECT_EQ(d.rowUBound(), 0);
    EXPECT_EQ(d.colUBound(), 2);
    EXPECT_EQ(d(0, 2), "");
    EXPECT_THROW(d(1, 0), VbError);
    DataList all = svc.Get_DataList("select * from Ren_Dept_Info where 1=0");
    EXPECT_EQ(all.colUBound(), 7);
}

TEST_P(DataListTest, RowsFollowTheQueryOrderAndNullReadsAsEmpty) {
    DataList d = svc.Get_DataList("select Dept_ID,Dept_Name,Dept_Level from Ren_Dept_Info order by Dept_No");
    ASSERT_EQ(d.rowUBound(), 3);
    for (int c = 0; c <= 2; ++c) EXPECT_EQ(d(0, c), "") << "row 0 stays empty";
    EXPECT_EQ(d(1, 0), "1");
    EXPECT_EQ(d(1, 1), "");  // NULL
    EXPECT_EQ(d(2, 0), "2");
    EXPECT_EQ(d(2, 1), "");  // stored empty text
    EXPECT_EQ(d(3, 1), "食堂");
    EXPECT_EQ(d(3, 2), "0");
    try {
        (void)d(0, 3);
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 9);
    }
}

TEST_P(DataListTest, SelectStarFollowsThePhysicalColumnOrderAndSurvivesTheConnection) {
    DataList d = svc.Get_DataList("select * from Ren_Dept_Info where Dept_ID=3");
    EXPECT_EQ(svc.DB_Con, nullptr);  // closed before returning
    ASSERT_EQ(d.rowUBound(), 1);
    EXPECT_EQ(d(1, 0), "3");
    EXPECT_EQ(d(1, 1), "02");
    EXPECT_EQ(d(1, 2), "食堂");
    DataList copy = d;
    copy(1, 2) = "x";
    EXPECT_EQ(d(1, 2), "食堂");
}
