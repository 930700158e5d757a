// A run that reads its figures once must show exactly what the statement per
// cell shows: every cell, every merged block and every box, for every
// built-in report and for groupings by every dimension, on databases made
// from several seeds, one of them with a real site's dirt, with and without
// uncertain records and a chosen value, on either engine; and the same
// generated data gives the same reports on both engines.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <sstream>
#include <tuple>

#include "demo_gen/DemoGenerator.h"
#include "reports/summary/XF_Cha_HZ.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

// Defined formats: every dimension first and second, the date second, the
// card-log fees where the card log can group by the dimension.
const char* const kFormats =
    "('HZ_Rep_Format','101','F101','10605','1111','11111111','111111'),"
    "('HZ_Rep_Format','102','F102','20208','1111','11110110','111111'),"
    "('HZ_Rep_Format','103','F103','10307','1111','11110111','111111'),"
    "('HZ_Rep_Format','104','F104','20406','1111','11111111','000000'),"
    "('HZ_Rep_Format','105','F105','30506','1111','11111111','111111'),"
    "('HZ_Rep_Format','106','F106','10701','0011','11110111','101010'),"
    "('HZ_Rep_Format','107','F107','10208','1100','11110110','000000'),"
    "('HZ_Rep_Format','108','F108','20605','1111','11111111','111111'),"
    "('HZ_Rep_Format','109','F109','30109','1111','11110111','111111');";

// Everything a person sees of the grid, and the boxes shown.
std::string picture(const XF_Cha_HZ& w, const test::TestServices& sv) {
    const grid::GridModel& m = w.Grid1.model();
    std::ostringstream out;
    for (int r = 0; r < m.rows(); ++r) {
        for (int c = 0; c < m.cols(); ++c) out << m.text(r, c) << '|';
        out << '\n';
    }
    for (const auto& b : m.merges()) out << b.row1 << ',' << b.col1 << '-' << b.row2 << ',' << b.col2 << ';';
    for (const auto& b : sv.boxes) out << "\nbox " << b.title << ": " << b.prompt;
    return out.str();
}

// Generated data with the edges the generator does not make: an uncertain
// record, a record of nobody's, empty keys, an unknown kind; and the defined
// formats.
class Generated {
public:
    Generated(test::Engine engine, unsigned seed, const test::TempDir& dir, bool dirty = false) {
        demo::Options o;
        o.transactions = 2500;
        o.seed = seed;
        o.dirty = dirty;
        o.firstDay = "2026-10-01";
        o.lastDay = "2026-11-30";
        if (engine == test::Engine::Server) {
            server_ = std::make_unique<test::BusinessDb>(engine, false);
            o.server = cs_ = server_->connectionString();
        } else {
            o.businessPath = dir.file("g" + std::to_string(seed) + ".mdb");
            cs_ = db::Connection::fileConnectionString(o.businessPath);
        }
        demo::generate(o);
        auto con = test::connect(cs_);
        con->executeScript(std::string("insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5) values ") + kFormats);
        con->executeScript(
            "update Record_XF set Err_Code=1 where ID % 17 = 0;"
            "update Record_XF set Pinfo_id=999999 where ID % 101 = 0;"
            "update Record_XF set Shou_Kuan=null, XF_Unit=null where ID % 53 = 0;"
            "update Record_XF set XF_Type=null where ID % 211 = 0;");
    }
    const std::string& connectionString() const { return cs_; }

private:
    std::unique_ptr<test::BusinessDb> server_;
    std::string cs_;
};

