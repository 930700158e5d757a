#pragma once
#include <cstdint>
#include <string>

#include "data/BTService.h"
#include "data/DataList.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace tolvenk {

// The ID grant and re-grant windows (BT_ID_FF, BT_ID_BF): the batch chosen,
// its run (ID_Grant::Run) shown on a progress bar and its counts told.
class BT_ID_Grant : public forms::Form {
public:
    explicit BT_ID_Grant(bool regrant);

    forms::Label Label1{*this};
    forms::ComboBox Combo3{*this};
    forms::Label Label2{*this};
    forms::ComboBox Combo1{*this};
    forms::Label Label3{*this};
    forms::ComboBox Combo2{*this};
    forms::Label Label4{*this};
    forms::CommandButton Command1{*this};
    forms::CommandButton Command2{*this};
    forms::ProgressBar pBar1{*this};

    BTService BT;

    // The counts of the last run: credited, without a usable card, and
    // failed (left as they were, for a later run).
    int Credited = 0;
    int Without_Card = 0;
    int Failed = 0;

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();

private:
    void layOut();

    bool regrant_;
    bool running_ = false;
};

}  // namespace tolvenk
