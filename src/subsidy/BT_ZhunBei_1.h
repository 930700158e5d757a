#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "data/BTService.h"
#include "data/DataList.h"
#include "platform/MoneyText.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

namespace excel {
class Sheet;
}
class Run_Lock;

// The subsidy batch editor: the prepared rows of the current batch
// (Cur_B_Year, Cur_B_Month, Cur_B_Times, Cur_B_Unit) listed by department or
// employee, one amount or number of times set for the ticked rows at once,
// and the import of amounts or times from a workbook. No menu code opens it;
// the new-batch and modify windows do, through Open_Editor.
class BT_ZhunBei_1 : public forms::Form {
public:
    BT_ZhunBei_1();

    // Grid columns.
    enum Column {
        colTick = 1, colPinfo = 2, colName = 3, colCode = 4, colDept = 5, colDeptCode = 6, colPosition = 7,
        colJinE = 8, colCi = 9, colMark = 10, colID = 11, colCount = 12
    };
    static constexpr int kFirstRow = 2;  // row 0 the totals, row 1 the titles

    ucKelmora ucDep1{*this};
    forms::CommandButton Com_Zao{*this};
    forms::CheckBox CheckAll{*this};
    forms::Grid Grid1{*this};
    forms::Frame Frame1{*this};
    forms::CommandButton Command6{*this};
    forms::CommandButton Command3{*this};
    forms::CommandButton Command2{*this};
    forms::CommandButton Command4{*this};
    forms::CommandButton Command1{*this};
    forms::CommandButton Command12{*this};
    forms::CommandButton Command8{*this};
    forms::CommandButton Command5{*this};
    // Built after the grid so the panels lie above it.
    forms::PictureBox Picture1{*this};
    forms::Label Label3{*this};
    forms::Label Label4{*this};
    forms::TextBox Text1{*this};
    forms::CommandButton Command11{*this};
    forms::ControlArray<forms::Label> Label5{*this};
    forms::TextBox Text3{*this};
    forms::TextBox Text5{*this};
    forms::CommandButton Command9{*this};
    forms::CommandButton Command10{*this};
    forms::PictureBox Pic_1{*this};
    forms::Label Label_1{*this};
    forms::ProgressBar Bar_1{*this};

    BTService BT;

    // The batch, copied from the current-batch globals at load.
    std::int32_t B_Year = 0;
    std::int32_t B_Month = 0;
    std::string B_Times;
    std::int16_t B_Unit = 0;

    // The employee list and the picker's last choice; kept across openings.
    DataList Emp_List;
    std::string Sel_DeptNo, Sel_Name, Sel_Code;

    // The totals row, and the rows stored by the last set operation or save.
    // Exact, wider than any one amount; shown as the overflow mark otherwise.
    Exact_Sum Sum_JinE;
    Exact_Sum Sum_Ci;
    int Emp_Count = 0;
    int Saved_Count = 0;

    // Loads the editor for the current batch, shows the zero filter of its
    // kind and shows it modally; returns when it is closed.
    static void Open_Editor(std::int16_t kind);

    void Form_Load() override;
    void Form_Resize() override;

    void check_J_C(std::int16_t kind);
    void Set_Captions_ZB();
    void Init_Grid_ZB();
    void Load_BT_Grid(const std::string& J_Is_Ling, const std::string& C_Is_Ling);

    void Com_Zao_Click();
    void ucDep1_Dept_Changed(const std::string& deptNo);
    void Command6_Click();
    void Command3_Click();
    void CheckAll_Click();
    void Command2_Click();
    void Command4_Click();
    void Command5_Click();

    // The import from a workbook and its save.
    void Command1_Click();
    void Command11_Click();
    void Command10_Click();
    void Command9_Click();
    void Command12_Click();

private:
    void layOut();
    bool Ask_Picker();
    bool isMoney() const;
    // Sets one value for the ticked rows (money or times).
    void Set_Ticked(bool times);
    void Show_Totals();
    // The money and times totals over the grid's rows, as they show.
    void Sum_Grid();
    // Stores the values of these grid rows in one transaction and shows and
    // counts what was stored; false, with text 110 shown, when nothing was.
    bool Store_Values(const std::vector<int>& gridRows, const std::vector<BTService::BtValue>& rows, bool times);
    // The import panel's path and sheet rows, as typed.
    struct Import_Range {
        std::string path;
        int first = 0, last = 0;
    };
    // The checks of the import panel before the workbook is read; nothing
    // when one refused it, its box shown and the focus on the box at fault.
    std::optional<Import_Range> Checked_Range();
    // The import's loop over the sheet rows; false when the window closed.
    bool Import_Rows(const excel::Sheet& sheet, int first, int last, const Run_Lock& lock);
    // The refusal of a bad amount or times, as the typed entry gives it.
    std::string Value_Message(int problem, bool times) const;

    bool running_ = false;
};

}  // namespace tolvenk
