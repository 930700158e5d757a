#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reports/summary/HzFigures.h"
#include "reports/summary/HzReportState.h"
#include "reports/summary/HzSlots.h"
#include "reports/summary/ReportConditions.h"

namespace tolvenk {

namespace db {
class Connection;
class Recordset;
}  // namespace db
namespace grid {
class GridModel;
}

// A condition as the statements write it and as figures in memory read it.
struct HzCond {
    std::string sql;
    std::vector<Group_Match> sel;
};

// What a running report tells whoever shows it.
struct HzRunHooks {
    // Bar 1..3 (outer, middle, inner group) at value of max; max 0 moves
    // the bar without showing it.
    std::function<void(int bar, int value, int max)> progress;
    // After every computed row: the place to let the window breathe.
    std::function<void()> rowDone;
    // Asked after each such pause: true ends the run at once (its window was closed).
    std::function<bool()> stopped;
};

// The summary run: fills the grid under the header the report state
// describes with the report's rows, group by group, with its "其他" rows,
// subtotals, total and balance line. Made for one run.
class HzReportEngine {
public:
    // `shown` is the period as the window shows it (months as "2026年7月"),
    // for the report's condition line.
    HzReportEngine(HzReportState& st, const Cond_Inputs& in, std::array<std::string, 2> shown, grid::GridModel& grid,
                   db::Connection& conn, HzRunHooks hooks = {});

    // How the run ended: after the group loops, with the total only, or
    // stopped because its window went away.
    enum class Closing { After_Groups, Total_Only, Stopped };
    // Errors the passes do not trap pass to the caller. The errors they trap
    // are shown once each when the run ends, however many rows they hit.
    Closing Run();

    // The statements per cell as they were first written, instead of the
    // figures read once: what the tests compare the figures with.
    bool Per_Cell_Statements = false;
    // Every statement of the run reads one committed state of the database,
    // on a session of its own, where the engine allows it without holding
    // writers out (db::ReadSnapshot): rows, subtotals and the total then
    // agree however many transactions terminals commit meanwhile. Off, the
    // run reads on the connection it was given, each statement on its own.
    bool One_Snapshot = true;

    HzReportState& St;
    const Cond_Inputs In;
    const std::array<std::string, 2> Shown_Period;
    // Whether uncertain records are left out, as the window said when the
    // run began: ticking the box meanwhile changes nothing halfway.
    const std::int16_t Valid_Only;
    HzValues V;
    // Row captions per slot: period (or the outer value when the date is the
    // second dimension), middle and inner caption.
    std::array<std::string, 9> Period_Cap, Level1_Cap, Level2_Cap;
    // The loop indexes into Group_Conds1..3; they keep their last values.
    std::int16_t Idx1 = 0, Idx2 = 0, Idx3 = 0;

    // Group totals: fills slot `Slot` of every shown item from Cond1 (never
    // empty), Cond2 and Cond3. Traps every error in a box.
    void Calc_Level_Row(HzCond Cond1, HzCond Cond2, HzCond Cond3, std::int16_t Slot);
    // The current entries' row: every shown item into slots 5 (added) and 6,
    // the row written from slot 6, slot 6 cleared.
    void Calc_Row();

