// The meal-order summary, the month-end clearing list and the ID and IC
// balances read their figures with grouped statements over the whole choice. On
// generated databases of three seeds, and of one more with a real site's dirt,
// every figure they give must equal what the per-row statements they replace
// give, run here as plain SQL.
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "data/BTService.h"
#include "data/BalanceQuery.h"
#include "data/DCService.h"
#include "data/MealOrderSums.h"
#include "data/SubsidyClearingRun.h"
#include "data/XFService.h"
#include "demo_gen/DemoGenerator.h"
#include "platform/DateText.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

constexpr const char* kFirstDay = "2026-09-01";
constexpr const char* kLastDay = "2026-11-30";

using Param = std::tuple<test::Engine, unsigned, bool>;  // engine, seed, dirty

class GroupedFigures : public test::KitTest, public ::testing::WithParamInterface<Param> {
protected:
    void SetUp() override {
        KitTest::SetUp();
        const auto [engine, seed, dirty] = GetParam();
        demo::Options o;
        o.firstDay = kFirstDay;
        o.lastDay = kLastDay;
        o.transactions = 1500;
        o.employees = 80;
        o.seed = seed;
        o.everyWindow = true;
        o.dirty = dirty;
        if (engine == test::Engine::Server) {
            if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
            server_ = std::make_unique<test::BusinessDb>(test::Engine::Server, false);
            o.server = server_->connectionString();
            demo::generate(o);
            cs = o.server;
        } else {
            o.businessPath = dir.file("g.mdb");
            demo::generate(o);
            cs = db::Connection::fileConnectionString(o.businessPath);
        }
        con = test::connect(cs);
        xf.Set_strCN(cs);
        bt.Set_strCN(cs);
        dc.Set_strCN(cs);
    }
    std::int64_t number(const std::string& sql) { return test::number(*con, sql); }
    void mealOrderSummary();
    void clearingList();
    void idBalances();
    void icBalances();
    // Of the top departments that hold less than half the company, the one
    // with the most rows that meet `rows`.
    std::string smallerDepartment(const std::string& rows) {
        std::string best;
        std::int64_t most = -1;
        for (const std::string& d :
             test::column(*con, "select substr(Dept_No,1,2) from Ren_Per_Info group by substr(Dept_No,1,2) having "
                                "count(*)*2<(select count(*) from Ren_Per_Info) order by 1")) {
            const std::int64_t n = number("select count(*) from Record_XF x inner join Ren_Per_Info p on "
                                          "p.Pinfo_ID=x.Pinfo_id where p.Dept_No like '" + d + "%' and " + rows);
            if (n > most) best = d, most = n;
        }
        EXPECT_GT(most, 0);
        return best;
    }

    std::unique_ptr<test::BusinessDb> server_;
    std::string cs;
    std::shared_ptr<db::Connection> con;
    XFService xf;
    BTService bt;
    DCService dc;
};

std::string seedName(const ::testing::TestParamInfo<Param>& info) {
    return std::string(test::engineName(std::get<0>(info.param))) + (std::get<2>(info.param) ? "_dirty" : "_seed") +
           std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Seeds, GroupedFigures,
                         ::testing::Combine(::testing::Values(test::Engine::File, test::Engine::Server),
                                            ::testing::Values(7u, 1234u, 90001u), ::testing::Values(false)),
                         seedName);
// On a rollback-journal file the clearing list reads the month in pieces of
// five rows: each employee's month is added up from several.
class GroupedFiguresInPieces : public GroupedFigures {
protected:
    void SetUp() override {
        GroupedFigures::SetUp();
        if (IsSkipped()) return;
        con->executeScript("PRAGMA journal_mode=DELETE");
        ASSERT_EQ(test::text(*con, "PRAGMA journal_mode"), "delete");
        db::ReadPieces::standardRows() = 5;
    }
};

INSTANTIATE_TEST_SUITE_P(Dirt, GroupedFiguresInPieces,
                         ::testing::Values(Param{test::Engine::File, 4242u, true}), seedName);

INSTANTIATE_TEST_SUITE_P(Dirt, GroupedFigures,
                         ::testing::Combine(::testing::Values(test::Engine::File, test::Engine::Server),
                                            ::testing::Values(4242u), ::testing::Values(true)),
                         seedName);

