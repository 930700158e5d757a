#pragma once
#include "platform/forms/Control.h"

class QFrame;

namespace tolvenk::forms {

// A plain panel: a container without caption. Controls put into it with
// setContainer move, hide and are disabled with it.
class PictureBox : public Control {
public:
    explicit PictureBox(Form& form);
};

}  // namespace tolvenk::forms
