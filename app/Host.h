#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace tolvenk::host {

// Whether an X server answers at `display`, a value of DISPLAY: ":n",
// "unix:n" and "host:n" (each with an optional ".screen") are tried, on the
// local sockets or on TCP port 6000 + n. A form not known here counts as
// answering: the toolkit is left to try it.
bool xServerAnswers(const std::string& display);

// What to tell when the environment offers no screen for the windows: empty
// when it names one (a platform of the toolkit's own in QT_QPA_PLATFORM, a
// Wayland display, or an X display a server answers on).
std::string noScreen();

// The host program's work: args are sPara, sUser and sCN. Returns the exit
// code: 0 when the call returned normally, 1 when it failed or could not open
// its databases (the error goes to `out`), 2 on bad usage,
// 3 when there is no screen to show the window on (one line says why).
int run(const std::vector<std::string>& args, std::ostream& out);

}  // namespace tolvenk::host
