// The summary run without its window: a format laid out on a bare grid model,
// a period and a connection, and every figure compared with plain SQL over
// rows the test writes from a fixed seed.

#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "data/HzRepFormat.h"
#include "platform/grid/GridModel.h"
#include "reports/summary/GridHead.h"
#include "reports/summary/ReportEngine.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

constexpr int kHead = 5;
const char* const kDays[] = {"2026-07-01", "2026-07-02", "2026-07-03"};

// Fen as the report shows them, worked out here: sign, yuan, two decimals.
std::string yuan(long long fen) {
    const long long a = std::llabs(fen);
    const std::string cents = (a % 100 < 10 ? "0" : "") + std::to_string(a % 100);
    return std::string("￥") + (fen < 0 ? "-" : "") + std::to_string(a / 100) + "." + cents;
}

class ReportEngine : public test::WindowTest {
protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name,Del_YN) values (1,'一食堂',0),(2,'二食堂',0),(3,'旧食堂',1);
)");
        // Computer recharges, terminal recharges and meals at the listed
        // places, a deleted one and none; some uncertain, some outside the period.
        std::mt19937 gen(20260701);
        const int types[] = {161, 202, 5, 6, 1, 2, 201, 9};
        const char* days[] = {"2026-06-30", "2026-07-01", "2026-07-02", "2026-07-03", "2026-07-04"};
        for (int i = 0; i < 160; ++i) {
            const int type = types[gen() % 8];
            const long long fen = static_cast<long long>(gen() % 5000) + 1;
            const bool income = type == 161 || type == 202 || type == 5 || type == 6;
            test::XfRow r;
            r.date(std::string(days[gen() % 5]) + " 1" + std::to_string(gen() % 10) + ":00:00")
                .type(type)
                .meal(static_cast<int>(gen() % 3))
                .money(income ? fen : -fen)
                .times(0)
                .err(gen() % 6 == 0 ? 1 : 0);
            if (const int place = static_cast<int>(gen() % 5); place <= 3) r.dian(place);
            r.insert(*con);
        }
    }

    // Sum and count of the item's kinds over a condition, as the report shows
    // them: expenses with their sign turned.
    std::pair<std::string, std::string> expected(hz::Item item, const std::string& where) {
        const hz::ItemDef& d = hz::def(item);
        std::string kinds;
        for (int k : d.moneyKinds) kinds += (kinds.empty() ? "" : ",") + std::to_string(k);
        const auto r = test::row(*con, "select coalesce(sum(YuE_Change),0),count(YuE_Change) from Record_XF "
                                       "where Err_Code=0 and XF_Type in (" + kinds + ") and " + where);
        const long long sum = std::atoll(r.at(0).c_str());
        return {yuan(d.side == hz::Side::Income ? sum : -sum), r.at(1)};
    }

    // Lays the format out on the bare grid and runs it over the period.
    HzReportEngine::Closing run(const HZ_Rep_Format& format, const Cond_Inputs& in, HzRunHooks hooks = {}) {
        Lay_Out_Report(grid, st, format);
        st.Valid_Only = 1;
        HzReportEngine engine(st, in, {in.Date_From, in.Date_To}, grid, *con, std::move(hooks));
        return engine.Run();
    }

    std::string cell(int r, int c) { return grid.text(r, c); }

    grid::GridModel grid;
    HzReportState st;
};

const hz::Item kChecked[] = {hz::PC_Recharge, hz::Term_Recharge, hz::Consume};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ReportEngine);

