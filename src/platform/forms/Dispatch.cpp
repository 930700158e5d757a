#include "platform/forms/Dispatch.h"

#include <exception>
#include <string>

#include "platform/Error.h"
#include "platform/ShownText.h"
#include "platform/services/Services.h"

namespace tolvenk::forms {

void dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const VbError& e) {
        platform::services().msgBox(
            platform::shownText(1004, "Error %1: %2", {std::to_string(e.number()), e.what()}), platform::vbCritical,
            "Tolvenk");
    } catch (const std::exception& e) {
        platform::services().msgBox(e.what(), platform::vbCritical, "Tolvenk");
    }
}

}  // namespace tolvenk::forms
