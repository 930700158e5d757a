#include "data/HzRepDefaults.h"

namespace tolvenk {

std::string HZ_Default_Format(int reportNo) {
    // Cash reports, ledger reports, consumption statistics; each daily, monthly, range.
    static const char* const defaults[] = {
        "10000;1111;11001000;000000", "20000;1111;11001000;000000", "30000;1111;11001000;000000",
        "10000;1111;11110100;000000", "20000;1111;11110100;000000", "30000;1111;11110100;000000",
        "10000;0011;00000100;111111", "20000;0011;00000100;111111", "30000;0011;00000100;111111"};
    return reportNo >= 1 && reportNo <= 9 ? defaults[reportNo - 1] : std::string();
}

}  // namespace tolvenk
