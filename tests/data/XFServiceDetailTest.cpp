#include <chrono>
#include <set>

#include "platform/db/RowCursor.h"
#include "support/XfFixture.h"


using namespace tolvenk;

namespace {
class XfDetail : public test::XfFixture {
protected:
    void TearDown() override {
        db::setStatementObserver(nullptr);
        db::ReadPieces::standardRows() = db::ReadPieces::kRows;
        db::RowCursor::patience() = std::chrono::milliseconds(20);
        XfFixture::TearDown();
    }
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

namespace {

// Every row of a cursor, every field as text.
std::vector<std::vector<std::string>> allRows(db::RowCursor& c) {
    std::vector<std::vector<std::string>> out;
    while (c.next()) {
        out.emplace_back();
        for (std::size_t i = 0; i < c.columns().size(); ++i) out.back().push_back(c.field(static_cast<int>(i)).toString());
    }
    return out;
}

}  // namespace

// The window reads a department's rows as the people and their transactions
// apart, joined as they stream: they are the joined statement's rows in its
// order, also on a site's dirt: a department number two live departments
// share, a person's number written in another case than the department's, a
// person without a department, transactions of nobody and of no known person.
TEST_P(XfDetail, StreamedDepartmentRowsAreTheJoinedStatementsInItsOrder) {
    con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (6,'0101','财务二',1,0),(7,'0A','外包',1,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values
 (6,7,'0a','小写','E6','N6',0),(7,null,null,'无部门','E7','N7',0);
)");
    rec().id(9).person(6).type(1).meal(1).before(800).money(-100).balance(700).cardSerial(1)
        .date("2026-11-02 08:00:00").card("c6").insert(*con);
    rec().id(10).person(7).type(1).meal(1).before(800).money(-100).balance(700).cardSerial(1)
        .date("2026-11-04 08:00:00").card("C7").insert(*con);
    rec().id(11).person(99).type(1).meal(1).before(800).money(-100).balance(700).cardSerial(1)
        .date("2026-11-04 08:00:00").card("C9").insert(*con);
    rec().id(12).type(1).meal(1).before(800).money(-100).balance(700).cardSerial(1)
        .date("2026-11-04 09:00:00").card("C0").insert(*con);

    const auto streamed = [&](const std::string& deptNo, const V& types, const std::string& name,
                              const std::string& code, const std::string& pnum) {
        auto c = svc.Get_XF_Info7_Rows(false, deptNo, types, "2026-11-01 12:00:00", "2026-11-30 23:59:59",
                                       static_cast<std::int16_t>(types.size()), 0, 0, 0, name, code, pnum, "");
        EXPECT_EQ(c->columns().size(), 33u);
        EXPECT_EQ(c->fieldIndex("P_Name"), 29);
        EXPECT_EQ(c->fieldIndex("Dept_Name"), 31);
        return allRows(*c);
    };
    // Worked by hand: person 1 twice (both live departments "0101"), in time then kind order.
    {
        const auto rows = streamed("01", {}, "", "", "");
        V got, depts;
        for (const auto& r : rows) got.push_back(r[0]);
        EXPECT_EQ(got, (V{"1", "1", "2", "2", "5", "8", "8"}));
        for (const auto& r : rows) depts.push_back(r[31]);
        EXPECT_EQ(std::multiset<std::string>(depts.begin(), depts.end()),
                  (std::multiset<std::string>{"财务", "财务二", "财务", "财务二", "出纳", "财务", "财务二"}));
        got.clear();
        for (const auto& r : streamed("0", {}, "", "", "")) got.push_back(r[0]);
        EXPECT_EQ(got, (V{"1", "1", "3", "9", "2", "2", "5", "8", "8"}));
    }
    const struct {
        std::string dept;
        V types;
        std::string name, code, pnum;
        int flag;
    } asks[] = {{"", {}, "", "", "", 2},       {"0", {}, "", "", "", 1},   {"0A", {"1", "3"}, "", "", "", 2},
                {"01", {"1"}, "三", "", "", 2}, {"", {}, "", "e6", "", 2},   {"", {}, "", "", "N", 1},
                {"9", {}, "", "", "", 2},       {"", {}, "x' or '1'='1", "", "", 2}};
    for (const auto& a : asks) {
        Uncertain_Flag = static_cast<std::int16_t>(a.flag);
        const DataList joined = svc.Get_XF_Info7_1(a.dept, a.types, "2026-11-01 12:00:00", "2026-11-30 23:59:59",
                                                   static_cast<std::int16_t>(a.types.size()), 0, 0, 0, a.name, a.code,
                                                   a.pnum);
        const auto rows = streamed(a.dept, a.types, a.name, a.code, a.pnum);
        ASSERT_EQ(static_cast<int>(rows.size()), joined.rowUBound()) << a.dept << a.name << a.code;
        std::multiset<std::string> want, got;
        for (int r = 1; r <= joined.rowUBound(); ++r) {
            EXPECT_EQ(rows[static_cast<std::size_t>(r - 1)][0], joined(r, 0)) << r;  // the same order
            std::string w, g;
            for (int c = 0; c <= joined.colUBound(); ++c) {
                w += joined(r, c) + "|";
                g += rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c)] + "|";
            }
            want.insert(w);
            got.insert(g);
        }
        EXPECT_EQ(got, want) << a.dept << a.name << a.code;
    }
}

