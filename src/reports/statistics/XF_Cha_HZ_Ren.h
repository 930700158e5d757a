#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "data/BTService.h"
#include "data/DataList.h"
#include "data/XFService.h"
#include "platform/MoneyText.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

class Run_Lock;

// Consumption statistics by employee (menu 7033): for the chosen employees one
// grid row per employee and day, month or whole period, with money and times
// consumption, recharges, withdrawals, meal segments and transfers, and a
// total row.
class XF_Cha_HZ_Ren : public forms::Form {
public:
    XF_Cha_HZ_Ren();

    ucKelmora ucDep1{*this};
    forms::Frame Frame2{*this};
    forms::ControlArray<forms::OptionButton> Option1{*this};
    forms::ControlArray<forms::Label> Label1{*this};
    forms::DTPicker DTPicker1{*this};
    forms::DTPicker DTPicker2{*this};
    // Built after the pickers so the month texts lie over them.
    forms::TextBox Text1{*this};
    forms::TextBox Text2{*this};
    forms::Line Line1{*this};
    forms::Line Line2{*this};
    forms::CheckBox Check2{*this};
    forms::CheckBox Check3{*this};
    forms::CheckBox Check4{*this};
    forms::CheckBox Check1{*this};
    forms::CommandButton Command1{*this};
    forms::ControlArray<forms::CommandButton> Command4{*this};
    forms::CommandButton Command3{*this};
    forms::Grid Grid1{*this};
    // Built after the grid so the progress panel lies above it.
    forms::PictureBox Pic_1{*this};
    forms::ControlArray<forms::Label> Label2{*this};
    forms::ProgressBar Bar1{*this};

    // Replaced at every load.
    XFService XF;
    BTService BT;

    // Sums of one row or of the whole run, signed as stored (into the card
    // positive). Meal slot 0 is every other meal, 1 to 5 the segments.
    // Exact at any size: the total of stored amounts is wider than any one.
    struct Emp_Sums {
        Exact_Sum Money, Count, Times, Recharge, Recharge_Times, Withdraw, Transfer;
        std::array<Exact_Sum, 6> Meal_Money{}, Meal_Times{};
        void add(const Emp_Sums& o);
    };

    // State of a run.
    std::string Sel_DeptNo, Sel_Name, Sel_Code, Sel_PNum;
    DataList Emp_List;
    std::string Cur_Period, Last_Period;
    Emp_Sums Total;

    void Form_Load() override;
    void Form_Resize() override;
    // What a run kept goes with the window: the next opening starts anew.
    void Form_Unload(int& Cancel) override;

    void Option1_Click(int Index);
    void Snap_Month_Start();
    void Show_End_Month();
    void Init_Emp_Grid();
    // False when the window was closed while the columns were fitted.
    bool Set_Emp_Cols();
    void Command1_Click();
    void Command3_Click();

    void Sum_Emp_Days();
    void Sum_Emp_Months();
    void Sum_Emp_Range();
    void Fill_Emp_Row(int i, const std::string& period, const Emp_Sums& s);
    // False when the window was closed meanwhile.
    bool Add_Emp_Totals();

private:
    void layOut();
    std::string monthText(const forms::DTPicker& p) const;
    // Reads the period's records once, as they come, into sums per listed
    // employee and period (the first `keyLength` characters of Date_Time, or
    // the whole period when 0); then writes each employee's periods in list
    // and period order, advancing the bar and yielding when due. False when
    // the window was closed meanwhile.
    bool Run_Employees(const std::string& from, const std::string& to, const std::vector<std::string>& periods,
                       std::size_t keyLength);
    int Append_Row();
    void Write_Sums(int row, const Emp_Sums& s);
    bool Merge_Employees(int totalRow);

    // Each listed employee's sums per period index, only for periods with
    // records. The groups may come in any order (a server's cursor hashes
    // them): each is found with one look-up, not a walk of a tree per employee.
    class Emp_Periods {
    public:
        void list(std::int64_t id);
        // The sums of a listed employee's period, made when first asked for;
        // nullptr for an employee not listed.
        Emp_Sums* at(std::int64_t id, std::size_t period);
        // A listed employee's periods with their sums, in period order.
        std::vector<std::pair<std::size_t, const Emp_Sums*>> of(std::int64_t id) const;
        // Every sum gone, the employees still listed.
        void clearSums();
        // Every sum and employee gone at once; the memory is given back by a
        // thread of its own (a day report's sums are a few hundred thousand
        // allocations, a tenth of a second and more to free).
        void releaseAside();

    private:
        std::unordered_map<std::int64_t, std::size_t> slots_;
        std::unordered_map<std::uint64_t, std::size_t> sumsAt_;  // slot and period -> sums_
        std::vector<std::vector<std::pair<std::size_t, std::size_t>>> periods_;  // slot -> period, sums_
        std::deque<Emp_Sums> sums_;  // never moved as it grows
    };
    using Period_Index = std::unordered_map<std::string, std::size_t>;
    enum class Read_End { Done, Closed, Too_Wide };
    // A run's employees: each list row's identifier when it is a whole
    // number, the periods, their sums, and how many list rows are shown.
    struct Emp_Run {
        std::vector<std::optional<std::int64_t>> listed;  // by list row, from 1
        const std::vector<std::string>& periods;
        Emp_Periods sums;
        int shown = 0;
    };
    // The period summed by the engine, a group at a time, on `on`: the first
    // employees one by one, each shown as soon as it is read, then the rest
    // of the period at once; Too_Wide when the engine cannot give a sum as a
    // 64-bit number.
    Read_End Read_Groups(db::Connection& on, const std::string& from, const std::string& to, std::size_t keyLength,
                         const Period_Index& periodAt, Emp_Run& run);
    // Adds the groups of `rows` to the sums, but not those of the employees in `skip`.
    Read_End Add_Groups(db::RowCursor& rows, std::size_t keyLength, const Period_Index& periodAt, Emp_Periods& sums,
                        const std::unordered_set<std::int64_t>& skip);
    // Writes the rows of the list rows after those shown, up to `upTo`,
    // yielding after each; false when the window was closed meanwhile.
    bool Show_Employees(Emp_Run& run, int upTo);
    // The period read record by record, which sums amounts of any size.
    Read_End Read_Records(const std::string& from, const std::string& to, std::size_t keyLength,
                          const Period_Index& periodAt, Emp_Periods& sums);
    // Adds one record of the cursor to the sums by its kind.
    void Add_Record(Emp_Sums& s, const db::RowCursor& rows) const;
    // Adds a group of `count` records of one kind and meal with the sums of
    // their amounts and counts.
    static void Add_Kind(Emp_Sums& s, int type, const db::Value& meal, std::int64_t count, const Exact_Sum& money,
                         const Exact_Sum& times);
    // Cursor fields, found by name once per run.
    struct XF_Fields {
        int person, date, type, money, times, meal;
    };
    XF_Fields fields_{};
    bool running_ = false;
};

}  // namespace tolvenk
