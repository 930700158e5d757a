#include "data/CardSysMode.h"

#include <cmath>

#include "platform/ShownText.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"

namespace tolvenk::Card_Sys_Mode {

namespace {

[[noreturn]] void refuse(const std::string& p2) {
    throw db::DbError::told(platform::numberedText(1050,
                                                   "The card system setting (P2 of the Sys_Config row in Sys_Para) "
                                                   "reads '%1', which is no card system number, so it cannot be told "
                                                   "whether the cards are IC or ID cards and this step was not done. "
                                                   "Ask your administrator to correct the setting.",
                                                   {p2}),
                            13);
}

}  // namespace

double number(const std::string& p2) {
    const auto mode = parseNumber(p2);
    if (!mode) refuse(p2);
    return *mode;
}

std::int32_t read(const std::string& p2) {
    const double mode = number(p2);
    if (std::fabs(mode) > 2e9) refuse(p2);
    return static_cast<std::int32_t>(std::nearbyint(mode));
}

}  // namespace tolvenk::Card_Sys_Mode