// A kind the period holds ten thousand times is read in time order, a kind it
// holds a few times along the kind index: either way the rows are the joined
// statement's and the person statement's, in their order, with rows of two
// kinds in one second and people of a deleted department or who have left.
TEST_P(XfDetail, CommonAndRareKindsGiveTheStatementsRowsInTheirOrder) {
    auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    for (int from = 0; from < 10100; from += 1000) {
        std::string sql = "insert into Record_XF(ID,Mach_ID,Pinfo_id,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,YuE_Change,"
                          "YuE_New,Card_LiuShui,Date_Time,Card_No,YuCi_Change,XF_Unit,Err_Code) values ";
        for (int i = from; i < std::min(from + 1000, 10100); ++i) {
            const int second = i / 2;  // two rows in each second
            sql += std::string(i == from ? "" : ",") + "(" + std::to_string(100 + i) + ",11," +
                   std::to_string(1 + i % 5) + ",1," + (i % 1000 == 7 ? "16" : "1") + ",1,1000,-100,900," +
                   std::to_string(i) + ",'2026-11-" + two(2 + second % 27) + " " + two(6 + second / 27 % 14) + ":" +
                   two(second / 378 % 60) + ":00','C" + std::to_string(1 + i % 5) + "',0,1," + (i % 3 ? "0" : "1") + ")";
        }
        con->executeScript(sql);
    }
    const auto idsOf = [](db::RowCursor& c) {
        V out;
        const auto rows = allRows(c);
        for (const auto& r : rows) out.push_back(r[0]);
        return out;
    };
    for (const V& types : {V{"1"}, V{"16"}, V{"16", "1"}}) {
        for (const std::int16_t flag : {1, 2}) {
            Uncertain_Flag = flag;
            const auto n = static_cast<std::int16_t>(types.size());
            const auto joined = svc.Get_XF_Info7_1("0", types, "2026-11-01 12:00:00", "2026-11-30 23:59:59", n, 0, 0, 0,
                                                   "", "", "");
            auto rows = svc.Get_XF_Info7_Rows(false, "0", types, "2026-11-01 12:00:00", "2026-11-30 23:59:59", n, 0, 0,
                                              0, "", "", "", "");
            EXPECT_EQ(idsOf(*rows), ids(joined)) << types.size() << flag;
            const auto person = svc.Get_XF_Info7_2("", types, "2026-11-01 12:00:00", "2026-11-30 23:59:59", n, 0, 0,
                                                   0, "");
            rows = svc.Get_XF_Info7_Rows(true, "", types, "2026-11-01 12:00:00", "2026-11-30 23:59:59", n, 0, 0, 0, "",
                                         "", "", "");
            EXPECT_EQ(idsOf(*rows), ids(person)) << types.size() << flag;
            // Persons 1 to 4 belong to live departments: of the 10,089 added
            // rows of kind 1 all but person 5's 2,020, and the fixture's three;
            // the eleven of kind 16 are all person 3's.
            if (types == V{"1"} && flag == 2) {
                EXPECT_EQ(joined.rowUBound(), 8069 + 3);
            }
            if (types == V{"16"} && flag == 2) {
                EXPECT_EQ(joined.rowUBound(), 11);
            }
        }
    }
}

