#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "data/HzFormatStore.h"
#include "data/HzRepFormat.h"
#include "data/XFService.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/PictureBox.h"

namespace tolvenk {

// The report-format editor: lists the nine built-in and every defined
// summary-report format, adds, changes and deletes defined ones, changes
// built-in ones and restores the built-in defaults. Opened modally from the
// summary-report window, which follows its changes.
class frmHZ_Format : public forms::Form {
public:
    frmHZ_Format();

    forms::Grid Grid1{*this};
    forms::Frame Frame1{*this};
    forms::CommandButton cmdNew{*this};
    forms::CommandButton cmdModify{*this};
    forms::CommandButton cmdDelete{*this};
    forms::CommandButton cmdDefault{*this};
    forms::CommandButton cmdExit{*this};
    // The editing panel, built after the grid so that it lies above it.
    forms::PictureBox Picture1{*this};
    forms::Label Label1{*this};
    forms::TextBox Text1{*this};
    forms::Label Label2{*this};
    forms::ComboBox Combo1{*this};
    forms::Label Label3{*this};
    forms::ComboBox Combo2{*this};
    forms::Label Label4{*this};
    forms::ComboBox Combo3{*this};
    forms::ControlArray<forms::CheckBox> Check1{*this};
    forms::Frame Frame3{*this};
    forms::ControlArray<forms::CheckBox> Check2{*this};
    forms::Frame Frame4{*this};
    forms::ControlArray<forms::CheckBox> Check3{*this};
    forms::TextBox Text2{*this};
    forms::ComboBox Combo4{*this, forms::ComboBox::DropdownCombo};
    forms::CommandButton cmd_Add{*this};
    forms::CommandButton cmd_Cancle{*this};

    // Kept across openings of the window.
    std::int16_t Edit_Mode = 0;  // 1 new format, 2 existing one
    std::int32_t Sel_Row = 0;    // grid row that Modify or Delete took
    std::string Cur_Rep_No;      // report number of the format last stored
    XFService XF;

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& Cancel) override;

    void Check2_Click(int Index);
    void Combo2_Click();
    void Grid1_CellChange(int Row, int Col);
    void cmdNew_Click();
    void cmdModify_Click();
    void cmdDelete_Click();
    void cmdDefault_Click();
    void cmd_Add_Click();
    // The format the editor's lists and boxes describe, under `name`.
    HZ_Rep_Format Edited_Format(const std::string& name);
    void cmd_Cancle_Click();
    void cmdExit_Click();

    void Init_Format_Grid();
    void Load_Sys_Formats();
    void Load_Custom_Formats();
    void Add_Format_Row();
    void Update_Format_Row();
    bool Check_Item_Dims();
    void Fill_Small_Type();
    void Clear_Editor();

    // The text a list shows for a code: kind 1 report type, 2 first, 3 second dimension.
    static std::string Code_Caption(int kind, int code);

private:
    void layOut();
    // Lays the tick boxes again when their captions do not fit.
    void Fit_Caption_Rows();
    void placeSaveButtons();
    // The report formats on the main connection.
    HZ_Format_Store formats();
    void fillFormatCols(int row, const std::string& P2, const std::string& P3, const std::string& P4,
                        const std::string& P5, bool sysRow);
    // Shows the record set's remaining records: row -1 appends one row each,
    // another row is rewritten by each in turn.
    void writeRecordRows(int row);
    void fitColumns();
    bool checkDimItems(int code, int textNo);
    bool checkRangeDate();
    std::string chosenNumber();
    static bool isBuiltInTitle(const std::string& name);

    std::shared_ptr<db::Recordset> rs_;
    int itemRowsGrow_ = 0;  // how much taller the item boxes' rows came out than designed
};

}  // namespace tolvenk
