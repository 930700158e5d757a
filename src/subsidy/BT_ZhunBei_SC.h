#pragma once
#include "lang/LangGlobals.h"
#include "subsidy/BT_Batch_Form.h"

namespace tolvenk {

// Delete a batch (menu 7023): its prepared rows go; handed-out rows stay.
class BT_ZhunBei_SC : public BT_Batch_Form {
public:
    void Form_Load() override { Load_Batch_Form(L(163), L(163)); }
    void Command1_Click() override;
};

}  // namespace tolvenk
