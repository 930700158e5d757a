#include "ui/WindowHelpers.h"

#include <chrono>
#include <cmath>

#include "data/LookupStore.h"
#include "data/Globals.h"
#include "data/SettlementDate.h"
#include "data/XFService.h"
#include "lang/LangGlobals.h"
#include "platform/forms/Form.h"
#include "platform/services/Services.h"
#include "ui/WindowKit.h"
#include "ui/WindowRegistry.h"

namespace tolvenk {

void Close_Window(forms::Form& window) { window.Unload(); }

void Fit_To_Screen(forms::Form& window) {
    const platform::ScreenSize screen = platform::services().screenSize();
    const long w = std::lround(std::nearbyint(screen.widthTwips / 100.0));
    const long h = std::lround(std::nearbyint(screen.heightTwips / 100.0));
    if (w > 150) window.setWidth(static_cast<int>(w * 90 - 100));
    if (h > 100) window.setHeight(static_cast<int>(h * 90 - 740));
}

void Keep_Min_Size(forms::Form& window) {
    if (window.Width() < MinWindowWidth) window.setWidth(MinWindowWidth);
    if (window.Height() < MinWindowHeight) window.setHeight(MinWindowHeight);
}

bool Open_Modal(const std::string& windowName) {
    forms::Form* window = windowObject(windowName);
    if (!window) return false;
    window->Show();
    return true;
}

std::string Get_First_Mach_Date() {
    if (!Conn_Main) return {};
    auto rs = Lookup_Store::First_Terminal_Date(Main_Connection());
    if (rs->eof()) return {};
    const auto first = readDate(rs->field(0).toString());
    if (!first) return {};
    return formatDate(addDays(*first, -1));
}

bool Warn_Unfinished_Settlement(const std::string& dateAsked) {
    const XFService::Settlement_Pending p = XFService().JieSuan_Pending();
    if (p.target.empty() || (!dateAsked.empty() && dateAsked >= p.target)) return false;
    platform::services().msgBox(Lf(p.running ? 1092 : 985, {p.target}), platform::vbExclamation, L(43));
    return true;
}

}  // namespace tolvenk
