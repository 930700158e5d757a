#pragma once
#include <string>

#include "data/BTService.h"
#include "data/XFService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/MoneyText.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

// ID balance query (menu 7039): each chosen employee's ID balance at the end
// of a day, the sum of his valid money changes up to it, with a total row;
// its button opens the ID balance clearing.
class YuE_ID_Cha : public forms::Form {
public:
    YuE_ID_Cha();

    ucKelmora ucDep1{*this};
    forms::Label Label1{*this};
    forms::DTPicker DTPicker1{*this};
    forms::CommandButton Command1{*this};
    forms::CommandButton Command2{*this};
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
    void Command2_Click();

private:
    struct Balance {
        std::string when;  // the last counted row's time
        Exact_Sum fen;
        bool rows = false;  // any row counted
    };
    Balance balanceOf(std::int32_t person, const std::string& bound);
    void layOut();
    void setAlignments();
    bool running_ = false;
};

}  // namespace tolvenk