    // Slot k of every value to 0 (the other meal slot excepted).
    void Clear_Slot(std::int16_t k);
    // Slot 4 += slot 3 everywhere (the other meal slot excepted).
    void Roll_Up_Slot();
    // Where slot a and slot b of a value count different records, slot c
    // gets a - b; then, if any did, writes slot c as the "其他" row.
    void Diff_Slots(std::int16_t a, std::int16_t b, std::int16_t Caption_Col, std::int16_t c);
    // Appends slot k as a row. Show_Zero -1 shows values whose test is 0;
    // Force -1 adds the row even when every test is 0. True when it added one.
    bool Make_Row_Text(std::int16_t k, std::int16_t Show_Zero, std::int16_t Force);
    // Subtotal rows of the middle ("小计:") and the outer entry ("小计：").
    void Add_SubTotal2();
    void Add_SubTotal1();

private:
    struct Run_Stopped {};
    Closing Fill();
    // The middle and inner loops of the current outer entry.
    void Middle_Level();
    // The report's figures at once, where its groupings allow.
    void Read_Figures();
    // The three level-pass queries; each leaves its figures in the Level_ fields.
    bool Query_YuE_Sum(const std::string& sql);
    bool Query_YuCi_Sum(const std::string& sql, bool flag);
    bool Query_Fees(const std::string& sql);
    // The card-log fee statement of a level, from the conditions as the fee items rewrite them.
    std::string Level_Fee_Sql(const hz::ItemDef& d, const std::string& Cond1, const std::string& Cond2,
                              const std::string& Cond3) const;
    // A fee item's group total, from the figures or its statement on the
    // conditions as the card log reads them (rewritten once per level row).
    void Level_Fees(const hz::ItemDef& d, std::int16_t Slot, const HzFigures::Lines& feeLines, bool& rewritten,
                    std::string& Cond1, std::string& Cond2, std::string& Cond3);
    // The same three from the figures read once.
    bool Figure_YuE(const HzFigures::Lines& lines, const hz::ItemDef& d);
    bool Figure_YuCi(const HzFigures::Lines& lines, const hz::ItemDef& d, bool flag);
    bool Figure_Fees(const HzFigures::Lines& lines, const hz::ItemDef& d);
    // A subtotal or the other meal slot from the values at slot k; `add`
    // also adds a subtotal to slot 5 (the row pass).
    void Derive(const hz::ItemDef& d, std::int16_t k, bool add);

    // The row pass's queries; each leaves its figures in the Row_ fields.
    void Sum_YuE(const hz::ItemDef& d);
    void Sum_YuCi(const hz::ItemDef& d);
    void Sum_GBF(const hz::ItemDef& d);
    // Whether the current inner cell has any record of the covered kinds.
    bool Row_Exists();
    std::string Row_Where(const std::string& D, const std::string& cond0, const std::string& cond1,
                          const std::string& cond2) const;

    void Closing_A();
    void Closing_B();
    // Column 0 numbers the report's rows, as the grid's row headers.
    void Number_Rows();
    // A trapped error: counted now, shown once when the run ends.
    void Trap(const std::exception& e, const char* where);
    // A card-log fee left empty counts as no fee; the box still tells of it.
    void Trap_Null_Fee(const char* where);
    void Show_Traps();
    void Balance_Line(const std::string& label);

    db::Recordset& open(const std::string& sql);
    int Rep_Dim1() const;
    int Rep_Dim2() const;
    char Rep_T() const;
    int Rows() const;
    void setText(int r, int c, const std::string& text);
    // Joins label cells; column 0, the row numbers, is never part of a block.
    void merge(int r1, int c1, int r2, int c2);

    grid::GridModel& grid_;
    db::Connection& conn_;
    // Where the run's statements go: the snapshot's session while it runs.
    db::Connection* reads_ = &conn_;
    HzRunHooks hooks_;
    std::shared_ptr<db::Recordset> rs_;
    std::int64_t Level_Sum = 0, Level_Cnt = 0, Level_Times = 0, Level_Times_Cnt = 0;
    std::int64_t Row_Sum = 0, Row_Cnt = 0, Row_Times = 0, Row_Times_Cnt = 0;
    std::string Row_Cap1, Row_Cap2;
    // Grid1's row count when the current outer / middle entry began.
    int Start_Row1 = 0, Start_Row2 = 0;
    struct Trapped {
        std::string where, text;
        int count;
        std::int64_t group = -1;  // the group total that last counted it
    };
    std::vector<Trapped> trapped_;
    // The group total being computed: its items' errors count once for it.
    std::int64_t trapGroup_ = -1, groups_ = 0;
    std::unique_ptr<HzFigures> figures_;
    HzFigures::Lines rowLines_, rowFeeLines_;  // the current row's groups
};

}  // namespace tolvenk