class FiguresKit : public test::KitTest {
protected:
    // The window's surroundings for a business database of that engine, as
    // the menu sets them.
    void useDatabase(test::Engine engine, const std::string& cs) {
        strCN = cs;
        Conn_Main = test::connect(cs);
        DB_Type = engine == test::Engine::Server ? "SQL" : "Access";
        Money_Sign = "￥";
        Load_Lan(0);
        sv->clock = "2026-11-30 09:30:00";
    }
    // The picture of list row `row` over the period, with the first value of
    // the grouping chosen when `chooseFirst`, read once or per cell; counts
    // the statements sent.
    std::string run(int row, const char* from, const char* to, bool chooseFirst, int uncertain, bool perCell,
                    int* statements = nullptr) {
        XF_Cha_HZ w;
        w.Per_Cell_Statements = perCell;
        w.Load();
        w.Form_Activate();
        w.List1.setListIndex(row);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        w.Check1.setValue(uncertain);
        if (chooseFirst && w.Combo1.ListCount() > 1) w.Combo1.setListIndex(1);
        sv->boxes.clear();
        int sent = 0;
        db::setStatementObserver([&](const std::string&) { ++sent; });
        w.Command1.click();
        db::setStatementObserver(nullptr);
        if (statements) *statements = sent;
        return picture(w, *sv);
    }
    void TearDown() override {
        db::setStatementObserver(nullptr);
        KitTest::TearDown();
    }
};

// Engine, seed, dirty.
class Figures : public FiguresKit, public ::testing::WithParamInterface<std::tuple<test::Engine, unsigned, bool>> {
protected:
    void SetUp() override {
        FiguresKit::SetUp();
        const test::Engine engine = std::get<0>(GetParam());
        if (engine == test::Engine::Server)
            if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
        data = std::make_unique<Generated>(engine, std::get<1>(GetParam()), dir, std::get<2>(GetParam()));
        useDatabase(engine, data->connectionString());
    }
    std::unique_ptr<Generated> data;
};

}  // namespace