// A statement's rows as a service hands them over, read on the test's own
// connection.
DataList listOf(db::Connection& con, const std::string& sql) {
    const auto rs = con.openRecordset(sql);
    std::vector<std::string> names;
    for (int j = 0; j < rs->fieldCount(); ++j) names.push_back(rs->fieldName(j));
    DataList list(static_cast<int>(rs->recordCount()), names);
    for (int r = 1; r <= list.rowUBound(); ++r, rs->moveNext())
        for (int j = 0; j < rs->fieldCount(); ++j) list(r, j) = rs->field(j).toString();
    return list;
}

// The day's figures of a meal as the summary read them before: the rows of
// the meal day, then the returns made that day.
Meal_Order_Sums perRowMealOrders(db::Connection& con, const std::string& day, int kind, int meal) {
    const std::string ofKind = kind ? " and C_LeiBie=" + std::to_string(kind) : "";
    Meal_Order_Sums s;
    const DataList orders = listOf(con, "select * from Record_XF where DC_Date like '" + day +
                                              "%' and  XF_Meal=" + std::to_string(meal) + ofKind);
    for (int r = 1; r <= orders.rowUBound(); ++r) {
        const std::string type = orders(r, orders.col("XF_Type"));
        const std::int64_t change = orders(r, orders.col("YuE_Change")).empty()
                                        ? 0
                                        : std::stoll(orders(r, orders.col("YuE_Change")));
        if (type == "15") {
            ++s.orders;
            s.preDeducted.sub(change);
        } else if (type == "16") {
            ++s.cancellations;
            s.cancelled.add(change);
        }
    }
    const DataList returns = listOf(con, "select * from Record_XF where Date_Time like '" + day +
                                               "%' and  XF_Meal=" + std::to_string(meal) + " and XF_Type=48" + ofKind);
    for (int r = 1; r <= returns.rowUBound(); ++r) {
        ++s.taken;
        const std::string change = returns(r, returns.col("YuE_Change"));
        s.returned.add(change.empty() ? 0 : std::stoll(change));
    }
    return s;
}

}  // namespace

// Every day of the period and the days around it, each meal, all card kinds
// and the kind with the most orders.
void GroupedFigures::mealOrderSummary() {
    const int busiest = static_cast<int>(
        number("select C_LeiBie from Record_XF where XF_Type=15 group by C_LeiBie order by count(*) desc, C_LeiBie"));
    const std::string first = "2026-08-30", last = "2026-12-02";
    std::int64_t orders = 0, taken = 0;
    for (const int kind : {0, busiest}) {
        const auto days = Meal_Order_Days(dc, first, last, kind);
        ASSERT_EQ(days.size(), 95u);  // 2 + 30 + 31 + 30 + 2
        for (std::size_t i = 0; i < days.size(); ++i) {
            const std::string day = formatDate(addDays(*readDate(first), static_cast<int>(i)));
            for (int meal = 1; meal <= 5; ++meal) {
                const Meal_Order_Sums& got = days[i][static_cast<std::size_t>(meal - 1)];
                const Meal_Order_Sums want = perRowMealOrders(*con, day, kind, meal);
                const std::string where = day + " meal " + std::to_string(meal) + " kind " + std::to_string(kind);
                EXPECT_EQ(got.orders, want.orders) << where;
                EXPECT_EQ(got.cancellations, want.cancellations) << where;
                EXPECT_EQ(got.taken, want.taken) << where;
                EXPECT_EQ(got.preDeducted.whole(), want.preDeducted.whole()) << where;
                EXPECT_EQ(got.cancelled.whole(), want.cancelled.whole()) << where;
                EXPECT_EQ(got.returned.whole(), want.returned.whole()) << where;
                if (kind == 0) {
                    orders += got.orders;
                    taken += got.taken;
                }
            }
        }
    }
    // A range that starts and ends on days with orders gives those days as the wider range does.
    const auto all = Meal_Order_Days(dc, first, last, 0), october = Meal_Order_Days(dc, "2026-10-01", "2026-10-31", 0);
    ASSERT_EQ(october.size(), 31u);
    for (std::size_t i = 0; i < october.size(); ++i)
        for (std::size_t m = 0; m < 5; ++m) {
            const Meal_Order_Sums &got = october[i][m], &want = all[i + 32][m];  // 10-01 is the 33rd day
            EXPECT_EQ(std::vector<std::string>({std::to_string(got.orders), std::to_string(got.cancellations),
                                                std::to_string(got.taken), got.preDeducted.whole(),
                                                got.cancelled.whole(), got.returned.whole()}),
                      std::vector<std::string>({std::to_string(want.orders), std::to_string(want.cancellations),
                                                std::to_string(want.taken), want.preDeducted.whole(),
                                                want.cancelled.whole(), want.returned.whole()}))
                << "October " << i + 1 << " meal " << m + 1;
        }
    std::int64_t firstAndLast = 0;
    for (std::size_t m = 0; m < 5; ++m) firstAndLast += october.front()[m].orders + october.back()[m].taken;
    EXPECT_GT(firstAndLast, 0);
    // Not an empty comparison: the orders and returns of the whole table are all in some cell.
    EXPECT_EQ(orders, number("select count(*) from Record_XF where XF_Type=15 and XF_Meal between 1 and 5"));
    EXPECT_EQ(taken, number("select count(*) from Record_XF where XF_Type=48 and XF_Meal between 1 and 5"));
    EXPECT_GT(orders, 0);
    EXPECT_GT(taken, 0);
}

