// Operator rights read from a real business database on Conn_Main.

#include "data/cls_User_Pass.h"
#include "platform/Error.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class UserPass : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        Load_Lan(1);
        Conn_Main = con;
        con->executeScript(R"(
insert into Sys_User_Info(User_ID,User_Name,User_Grade,Del_YN) values
 (3,'Clerk',1,0),(4,'Admin',0,0),(5,'Viewer',2,0),(6,'Gone',1,1),(7,'O''Neil',1,0),(8,'Fresh',1,0);
insert into Sys_Dept_Pass(User_ID,Dept_No,Dept_Type) values
 (3,'01',2),(3,'0101',3),(3,'01',5),(3,'Ab',4),(5,'01',2),(7,'02',6),(4,'01',0);
insert into Sys_Mach_Pass(User_ID,Mach_ID,Mach_Type) values (3,11,1),(3,12,4),(3,11,9),(5,11,1),(7,13,2);
insert into Sys_User_Pass(User_ID,Menu_Name,Menu_Type) values (3,'mnuXF',1),(3,'mnuBT',0),(5,'mnuXF',1);
)");
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(UserPass);

TEST_P(UserPass, GradeOneOperatorGetsHisOwnRowsFirstMatchWinning) {
    cls_User_Pass p;
    p.Initialize("clerk");  // names compare without case, as the engines do
    EXPECT_EQ(p.get_Sys_ID(), 3);
    EXPECT_EQ(p.get_Dept_Pass("01"), 2);  // the later ('01',5) row loses
    EXPECT_EQ(p.get_Dept_Pass("02"), 0);  // another operator's department
    EXPECT_EQ(p.get_Dept_Pass("Ab"), 4);
    EXPECT_EQ(p.get_Dept_Pass("ab"), 0);  // looked up exactly
    EXPECT_EQ(p.get_Dept_Pass("-1"), 0);  // rows read: the default row is gone
    EXPECT_EQ(p.get_Mach_Pass(11), 1);
    EXPECT_EQ(p.get_Mach_Pass(13), 0);
    EXPECT_EQ(p.get_User_Pass("mnuXF"), 1);
    EXPECT_EQ(p.get_User_Pass("mnuBT"), 0);

    cls_User_Pass q;
    q.Initialize("O'Neil");
    EXPECT_EQ(q.get_Sys_ID(), 7);
    EXPECT_EQ(q.get_Dept_Pass("02"), 6);
    EXPECT_EQ(q.get_Mach_Pass(13), 2);
    EXPECT_EQ(q.get_User_Pass("-1"), -1);  // no menu rows: the default row stays
    EXPECT_TRUE(sv->boxes.empty());
}

TEST_P(UserPass, GradesOtherThanOneNeverReadRows) {
    cls_User_Pass admin;
    admin.Initialize("Admin");
    EXPECT_EQ(admin.get_Sys_ID(), 4);
    EXPECT_EQ(admin.get_Dept_Pass("01"), 1);  // grade 0: every right, its 0 row ignored
    EXPECT_EQ(admin.get_User_Pass("anything"), 1);

    cls_User_Pass viewer;
    viewer.Initialize("Viewer");
    EXPECT_EQ(viewer.get_Dept_Pass("01"), 0);
    EXPECT_EQ(viewer.get_Mach_Pass(11), 0);
    EXPECT_EQ(viewer.get_User_Pass("mnuXF"), 0);
    EXPECT_EQ(viewer.get_Dept_Pass("-1"), -1);
    EXPECT_EQ(viewer.get_Mach_Pass(-1), -1);
    EXPECT_EQ(viewer.get_User_Pass("-1"), -1);

    cls_User_Pass fresh;  // grade 1 with no rights rows at all
    fresh.Initialize("Fresh");
    EXPECT_EQ(fresh.get_Dept_Pass("-1"), -1);
    EXPECT_EQ(fresh.get_Dept_Pass("01"), 0);
    EXPECT_EQ(fresh.get_User_Pass("mnuXF"), 0);
}

TEST_P(UserPass, UnknownDeletedOrInjectedNamesHoldEveryRight) {
    for (const char* name : {"Nobody", "Gone", "x' or '1'='1", ""}) {
        cls_User_Pass p;
        p.Initialize(name);
        EXPECT_EQ(p.get_Sys_ID(), -1) << name;
        EXPECT_EQ(p.get_Dept_Pass("-1"), 1) << name;
        EXPECT_EQ(p.get_Mach_Pass(11), 1) << name;
        EXPECT_EQ(p.get_User_Pass("mnuXF"), 1) << name;
    }
    EXPECT_EQ(test::number(*con, "select count(*) from Sys_User_Info"), 6);
}

TEST_P(UserPass, FailedFirstQueryChangesNothingAndBadValuesRaise) {
    cls_User_Pass p;
    p.Initialize("Clerk");
    Conn_Main.reset();
    p.Initialize("Admin");
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, platform::vbCritical);
    EXPECT_EQ(p.get_Sys_ID(), 3);
    EXPECT_EQ(p.get_Dept_Pass("01"), 2);

    Conn_Main = con;
    con->executeScript(R"(
insert into Sys_User_Info(User_ID,User_Name,User_Grade,Del_YN) values (40000,'Big',1,0),(9,'NoGrade',NULL,0);
insert into Sys_Dept_Pass(User_ID,Dept_No,Dept_Type) values (3,'03',70000);
)");
    auto errorOf = [](const char* name) {
        try {
            cls_User_Pass p;
            p.Initialize(name);
        } catch (const VbError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf("Big"), 6);       // an identifier beyond 16 bits
    EXPECT_EQ(errorOf("NoGrade"), 94);  // a NULL grade must not pass for grade 0
    cls_User_Pass clerk;
    clerk.Initialize("Clerk");
    EXPECT_THROW(clerk.get_Dept_Pass("03"), VbError);
}