TEST_P(Figures, EveryReportShowsWhatTheStatementsPerCellShow) {
    // Built-ins 1-9 (3 and 7 are separators), then the defined formats.
    const std::vector<int> rows = {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    int shown = 0, grouped = 0;
    for (int row : rows)
        for (bool choose : {false, true}) {
            const int uncertain = (row + (choose ? 1 : 0)) % 2 == 0 ? forms::vbChecked : forms::vbUnchecked;
            SCOPED_TRACE("list row " + std::to_string(row) + (choose ? ", first value chosen" : ""));
            int once = 0, perCell = 0;
            const std::string figures = run(row, "2026-10-28", "2026-11-03", choose, uncertain, false, &once);
            const std::string statements = run(row, "2026-10-28", "2026-11-03", choose, uncertain, true, &perCell);
            EXPECT_EQ(figures, statements);
            shown += figures.size() > 200;
            grouped += once < perCell / 2;
        }
    EXPECT_GT(shown, 30);  // the reports have rows to compare, not just headers
    // The figures were read once, not by the statements per cell it falls back on.
    EXPECT_GT(grouped, 30);
}

// Three seeds on the file; one on the server, whose statements per cell cost
// a round trip each (the built-in reports are compared there once more
// below); and one dirty seed on each.
INSTANTIATE_TEST_SUITE_P(Seeds, Figures,
                         ::testing::Values(std::make_tuple(test::Engine::File, 3u, false),
                                           std::make_tuple(test::Engine::File, 17u, false),
                                           std::make_tuple(test::Engine::File, 29u, false),
                                           std::make_tuple(test::Engine::Server, 17u, false),
                                           std::make_tuple(test::Engine::File, 60u, true),
                                           std::make_tuple(test::Engine::Server, 60u, true)),
                         [](const ::testing::TestParamInfo<Figures::ParamType>& info) {
                             return std::to_string(std::get<1>(info.param)) + "_" +
                                    test::engineName(std::get<0>(info.param)) + (std::get<2>(info.param) ? "_dirty" : "");
                         });

// On a rollback-journal file the records are read in pieces of a few rows
// (a group of one day in several, a second shared by more rows than a piece
// in one): the figures are still those of the statements per cell.
class FiguresInPieces : public Figures {};

TEST_P(FiguresInPieces, EveryReportShowsWhatTheStatementsPerCellShow) {
    Conn_Main->executeScript("PRAGMA journal_mode=DELETE");
    ASSERT_EQ(test::text(*Conn_Main, "PRAGMA journal_mode"), "delete");
    db::ReadPieces::standardRows() = 3;
    int readOnce = 0;
    for (int row : {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20}) {
        SCOPED_TRACE("list row " + std::to_string(row));
        const int uncertain = row % 2 == 0 ? forms::vbChecked : forms::vbUnchecked;
        int once = 0;
        EXPECT_EQ(run(row, "2026-10-28", "2026-11-03", false, uncertain, false, &once),
                  run(row, "2026-10-28", "2026-11-03", false, uncertain, true));
        readOnce += once;
    }
    EXPECT_GT(readOnce, 18 * 50);  // each report read once in dozens of pieces
}

INSTANTIATE_TEST_SUITE_P(Seeds, FiguresInPieces, ::testing::Values(std::make_tuple(test::Engine::File, 60u, true)),
                         [](const ::testing::TestParamInfo<Figures::ParamType>& info) {
                             return std::to_string(std::get<1>(info.param)) + "_dirty";
                         });

// The same generated data in both engines: each built-in report shows the
// same grid on the server, read once and per cell, as on the file.
using FiguresAcrossEngines = FiguresKit;

TEST_F(FiguresAcrossEngines, EveryBuiltInReportShowsTheSameGridOnBothEngines) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    const Generated file(test::Engine::File, 5, dir), server(test::Engine::Server, 5, dir);
    struct Period {
        const char* from;
        const char* to;
    };
    const Period periods[] = {{"2026-10-28", "2026-11-03"}, {"2026-10-01", "2026-11-30"}};
    int shown = 0;
    for (int row : {0, 1, 2, 4, 5, 6, 8, 9, 10})
        for (const Period& p : periods)
            for (bool choose : {false, true}) {
                const int uncertain = choose ? forms::vbUnchecked : forms::vbChecked;
                SCOPED_TRACE("list row " + std::to_string(row) + " from " + p.from + (choose ? ", first value chosen" : ""));
                useDatabase(test::Engine::File, file.connectionString());
                const std::string onFile = run(row, p.from, p.to, choose, uncertain, false);
                EXPECT_EQ(onFile.find("\nbox "), std::string::npos) << onFile;
                useDatabase(test::Engine::Server, server.connectionString());
                int once = 0, perCell = 0;
                EXPECT_EQ(run(row, p.from, p.to, choose, uncertain, false, &once), onFile);
                EXPECT_EQ(run(row, p.from, p.to, choose, uncertain, true, &perCell), onFile);
                EXPECT_LT(once, perCell / 2) << "the server's run fell back on statements per cell";
                shown += onFile.size() > 200;
            }
    EXPECT_GT(shown, 30);
}

// Department codes that differ only in case are one department to the
// statements per cell; read once, where the codes are grouped byte for byte,
// they must still be one.
class CaseBlindCodes : public FiguresKit, public ::testing::WithParamInterface<test::Engine> {};

TEST_P(CaseBlindCodes, CodesDifferingOnlyInCaseCountAsOneDepartment) {
    if (GetParam() == test::Engine::Server)
        if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    const Generated data(GetParam(), 11, dir);
    test::connect(data.connectionString())
        ->executeScript("update Ren_Dept_Info set Dept_No='D'||Dept_No;"
                        "update Ren_Per_Info set Dept_No=(case when Pinfo_ID % 2 = 0 then 'd' else 'D' end)||Dept_No;");
    useDatabase(GetParam(), data.connectionString());
    // Defined formats 101 (department x card kind, daily), 104 (unit x
    // department, monthly) and 108 (department x card kind, monthly).
    for (int row : {12, 15, 19})
        for (bool choose : {false, true}) {
            SCOPED_TRACE("list row " + std::to_string(row) + (choose ? ", first value chosen" : ""));
            const std::string figures = run(row, "2026-10-28", "2026-11-03", choose, forms::vbChecked, false);
            EXPECT_EQ(figures, run(row, "2026-10-28", "2026-11-03", choose, forms::vbChecked, true));
            EXPECT_GT(figures.size(), 200u);
        }
}

