#include "entry/BuiltInWindows.h"

#include <memory>

#include "reports/statistics/XF_Mingxi.h"
#include "reports/summary/XF_Cha_HZ.h"
#include "reports/summary/frmHZ_Format.h"
#include "ui/WindowRegistry.h"

namespace tolvenk {

void registerBuiltInWindows() {
    static const bool done = [] {
        registerDefaultWindow("XF_Cha_HZ", [] { return std::make_unique<XF_Cha_HZ>(); });
        registerDefaultWindow("frmHZ_Format", [] { return std::make_unique<frmHZ_Format>(); });
        registerDefaultWindow("XF_Mingxi", [] { return std::make_unique<XF_Mingxi>(); });
        return true;
    }();
    (void)done;
}

}  // namespace tolvenk