namespace {

// Rows of a person a second apart through November from the 4th: `n` of
// them with IDs from `firstId` on, beside the fixture's few.
void manyRowsOfPerson(db::Connection& con, int person, int n, int firstId) {
    for (int from = 0; from < n; from += 1000) {
        std::string sql = "insert into Record_XF(ID,Mach_ID,Pinfo_id,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,YuE_Change,"
                          "YuE_New,Card_LiuShui,Date_Time,Card_No,YuCi_Change,XF_Unit,Err_Code) values ";
        for (int i = from; i < std::min(from + 1000, n); ++i) {
            char when[32];
            std::snprintf(when, sizeof when, "2026-11-%02d %02d:%02d:%02d", 4 + i / 3600 / 24 % 20, i / 3600 % 24,
                          i / 60 % 60, i % 60);
            sql += std::string(i == from ? "" : ",") + "(" + std::to_string(firstId + i) + ",11," +
                   std::to_string(person) + ",1,1,1,1000,-100,900," + std::to_string(i) + ",'" + when + "','C" +
                   std::to_string(person) + "',0,1,0)";
        }
        con.executeScript(sql);
    }
}

// Person 2's (department 02).
void manyRowsOfPerson2(db::Connection& con, int n) { manyRowsOfPerson(con, 2, n, 100); }

// The ID column of every row of a cursor; the statements it ran in `read`.
std::vector<std::string> idsRead(const std::function<std::unique_ptr<db::RowCursor>()>& open, std::vector<std::string>& read) {
    read.clear();
    db::setStatementObserver([&](const std::string& sql) {
        if (sql.rfind("select Record_XF.* from Record_XF", 0) == 0) read.push_back(sql);
    });
    std::vector<std::string> out;
    auto c = open();
    while (c->next()) out.push_back(c->field(0).toString());
    db::setStatementObserver(nullptr);
    return out;
}

}  // namespace

// On a rollback journal a long read goes in pieces; one of few rows (one
// person's, a rare kind's, a small department's) is counted in pieces among
// its own rows, a few statements however many rows of others the period
// holds. Its rows are the one statement's, in its order.
TEST_P(XfDetail, OnARollbackJournalAReadOfFewRowsIsAFewPieces) {
    manyRowsOfPerson2(*con, 300);
    if (!onServer()) con->executeScript("PRAGMA journal_mode=DELETE");
    db::ReadPieces::standardRows() = 3;
    const std::string from = "2026-11-01 12:00:00", to = "2026-11-30 23:59:59";
    const struct {
        bool perPerson;
        std::string dept;
        V types;
        std::string person;
        V expected;
    } reads[] = {{true, "", {}, "1", {"1", "2", "8"}},
                 {false, "0", {"5"}, "", {"2"}},
                 {false, "01", {}, "", {"1", "2", "5", "8"}}};
    for (const auto& r : reads) {
        const auto n = static_cast<std::int16_t>(r.types.size());
        std::vector<std::string> statements;
        const std::vector<std::string> got = idsRead(
            [&] {
                return svc.Get_XF_Info7_Rows(r.perPerson, r.dept, r.types, from, to, n, 0, 0, 0, "", "", "", r.person);
            },
            statements);
        EXPECT_EQ(got, r.expected) << r.dept << r.person;
        EXPECT_EQ(got, ids(r.perPerson ? svc.Get_XF_Info7_2("", r.types, from, to, n, 0, 0, 0, r.person)
                                       : svc.Get_XF_Info7_1(r.dept, r.types, from, to, n, 0, 0, 0, "", "", "")));
        EXPECT_LE(statements.size(), onServer() ? 1u : 3u) << r.dept << r.person;
    }
    db::ReadPieces::standardRows() = db::ReadPieces::kRows;
}