INSTANTIATE_TEST_SUITE_P(Engines, CaseBlindCodes, ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const ::testing::TestParamInfo<test::Engine>& info) { return test::engineName(info.param); });

// Card-log fees another program left NULL (the dirty generator's issue and
// return fees): every built-in report and two defined ones, read once and
// per cell, show cell for cell what they show with those fees set to 0; a
// box tells of the empty fees, once for each place that met them.
class NullFee : public FiguresKit, public ::testing::WithParamInterface<test::Engine> {};

TEST_P(NullFee, AReportOverANullFeeIsThatReportWithTheFeeZero) {
    if (GetParam() == test::Engine::Server)
        if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    const Generated data(GetParam(), 60, dir, true);
    useDatabase(GetParam(), data.connectionString());
    // By card kind and date, by operator and transfer: groups lie after the
    // NULL fee's group.
    Conn_Main->executeScript("insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5) values "
                             "('HZ_Rep_Format','110','F110','10506','1111','11111100','000000'),"
                             "('HZ_Rep_Format','111','F111','10708','1111','00001010','000000')");
    const std::string fees = "FaKa_GBF is null or Huan_GBF is null or Tui_GBF is null";
    ASSERT_GT(test::number(*Conn_Main, "select count(*) from Card_Log where Date_Time>='2026-10-01' and (" + fees + ")"),
              0);
    struct Run {
        int row;
        const char* from;
        bool perCell;
    };
    std::vector<Run> runs;
    for (int row : {0, 1, 2, 4, 5, 6, 8, 9, 10, 21, 22})
        for (const char* from : {"2026-10-01", "2026-10-28"}) runs.push_back({row, from, from[8] == '2'});
    const auto shown = [&](std::vector<std::string>& boxes) {
        std::vector<std::string> grids;
        for (const Run& r : runs) {
            SCOPED_TRACE("list row " + std::to_string(r.row) + " from " + r.from);
            const std::string all = run(r.row, r.from, "2026-11-30", false, forms::vbChecked, r.perCell);
            const auto box = all.find("\nbox ");
            grids.push_back(all.substr(0, box));
            if (box != std::string::npos) boxes.push_back(all.substr(box));
        }
        return grids;
    };
    std::vector<std::string> told, none;
    const auto overNull = shown(told);
    Conn_Main->execute("update Card_Log set FaKa_GBF=coalesce(FaKa_GBF,0),Huan_GBF=coalesce(Huan_GBF,0),"
                       "Tui_GBF=coalesce(Tui_GBF,0)");
    const auto overZero = shown(none);
    for (std::size_t i = 0; i < runs.size(); ++i)
        EXPECT_EQ(overNull[i], overZero[i]) << "list row " << runs[i].row << " from " << runs[i].from;
    EXPECT_TRUE(none.empty());
    ASSERT_FALSE(told.empty());
    // A run's boxes: one title each, of the level or the row fee pass.
    for (const std::string& b : told) {
        std::set<std::string> titles;
        for (auto at = b.find("\nbox "); at != std::string::npos; at = b.find("\nbox ", at + 1)) {
            const std::string title = b.substr(at + 5, b.find(": ", at) - at - 5);
            EXPECT_EQ(title.rfind(Lang[112] + ":ERR_XF_Cha_HZ_", 0), 0u) << b;
            EXPECT_TRUE(titles.insert(title).second) << b;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, NullFee, ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const ::testing::TestParamInfo<test::Engine>& info) { return test::engineName(info.param); });
