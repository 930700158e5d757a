#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/BTService.h"
#include "data/CardService.h"
#include "data/ChongHzStore.h"
#include "data/DataList.h"
#include "data/XFService.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// Summary of terminal or computer transactions by day or month, grouped by
// one or two chosen kinds, with subtotal and total rows. No menu code opens
// it; another window may, through the registry.
class XF_Chong_HZ : public forms::Form {
public:
    XF_Chong_HZ();

    forms::Frame Frame1{*this};
    forms::ControlArray<forms::OptionButton> Option2{*this};
    forms::Frame Frame2{*this};
    forms::ControlArray<forms::OptionButton> Option1{*this};
    forms::ControlArray<forms::Label> Label1{*this};
    forms::DTPicker DTPicker1{*this};
    forms::DTPicker DTPicker2{*this};
    // After the pickers, so a month text lies above its picker's day part.
    forms::TextBox Text1{*this};
    forms::TextBox Text2{*this};
    forms::Line Line1{*this};
    forms::Label Label2{*this};
    forms::ComboBox Combo2{*this};
    forms::Label Label3{*this};
    forms::ComboBox Combo3{*this};
    forms::ComboBox Combo1{*this};
    forms::ComboBox Combo4{*this};
    forms::CommandButton Command1{*this};
    forms::CommandButton Command2{*this};
    forms::ControlArray<forms::CommandButton> Command4{*this};
    forms::ProgressBar pBar3{*this};
    forms::Grid Grid1{*this};

    // Replaced at every load.
    XFService XF;
    CardService Card;
    BTService BT;
    DataList Ci_Config;  // the Sys_Config row: its P5 switches the times functions

    // The key of each entry of Combo1 (level 0) and Combo4 (level 1), as the
    // master table holds it; entry 0, "all", has none.
    std::array<std::vector<std::string>, 2> Cond_Keys;
    // The last summary's rows, kept until the next one or the window's end.
    std::shared_ptr<db::Recordset> Sum_Rs;

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& Cancel) override;

    void Option2_Click(int Index);
    void Init_Chong_Grid(int Mode);
    void Option1_Click(int Index);
    void Snap_Month_Start();
    void Show_End_Month();

    void Fill_Cond_Combo(forms::ComboBox& KindList, forms::ComboBox& CondList, int Level);
    std::string Find_Group_Name(const std::string& Key, int Level, std::string& OutKey, int Mode) const;

    void Sum_By_Computer();
    void Sum_By_Terminal();

private:
    void layOut();
    // Both summaries: the statement, the control break and the finishing.
    void Run_Summary(bool terminal);
    // The statement's request from the pickers and lists; `modes` gets 1 for
    // a level whose values are compared as texts (the cashier).
    Chong_HZ_Store::Request Make_Request(bool terminal, bool months, const std::string& first,
                                         const std::string& last, int (&modes)[2]) const;
    bool running_ = false;
};

}  // namespace tolvenk