// Every employee, those who left too, for each month of the period and one
// without batches.
void GroupedFigures::clearingList() {
    const DataList employees = listOf(*con, "select * from Ren_Per_Info order by Dept_No desc, Pinfo_ID");
    ASSERT_EQ(employees.rowUBound(), number("select count(*) from Ren_Per_Info"));
    int subsidised = 0, spent = 0, cleared = 0;
    for (const char* month : {"2026-08", "2026-09", "2026-10", "2026-11"}) {
        std::vector<QL_Line> lines;
        std::int64_t lastDone = 0;
        QL_List(xf, employees, month, [&](const QL_Line& line, std::int64_t done, std::int64_t total) {
            EXPECT_EQ(done, lastDone + 1);
            EXPECT_EQ(total, employees.rowUBound());
            lastDone = done;
            lines.push_back(line);
            return true;
        });
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(employees.rowUBound()));
        const std::string y = std::string(month).substr(0, 4), m = std::to_string(std::stoi(std::string(month).substr(5)));
        for (int e = 1; e <= employees.rowUBound(); ++e) {
            const std::string pinfo = employees(e, employees.col("Pinfo_ID"));
            const QL_Figures want = QL_Count(
                listOf(*con, "select * from Record_XF where PInfo_id=" + pinfo + " and Date_Time like '" + month +
                                  "%' order by ID "),
                listOf(*con, "select * from BuTie_OK where PInfo_id=" + pinfo + " and B_Month=" + m +
                                  " and B_Year = " + y + " order by ID "));
            const QL_Line& got = lines[static_cast<std::size_t>(e - 1)];
            const std::string who = std::string(month) + " employee " + pinfo;
            EXPECT_EQ(got.pinfo, pinfo) << who;
            EXPECT_EQ(got.name, employees(e, employees.col("P_Name"))) << who;
            EXPECT_EQ(got.figures.subsidyFen, want.subsidyFen) << who;
            EXPECT_EQ(got.figures.subsidyTimes, want.subsidyTimes) << who;
            EXPECT_EQ(got.figures.spentFen, want.spentFen) << who;
            EXPECT_EQ(got.figures.spentTimes, want.spentTimes) << who;
            EXPECT_EQ(got.figures.clearedFen, want.clearedFen) << who;
            EXPECT_EQ(got.figures.clearedTimes, want.clearedTimes) << who;
            EXPECT_EQ(got.figures.cleared, want.cleared) << who;
            subsidised += want.subsidyFen != 0;
            spent += want.spentFen != 0;
            cleared += want.cleared;
        }
    }
    EXPECT_GT(subsidised, 0);
    EXPECT_GT(spent, 0);
    EXPECT_GT(cleared, 0);
}

