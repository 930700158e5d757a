#pragma once
#include <functional>

namespace tolvenk {

namespace forms {
class Form;
}

namespace meals {

// The meal editors end a save alike: a database error in its box, a write the
// service refused as text 313, success as text 133 and the window closed.
void saveAndClose(forms::Form& window, const std::function<bool()>& write);

}  // namespace meals
}  // namespace tolvenk
