#pragma once
#include <string>
#include <vector>

#include "data/CardService.h"
#include "data/IdClearing.h"
#include "data/XFService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

// ID balance clearing (menu 7040, also opened from the ID balance query): the
// cards of a department with their ID balances; the ticked ones are voided
// and set to 0, each card on its own, and the run is logged.
class IDYuE_QingLing : public forms::Form {
public:
    IDYuE_QingLing();

    ucKelmora ucDep1{*this};
    forms::CheckBox CheckAll{*this};
    forms::CommandButton Command1{*this};
    forms::Grid Grid1{*this};

    XFService XF;
    CardService Card;

    void Form_Load() override;
    void Form_Resize() override;
    void Load_IDYuE();
    void CheckAll_Click();
    void Command1_Click();

private:
    // The card number of each listed row as stored: a number stored in
    // another encoding is shown made valid, but cleared by its own bytes.
    std::vector<std::string> cardKeys_;
    std::size_t ticked_ = 0;  // the cards of the click, for a box that tells how far it came
    void layOut();
    void Say_Cleared(const ID_Clearing::Result& result, const std::string& failures);
};

}  // namespace tolvenk