// The whole company (read for every employee) and a top department that
// holds less than half of it (read for the chosen ones) with the most rows, up to a day before the period,
// inside it and at its end.
void GroupedFigures::idBalances() {
    const std::string dept = smallerDepartment("x.Err_Code=0");
    int counted = 0;
    for (const std::string& choice : {std::string(), dept})
        for (const char* day : {"2026-08-31", "2026-10-15", "2026-11-30"}) {
            std::vector<Balance_Query::Row> rows;
            const auto result = Balance_Query::ID_Balances(xf, bt, {choice, "", ""}, day,
                                                           [&](const Balance_Query::Row& r, std::int64_t, std::int64_t) {
                                                               rows.push_back(r);
                                                               return true;
                                                           });
            const DataList emps = bt.Get_Emp_Check_All_ID(choice, "", "", "");
            ASSERT_EQ(rows.size(), static_cast<std::size_t>(emps.rowUBound()));
            Exact_Sum total;
            for (int i = 1; i <= emps.rowUBound(); ++i) {
                const std::string pinfo = emps(i, emps.col("PInfo_id"));
                const auto want = test::row(
                    *con, "select sum(YuE_Change)as YuE_New,max(Date_Time)as Date_Time,sum(YuCi_New) AS YuCi_New from "
                          "Record_XF where Date_Time<='" +
                              std::string(day) + "Z' and Err_Code=0 and Pinfo_id=" + pinfo + " order by Date_Time Desc ");
                const Balance_Query::Row& got = rows[static_cast<std::size_t>(i - 1)];
                const std::string who = "'" + choice + "' " + day + " employee " + pinfo;
                const bool hasSum = want.at(0) != "<null>";
                EXPECT_TRUE(got.found) << who;
                EXPECT_EQ(got.counted, hasSum) << who;
                EXPECT_EQ(got.date, want.at(1) == "<null>" ? "" : want.at(1)) << who;
                EXPECT_EQ(got.counted ? got.balance.whole() : "-", hasSum ? want.at(0) : "-") << who;
                EXPECT_EQ(got.name, emps(i, emps.col("P_Name"))) << who;
                if (hasSum) {
                    total.add(std::stoll(want.at(0)));
                    ++counted;
                }
            }
            EXPECT_EQ(result.total.whole(), total.whole()) << choice << " " << day;
        }
    EXPECT_GT(counted, 0);
}

// The same choices for the last card record of each employee.
void GroupedFigures::icBalances() {
    const std::string dept = smallerDepartment("x.Card_Liushui<>0 and x.Err_Code=0");
    int found = 0;
    for (const std::string& choice : {std::string(), dept})
        for (const char* day : {"2026-08-31", "2026-10-15", "2026-11-30"}) {
            std::vector<Balance_Query::Row> rows;
            const auto result = Balance_Query::IC_Balances(xf, bt, {choice, "", ""}, day, std::nullopt,
                                                           [&](const Balance_Query::Row& r, std::int64_t, std::int64_t) {
                                                               rows.push_back(r);
                                                               return true;
                                                           });
            const DataList emps = bt.Get_Emp_Check_All(choice, "", "", "");
            ASSERT_EQ(rows.size(), static_cast<std::size_t>(emps.rowUBound()));
            Exact_Sum total;
            for (int i = 1; i <= emps.rowUBound(); ++i) {
                const std::string pinfo = emps(i, emps.col("PInfo_id"));
                // Of several rows in the last second, the one written last.
                const DataList want = listOf(*con, "select top 1 * from Record_XF where Card_Liushui<>0 and Date_Time<='" +
                                                       std::string(day) + " 24:00:00' and Err_Code=0 and Pinfo_id=" +
                                                       pinfo + " order by Date_Time Desc, ID Desc ");
                const Balance_Query::Row& got = rows[static_cast<std::size_t>(i - 1)];
                const std::string who = "'" + choice + "' " + day + " employee " + pinfo;
                const bool has = want.rowUBound() >= 1;
                EXPECT_EQ(got.found, has) << who;
                EXPECT_EQ(got.counted, has) << who;
                EXPECT_EQ(got.date, has ? want(1, want.col("Date_Time")) : "") << who;
                EXPECT_EQ(got.counted ? got.balance.whole() : "-", has ? want(1, want.col("YuE_New")) : "-") << who;
                EXPECT_EQ(got.times, has ? want(1, want.col("YuCi_New")) : "") << who;
                if (has) {
                    total.add(std::stoll(want(1, want.col("YuE_New"))));
                    ++found;
                }
            }
            EXPECT_EQ(result.total.whole(), total.whole()) << choice << " " << day;
        }
    EXPECT_GT(found, 0);
}

TEST_P(GroupedFiguresInPieces, TheClearingListEqualsThePerRowStatements) { clearingList(); }

TEST_P(GroupedFigures, EveryFigureEqualsThePerRowStatements) {
    {
        SCOPED_TRACE("meal-order summary");
        mealOrderSummary();
    }
    {
        SCOPED_TRACE("month-end clearing list");
        clearingList();
    }
    {
        SCOPED_TRACE("ID balances");
        idBalances();
    }
    {
        SCOPED_TRACE("IC balances");
        icBalances();
    }
}
