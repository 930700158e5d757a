#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace tolvenk::host {

// The host program's work: args are sPara, sUser and sCN. Returns the exit
// code: 0 when the call returned normally, 1 when it failed, 2 on bad usage.
int run(const std::vector<std::string>& args, std::ostream& out);

}  // namespace tolvenk::host
