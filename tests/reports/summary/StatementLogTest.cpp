// Pins down every statement a summary run sends to the database, for each
// built-in report and two defined ones, on a generated database: the texts
// are the contract with the installation's engines, so reshaping the code
// that builds them must leave them byte for byte as they were. Run with
// TOLVENK_UPDATE_STATEMENTS=1 to write the expected files anew. File engine
// only: the expected files were recorded with DB_Type "Access", and the texts
// a run sends depend on DB_Type.

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "demo_gen/DemoGenerator.h"
#include "reports/summary/XF_Cha_HZ.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

struct Case {
    const char* name;
    int listRow;  // row of the window's report list
    const char* from;
    const char* to;
};

// Built-ins 1-9 (list rows 3 and 7 are separators), then the two defined formats
// (the card log has no terminal, so the second leaves the fee items out).
const Case kCases[] = {
    {"1-daily-cash", 0, "2026-11-01", "2026-11-03"},      {"2-monthly-cash", 1, "2026-10-01", "2026-11-30"},
    {"3-range-cash", 2, "2026-11-01", "2026-11-07"},      {"4-daily-ledger", 4, "2026-11-01", "2026-11-02"},
    {"5-monthly-ledger", 5, "2026-10-01", "2026-11-30"},  {"6-range-ledger", 6, "2026-11-01", "2026-11-07"},
    {"7-daily-meals", 8, "2026-11-01", "2026-11-02"},     {"8-monthly-meals", 9, "2026-10-01", "2026-11-30"},
    {"9-range-meals", 10, "2026-11-01", "2026-11-07"},    {"101-dept-by-kind", 12, "2026-11-01", "2026-11-02"},
    {"102-terminal-by-date", 13, "2026-10-01", "2026-11-30"},
};

std::string expectedPath(const Case& c) {
    return std::string(TOLVENK_TEST_SOURCE_DIR) + "/reports/summary/statements/" + c.name + ".sql";
}

class StatementLog : public test::FileWindowTest, public ::testing::WithParamInterface<Case> {
protected:
    static void SetUpTestSuite() {
        generated = new test::TempDir;
        demo::Options o;
        o.businessPath = generated->file("b.mdb");
        o.transactions = 3000;
        o.seed = 11;
        o.firstDay = "2026-10-01";
        o.lastDay = "2026-11-30";
        demo::generate(o);
        auto con = test::connect(db::Connection::fileConnectionString(o.businessPath));
        con->executeScript(
            "insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5) values "
            "('HZ_Rep_Format','101','部门卡类日报','10605','1111','11111111','111111'),"
            "('HZ_Rep_Format','102','机器日期月报','20208','1111','11110110','111111');");
    }
    static void TearDownTestSuite() {
        delete generated;
        generated = nullptr;
    }
    void SetUp() override {
        test::FileWindowTest::SetUp();
        sv->clock = "2026-11-30 09:30:00";
        strCN = db::Connection::fileConnectionString(generated->file("b.mdb"));
        Conn_Main = test::connect(strCN);
        Money_Sign = "¥";
    }
    void TearDown() override {
        db::setStatementObserver(nullptr);
        test::FileWindowTest::TearDown();
    }
    static inline test::TempDir* generated = nullptr;
};

}  // namespace

TEST_P(StatementLog, ARunSendsExactlyTheStatementsItAlwaysSent) {
    const Case& c = GetParam();
    XF_Cha_HZ w;
    w.Per_Cell_Statements = true;
    w.Load();
    w.Form_Activate();
    w.List1.setListIndex(c.listRow);
    w.DTPicker1.setValue(c.from);
    w.DTPicker2.setValue(c.to);
    std::ostringstream log;
    db::setStatementObserver([&](const std::string& sql) { log << sql << "\n"; });
    w.Command1.click();
    db::setStatementObserver(nullptr);
    EXPECT_TRUE(sv->boxes.empty()) << sv->boxes.front().prompt;
    ASSERT_GT(w.Grid1.Rows(), 5) << "no total row";

    if (std::getenv("TOLVENK_UPDATE_STATEMENTS")) {
        std::ofstream(expectedPath(c), std::ios::binary) << log.str();
        GTEST_SKIP() << "wrote " << expectedPath(c);
    }
    std::ifstream in(expectedPath(c), std::ios::binary);
    ASSERT_TRUE(in) << "no expected statements at " << expectedPath(c);
    std::ostringstream expected;
    expected << in.rdbuf();
    // Line by line, so a failure names the first statement that changed.
    std::istringstream got(log.str()), want(expected.str());
    std::string g, x;
    for (int line = 1; std::getline(want, x); ++line) {
        ASSERT_TRUE(std::getline(got, g)) << "statement " << line << " is missing: " << x;
        ASSERT_EQ(g, x) << "statement " << line;
    }
    EXPECT_FALSE(std::getline(got, g)) << "an extra statement: " << g;
}

INSTANTIATE_TEST_SUITE_P(EveryReport, StatementLog, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (ch == '-') ch = '_';
                             return "R" + n;
                         });
