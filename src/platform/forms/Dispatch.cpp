#include "platform/forms/Dispatch.h"

#include <exception>
#include <string>

#include "platform/ErrorText.h"
#include "platform/services/Services.h"

namespace tolvenk::forms {

void dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        platform::services().msgBox(platform::errorText(e), platform::vbCritical, platform::kApplicationTitle);
    }
}

}  // namespace tolvenk::forms
