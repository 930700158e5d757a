#pragma once
#include <cstdint>
#include <string>

#include "data/BTService.h"
#include "data/DataList.h"
#include "platform/MoneyText.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// Subsidy statistics (menu 7027): the granted subsidies of a month, or of one
// batch of it, summed by department, by kind or by operator into a printable
// report: issued, not yet taken and taken, each as rows, amount and times,
// closed by a signature line. Reads only.
class BT_Sum : public forms::Form {
public:
    BT_Sum();

    static constexpr int kHeadRows = 6;  // title, month, kind, date, group titles, item titles
    static constexpr int kCols = 12;

    forms::ControlArray<forms::Label> Label1{*this};
    forms::ComboBox Combo3{*this, forms::ComboBox::DropdownCombo};
    forms::ComboBox Combo4{*this};
    forms::ComboBox Combo1{*this};
    forms::Frame Frame1{*this};
    forms::ControlArray<forms::OptionButton> Option1{*this};
    forms::CommandButton Command1{*this};
    forms::ControlArray<forms::CommandButton> Command4{*this};
    forms::Grid Grid1{*this};

    BTService BT;
    DataList Year_List;
    DataList HZ_Rows;

    // One group's figures: rows, amount in fen, times.
    struct Group_Sum {
        std::int64_t count = 0;
        Exact_Sum fen;  // exact at any size
        Exact_Sum times;
    };
    // Issued, not yet taken, taken.
    struct Line_Sum {
        Group_Sum issued, waiting, taken;
        void add(const std::string& jine, const std::string& ci, const std::string& state);
    };

    void Form_Load() override;
    void Form_Resize() override;

    void Command1_Click();
    void Sum_By_Dept();
    void Sum_By_Kind();
    void Sum_By_Operator();
    void Add_Sum_Footer();

private:
    void layOut();
    void Init_Head();
    // Cuts the grid back to its head and, unless told otherwise, writes the
    // head's month, kind of summary (text number), date and line label.
    void Start_Summary(int kindText, const std::string& label, bool writeHead = true);
    // Appends a line: the name in column 2, the figures in 3 to 11.
    int Add_Line(const std::string& name, const Line_Sum& s, bool plainAmounts);
    std::int32_t Year = 0;
    std::int32_t Month = 0;
    std::string Batch;
};

}  // namespace tolvenk
