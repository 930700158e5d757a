#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "data/CardService.h"
#include "data/HzFormatStore.h"
#include "data/XFService.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/DTPicker.h"
#include "platform/forms/Form.h"
#include "platform/forms/Grid.h"
#include "platform/forms/Line.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/ProgressBar.h"
#include "reports/summary/HzReportState.h"

namespace tolvenk {


// Consumption summary statistics (menu 7032): the operator picks a built-in
// or defined report, sets the period and a value of its first grouping
// dimension, and runs it into the grid.
class XF_Cha_HZ : public forms::Form {
public:
    XF_Cha_HZ();
    ~XF_Cha_HZ() override;

    forms::Frame Frame2{*this};
    forms::ControlArray<forms::Label> Label1{*this};
    forms::ComboBox Combo1{*this};
    forms::DTPicker DTPicker1{*this};
    forms::DTPicker DTPicker2{*this};
    forms::Line Line1{*this};
    forms::TextBox Text1{*this};
    forms::TextBox Text2{*this};
    forms::CheckBox Check1{*this};
    forms::PictureBox Picture1{*this};
    forms::ListBox List1{*this};
    forms::CommandButton Command3{*this};
    forms::CommandButton Command5{*this};
    forms::CommandButton Command2{*this};
    forms::CommandButton Command1{*this};
    forms::ControlArray<forms::CommandButton> Command4{*this};
    forms::ProgressBar pBar1{*this};
    forms::ProgressBar pBar2{*this};
    forms::ProgressBar pBar3{*this};
    forms::Grid Grid1{*this};

    // The selected report and what the header and the run share.
    HzReportState St;
    XFService XF;
    CardService Card;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;

    void List1_Click();
    void Check1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command5_Click();
    void DTPicker1_Change();
    void DTPicker2_Change();

    void Fill_Rep_List();
    std::int16_t Sys_Rep_Code(const std::string& name) const;
    void Load_Sys_Format();
    void Load_Rep_Format();
    void Load_Dim_Combo();
    void Fill_Dim_Combo(forms::ComboBox& combo, const std::string& code);
    void Load_Rep_By_Name();
    void Hide_Output_Buttons();
    void Show_Output_Buttons();

    // The report run; the window checks the period before it. Set to the
    // window's own run.
    std::function<void()> Run_Report;
    // Runs reports with a statement per cell instead of the figures read once.
    bool Per_Cell_Statements = false;
    // Runs read one state of the database where the engine allows (see HzReportEngine).
    bool One_Snapshot = true;

private:
    // Runs the chosen report into the grid; traps every error that reaches it.
    void Run();
    void layOut();
    // Lays the condition row again when its captions do not fit.
    void Fit_Caption_Rows();
    void showDateRow(bool visible);
    // List1_Click's two halves: the chosen report's format, then its controls.
    void Select_Report(const std::string& text, int n);
    void Show_Report_Controls();
    void setMonthTexts();
    // The report formats on the main connection.
    HZ_Format_Store formats();
    int firstDim() const;
    bool running_ = false;
};

}  // namespace tolvenk
