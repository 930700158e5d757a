// A run that reads its figures once must show exactly what the statement per
// cell shows: every cell, every merged block and every box, for every
// built-in report and for groupings by every dimension, on databases made
// from three seeds, with and without uncertain records and a chosen value.
#include <gtest/gtest.h>

#include <sstream>

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

class Figures : public test::WindowTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        demo::Options o;
        o.businessPath = dir.file("g.mdb");
        o.transactions = 2500;
        o.seed = GetParam();
        o.firstDay = "2026-10-01";
        o.lastDay = "2026-11-30";
        demo::generate(o);
        strCN = db::Connection::fileConnectionString(o.businessPath);
        Conn_Main = test::connect(strCN);
        Conn_Main->executeScript(std::string("insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5) values ") +
                                 kFormats);
        // Edges the generator does not make: an uncertain record, a record of
        // nobody's, empty keys, an unknown kind.
        Conn_Main->executeScript(
            "update Record_XF set Err_Code=1 where ID % 17 = 0;"
            "update Record_XF set Pinfo_id=999999 where ID % 101 = 0;"
            "update Record_XF set Shou_Kuan=null, XF_Unit=null where ID % 53 = 0;"
            "update Record_XF set XF_Type=null where ID % 211 = 0;");
        sv->clock = "2026-11-30 09:30:00";
    }
    // The picture of list row `row` over the period, with the first value of
    // the grouping chosen when `chooseFirst`, each way.
    std::pair<std::string, std::string> both(int row, const char* from, const char* to, bool chooseFirst, int uncertain) {
        std::string pictures[2];
        for (int perCell = 0; perCell <= 1; ++perCell) {
            XF_Cha_HZ w;
            w.Per_Cell_Statements = perCell == 1;
            w.Load();
            w.Form_Activate();
            w.List1.setListIndex(row);
            w.DTPicker1.setValue(from);
            w.DTPicker2.setValue(to);
            w.Check1.setValue(uncertain);
            if (chooseFirst && w.Combo1.ListCount() > 1) w.Combo1.setListIndex(1);
            sv->boxes.clear();
            w.Command1.click();
            pictures[perCell] = picture(w, *sv);
        }
        return {pictures[0], pictures[1]};
    }
};

}  // namespace

TEST_P(Figures, EveryReportShowsWhatTheStatementsPerCellShow) {
    // Built-ins 1-9 (3 and 7 are separators), then the defined formats.
    const std::vector<int> rows = {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    int shown = 0;
    for (int row : rows)
        for (bool choose : {false, true}) {
            const int uncertain = (row + (choose ? 1 : 0)) % 2 == 0 ? forms::vbChecked : forms::vbUnchecked;
            SCOPED_TRACE("list row " + std::to_string(row) + (choose ? ", first value chosen" : ""));
            const auto [figures, statements] = both(row, "2026-10-28", "2026-11-03", choose, uncertain);
            EXPECT_EQ(figures, statements);
            shown += figures.size() > 200;
        }
    EXPECT_GT(shown, 30);  // the reports have rows to compare, not just headers
}

INSTANTIATE_TEST_SUITE_P(ThreeSeeds, Figures, ::testing::Values(3u, 17u, 29u));
