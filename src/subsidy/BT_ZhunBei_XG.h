#pragma once
#include "lang/LangGlobals.h"
#include "subsidy/BT_Batch_Form.h"

namespace tolvenk {

// Modify a batch (menu 7022): a batch that still has prepared rows opens in
// the batch editor.
class BT_ZhunBei_XG : public BT_Batch_Form {
public:
    void Form_Load() override { Load_Batch_Form(L(169), L(170)); }
    void Command1_Click() override;
};

}  // namespace tolvenk
