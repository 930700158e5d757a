#include "meals/MealSave.h"

#include <exception>

#include "lang/LangGlobals.h"
#include "platform/forms/Form.h"
#include "platform/services/Services.h"
#include "ui/WindowKit.h"

namespace tolvenk::meals {

void saveAndClose(forms::Form& window, const std::function<bool()>& write) {
    auto& sv = platform::services();
    bool ok = false;
    try {
        ok = write();
    } catch (const std::exception& e) {
        Show_Error(e);
        return;
    }
    if (!ok) {
        sv.msgBox(L(313), platform::vbInformation, L(43));
        return;
    }
    sv.msgBox(L(133), platform::vbInformation, L(43));
    window.Unload();
}

}  // namespace tolvenk::meals
