#pragma once
#include "lang/LangGlobals.h"
#include "subsidy/BT_Batch_Form.h"

namespace tolvenk {

// IC subsidy grant (menu 7024): the prepared rows of an IC batch go to each
// employee's subsidy terminal of the batch's kind; the others stay prepared.
class BT_ZhunBei_FF : public BT_Batch_Form {
public:
    void Form_Load() override { Load_Batch_Form(L(48), L(48)); }
    void Command1_Click() override;
};

}  // namespace tolvenk