// A department's rows are read along the person-and-date index and sorted
// while they are few; many are read in time order along the date index,
// nothing sorted before the first shows (the file's plans; the server plans
// by its statistics). Department 04 has 101 people: its first hundred have
// no row, the last 10,100: many all the same.
TEST_P(XfDetail, ADepartmentsManyRowsComeInTimeOrderWithoutASort) {
    if (onServer()) GTEST_SKIP() << "the server plans by its statistics";
    manyRowsOfPerson2(*con, 10100);
    con->execute("insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (6,'04','大部门',0,0)");
    std::string people;
    for (int p = 1001; p <= 1101; ++p)
        people += std::string(people.empty() ? "" : ",") + "(" + std::to_string(p) + ",6,'04','P" + std::to_string(p) +
                  "','E" + std::to_string(p) + "',0)";
    con->execute("insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values " + people);
    manyRowsOfPerson(*con, 1101, 10100, 20100);
    const std::string from = "2026-11-01 12:00:00", to = "2026-11-30 23:59:59";
    const struct {
        std::string dept;
        std::size_t rows;  // 0: not counted here
        bool many;
    } depts[] = {{"02", 10100 + 1, true}, {"01", 0, false}, {"04", 10100, true}};
    for (const auto& d : depts) {
        SCOPED_TRACE(d.dept);
        std::vector<std::string> statements;
        const std::vector<std::string> got = idsRead(
            [&] { return svc.Get_XF_Info7_Rows(false, d.dept, {}, from, to, 0, 0, 0, 0, "", "", "", ""); }, statements);
        EXPECT_EQ(got, ids(svc.Get_XF_Info7_1(d.dept, {}, from, to, 0, 0, 0, 0, "", "", "")));
        if (d.rows > 0) {
            EXPECT_EQ(got.size(), d.rows);
        }
        ASSERT_EQ(statements.size(), 1u);
        std::string plan;
        for (const auto& row : test::rows(*con, "EXPLAIN QUERY PLAN " + statements[0])) plan += row.back() + "\n";
        if (d.many) {
            EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;
            EXPECT_NE(plan.find("IX_Record_XF_Date"), std::string::npos) << plan;
        } else {
            EXPECT_NE(plan.find("IX_Record_XF_Person_Date"), std::string::npos) << plan;
        }
    }
}

// On a rollback journal a department's read goes in pieces. Person 9 of
// department 05 has three rows at terminal 11, then three at terminal 12:
// asked for terminal 11, the first piece holds his three rows and the second
// none. The window is closed while the second piece waits (the waiting
// function says stop): the read then ends without a row, not with the three
// gathered before in the same fetch.
TEST_P(XfDetail, AReadStoppedWhileItWaitedHandsOverNoRowGatheredMeanwhile) {
    if (onServer()) GTEST_SKIP() << "the server reads the detail in one statement, which never waits";
    con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (6,'05','仓库',0,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values (9,6,'05','赵九','E9','N9',0);
PRAGMA journal_mode=DELETE;
)");
    for (int d = 5; d <= 10; ++d)
        rec().id(100 + d).mach(d <= 7 ? 11 : 12).person(9).type(1).meal(2).before(1000).money(-100).balance(900)
            .cardSerial(d).date("2026-11-" + std::string(d < 10 ? "0" : "") + std::to_string(d) + " 12:00:00")
            .card("C9").insert(*con);
    db::ReadPieces::standardRows() = 3;
    for (const bool closed : {false, true}) {
        SCOPED_TRACE(closed ? "closed" : "open");
        db::RowCursor::patience() = std::chrono::hours(1);  // nothing waits in the first piece
        int pieces = 0;
        db::setStatementObserver([&](const std::string& sql) {
            // From the second piece on, every step waits first.
            if (sql.rfind("select Record_XF.* from Record_XF", 0) == 0 && ++pieces == 2)
                db::RowCursor::patience() = std::chrono::microseconds(0);
        });
        auto c = svc.Get_XF_Info7_Rows(false, "05", {}, "2026-11-01 12:00:00", "2026-11-30 23:59:59", 0, 11, 0, 0, "",
                                       "", "", "");
        int waits = 0;
        c->whileWaiting([&] { return ++waits > 0 && !closed; });
        V got;
        while (c->next()) got.push_back(c->field(0).toString());
        db::setStatementObserver(nullptr);
        EXPECT_EQ(pieces, 2);
        EXPECT_GT(waits, 0);
        EXPECT_EQ(got, closed ? V{} : (V{"105", "106", "107"}));
    }
}