// A daily report by charging place: each day's row of each place, the other
// places' row, the day's subtotal and the total hold what plain SQL sums.
TEST_P(ReportEngine, ADailyReportByPlaceHoldsWhatPlainSqlSums) {
    const HZ_Rep_Format format{"按收费点日报", "10109", "1111", "11000100", "000000"};
    ASSERT_EQ(run(format, {"2026-07-01", "2026-07-03", 0, "全部", 0}), HzReportEngine::Closing::After_Groups);
    EXPECT_TRUE(sv->boxes.empty());
    ASSERT_EQ(st.Date_Col, 1);
    ASSERT_EQ(st.Dim1_Col, 2);

    const std::map<std::string, std::string> places = {{"一食堂", "XF_Dian_ID=1"}, {"二食堂", "XF_Dian_ID=2"},
                                                      {"其他", "(XF_Dian_ID is null or XF_Dian_ID not in (1,2))"}};
    std::string day;
    std::map<std::string, int> seen;
    bool total = false;
    int subtotals = 0;
    for (int r = kHead; r < grid.rows(); ++r) {
        std::string where;
        const std::string label = cell(r, 1);
        if (label.rfind("2026-", 0) == 0) day = label;
        if (label == "总计：") {
            where = "Date_Time>='2026-07-01' and Date_Time<'2026-07-04'";
            total = true;
        } else if (label == "小计：") {
            where = "substr(Date_Time,1,10)='" + day + "'";
            ++subtotals;
        } else if (places.count(cell(r, 2))) {
            where = "substr(Date_Time,1,10)='" + day + "' and " + places.at(cell(r, 2));
            ++seen[day + cell(r, 2)];
        } else {
            continue;  // the balance line
        }
        for (hz::Item item : kChecked) {
            const auto [money, count] = expected(item, where);
            const int c = st.Col(item, hz::Money), n = st.Col(item, hz::Money_Cnt);
            ASSERT_GT(c, 0);
            // A row leaves a value without records empty; the sums show every value.
            if (count == "0" && label != "总计：" && label != "小计：") {
                EXPECT_EQ(cell(r, c) + cell(r, n), "") << r << " " << item;
            } else {
                EXPECT_EQ(cell(r, c), money) << r << " " << label << " " << cell(r, 2) << " " << item;
                EXPECT_EQ(cell(r, n), count) << r << " " << item;
            }
        }
    }
    EXPECT_TRUE(total);
    EXPECT_EQ(subtotals, 3);
    // Every day and place with a record has its one row.
    for (const char* d : kDays)
        for (const auto& [name, cond] : places) {
            const auto n = test::row(*con, "select count(*) from Record_XF where Err_Code=0 and XF_Type in "
                                           "(161,202,5,6,1,2,201,9) and substr(Date_Time,1,10)='" +
                                               std::string(d) + "' and " + cond);
            EXPECT_EQ(seen[std::string(d) + name], n.at(0) == "0" ? 0 : 1) << d << " " << name;
        }
}

// One place chosen as the condition: the rows and the total are that place's.
TEST_P(ReportEngine, AChosenPlaceNarrowsEveryFigure) {
    const HZ_Rep_Format format{"按收费点汇总", "30109", "1111", "11000100", "000000"};
    run(format, {"2026-07-01", "2026-07-03", 2, "二食堂", 2});
    ASSERT_GE(grid.rows(), kHead + 2);
    EXPECT_EQ(cell(kHead, 1), "二食堂");
    const std::string where = "Date_Time>='2026-07-01' and Date_Time<'2026-07-04' and XF_Dian_ID=2";
    for (int r : {kHead, grid.rows() - 2}) {
        for (hz::Item item : kChecked) {
            const auto [money, count] = expected(item, where);
            EXPECT_EQ(cell(r, st.Col(item, hz::Money)), money) << r << " " << item;
            EXPECT_EQ(cell(r, st.Col(item, hz::Money_Cnt)), count) << r << " " << item;
        }
    }
    EXPECT_EQ(cell(grid.rows() - 2, 1), "总计：");
}

// The hooks: progress moves, and a stop asked after the first row ends the
// run there, with no total written.
TEST_P(ReportEngine, AStopAskedAfterARowEndsTheRunThere) {
    const HZ_Rep_Format format{"按收费点日报", "10109", "1111", "11000100", "000000"};
    int rows = 0, moves = 0;
    HzRunHooks hooks{[&](int, int, int) { ++moves; }, [&] { ++rows; }, [&] { return rows >= 1; }};
    EXPECT_EQ(run(format, {"2026-07-01", "2026-07-03", 0, "全部", 0}, hooks), HzReportEngine::Closing::Stopped);
    EXPECT_EQ(rows, 1);
    EXPECT_GT(moves, 0);
    for (int r = kHead; r < grid.rows(); ++r) EXPECT_NE(cell(r, 1), "总计：") << r;
}
