#pragma once
#include <cstdint>
#include <string>

#include "data/BTService.h"
#include "data/DataList.h"
#include "data/XFService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

// IC balance query (menu 7036): each chosen employee's IC balance at the end
// of a day, from his last valid card transaction up to it, with a total row;
// optionally the profit/loss correction of every card he was issued.
class YuE_HZ_Cha : public forms::Form {
public:
    YuE_HZ_Cha();

    ucKelmora ucDep1{*this};
    forms::Label Label1{*this};
    forms::DTPicker DTPicker1{*this};
    forms::CommandButton Command1{*this};
    forms::CheckBox Check1{*this};
    forms::Frame Frame1{*this};
    forms::ControlArray<forms::CommandButton> Command4{*this};
    forms::Line Line1{*this};
    forms::Grid Grid1{*this};
    // Built after the grid so the progress panel lies above it.
    forms::PictureBox Pic_1{*this};
    forms::Label Label2{*this};
    forms::ProgressBar Bar1{*this};

    XFService XF;
    BTService BT;

    void Form_Load() override;
    void Form_Resize() override;
    void Command1_Click();

    // The profit/loss correction of one card: one Err_Code 2 row per break of
    // its balance chain before the cut-off. Returns how many of those rows
    // could not be written; the first reason goes to `error`.
    int Check_SunYi(std::int32_t person, const std::string& card, const std::string& cutoff, std::string& error);

private:
    void layOut();
    void setAlignments();
    bool running_ = false;
};

}  // namespace tolvenk
