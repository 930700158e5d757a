#pragma once
#include "lang/LangGlobals.h"
#include "subsidy/BT_Batch_Form.h"

namespace tolvenk {

// Stop a batch (menu 7025): its rows at or on their way to the terminals
// are stopped.
class BT_ZhunBei_Stop : public BT_Batch_Form {
public:
    void Form_Load() override { Load_Batch_Form(L(166), L(166)); }
    void Command1_Click() override;
};

}  // namespace tolvenk
