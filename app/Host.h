#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace tolvenk::host {

// Whether the environment names a screen for the windows: a display, or a
// platform of the toolkit's own (QT_QPA_PLATFORM).
bool screenNamed();

// The host program's work: args are sPara, sUser and sCN. Returns the exit
// code: 0 when the call returned normally, 1 when it failed or could not open
// its databases (the error goes to `out`), 2 on bad usage,
// 3 when no screen is named (one line says what to set).
int run(const std::vector<std::string>& args, std::ostream& out);

}  // namespace tolvenk::host
