#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/BTService.h"
#include "data/DataList.h"
#include "data/XFService.h"
#include "platform/db/Recordset.h"
#include "platform/MoneyText.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

// Transaction detail (menu 7034): every transaction of a period for the chosen
// employees, terminal, charging place, owner and kinds, one grid row each,
// with the kind named and coloured and total rows for the chosen kind group.
class XF_Mingxi : public forms::Form {
public:
    XF_Mingxi();

    ucKelmora ucDep1{*this};
    forms::ControlArray<forms::Label> Label1{*this};
    forms::ControlArray<forms::Label> Label2{*this};
    forms::ControlArray<forms::DTPicker> DTPicker1{*this};
    forms::ControlArray<forms::DTPicker> DTPicker2{*this};
    forms::Line Line3{*this};
    forms::CheckBox chkErr{*this};
    forms::ComboBox Combo4{*this};
    forms::ComboBox Combo5{*this};
    forms::ComboBox Combo3{*this};
    forms::ControlArray<forms::OptionButton> optType{*this};
    forms::ControlArray<forms::Frame> fraType{*this};
    forms::ControlArray<forms::CheckBox> chkType{*this};
    forms::Line Line1{*this};
    forms::CommandButton Command1{*this};
    forms::ControlArray<forms::CommandButton> Command4{*this};
    forms::CommandButton cmdExit{*this};
    forms::Grid Grid1{*this};
    // Built after the grid so the progress panel lies above it.
    forms::Frame Frame1{*this};
    forms::Label lblBar{*this};
    forms::ProgressBar Bar1{*this};

    // Replaced at every load.
    BTService BT;
    XFService XF;
    std::shared_ptr<db::Recordset> Rs_Emp;
    DataList Mach_List, Dian_List, Unit_List;

    // State of the query and the fill.
    std::string Sel_DeptNo;
    bool Emp_Path = false;
    std::shared_ptr<db::Recordset> Rs_Emp_Ids;
    // The rows of the last query go to the grid as they are read, none kept
    // beside it: this counts them (the grid then holds them, totals after).
    std::int64_t Detail_Rows = 0;
    std::vector<std::string> Type_Codes;
    std::int16_t Type_Count = 0;
    // Exact sums of the stored amounts and counts, wider than any one of them.
    Exact_Sum Sum_JinE;
    std::int64_t Sum_Ci = 0;  // 64 bits: a site's times outgrow 32
    std::array<Exact_Sum, 6> Type_Sum{};

    void Form_Load() override;
    void Form_Resize() override;
    // The person set, the lists and the last query's state go with the window.
    void Form_Unload(int& Cancel) override;

    void Command1_Click();
    // The print preview, with the panel counting the pages it lays out.
    void Print_Click();
    void cmdExit_Click();
    void optType_Click(int Index);

    void Set_Captions();
    void Fill_Mach_Combo();
    void Fill_Dian_Combo();
    void Fill_Unit_Combo();
    void Init_Mingxi_Grid();

    bool Load_Emp_Ids();
    void Load_Emp_Rs();
    std::string Find_Emp(const std::string& Name, const std::string& Code, const std::string& PNum);

    // Writes the query's rows into the grid as they are read, then the totals.
    void Fill_Mingxi_Grid(db::RowCursor* rows);
    std::string Get_Type_Name(const std::int16_t& Code);
    static void Clear_Totals(std::array<Exact_Sum, 6>& Sums);
    void Add_Total_Rows();

private:
    // The stored amount and count of the row being filled, as Get_Type_Name sums them.
    std::string rowChange_, rowTimes_;
    void layOut();
    // Lays the rows again whose captions do not fit in the language in use.
    void Fit_Caption_Rows();
    // Builds Type_Codes and Type_Count from the chosen group; false when a
    // group is chosen and none of its boxes is ticked.
    bool Build_Type_List();
    int Chosen_Group() const;
    // Appends a row and numbers it in column 0; returns its index.
    int Append_Row();
    void Fill_Row(int row, const db::RowCursor& rows);
    // The bar's end, estimated from how far into the period the rows have come.
    void Estimate_Bar(std::int64_t row, const std::string& at);
    std::int64_t periodStart_ = 0, periodSeconds_ = 0;

    // The result's columns, found by name once per query.
    struct Detail_Cols {
        int date, change, times, timesAfter, balance, kind, person, dian, mach, unit, err;
        int name = -1, code = -1, dept = -1;  // the joined names, on the department path
    };
    Detail_Cols cols_{};
    bool running_ = false;
};

}  // namespace tolvenk
