#pragma once
#include "subsidy/BT_ID_Grant.h"

namespace tolvenk {

// ID subsidy re-grant (menu 7029): the rows of an ID batch that waited for a
// usable card, credited to the card the employee has now.
class BT_ID_BF : public BT_ID_Grant {
public:
    BT_ID_BF() : BT_ID_Grant(true) {}
};

}  // namespace tolvenk
