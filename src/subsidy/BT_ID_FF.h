#pragma once
#include "subsidy/BT_ID_Grant.h"

namespace tolvenk {

// ID subsidy grant (menu 7030): every prepared row of an ID batch credited
// to the employee's usable ID card, or left waiting without one.
class BT_ID_FF : public BT_ID_Grant {
public:
    BT_ID_FF() : BT_ID_Grant(false) {}
};

}  // namespace tolvenk
