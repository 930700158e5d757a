#include "Host.h"

#include <cstdlib>
#include <sstream>

#include "tolvenk/Quernat.h"

namespace tolvenk::host {

namespace {

bool named(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// A box's words as lines of a terminal: no carriage returns, no blank lines,
// no indent.
std::string asLines(const std::string& box) {
    std::string out, line;
    std::istringstream in(box);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos) out += line.substr(start) + "\n";
    }
    return out;
}

}  // namespace

bool screenNamed() { return named("QT_QPA_PLATFORM") || named("DISPLAY") || named("WAYLAND_DISPLAY"); }

int run(const std::vector<std::string>& args, std::ostream& out) {
    if (args.size() != 3) {
        out << "usage: tolvenk-host <menu code;language;access code> <operator> "
               "<config folder;config file;password;;[money sign]>\n";
        return 2;
    }
    // Without one the toolkit would end the process on its first window.
    if (!screenNamed()) {
        out << "tolvenk-host: no screen to show the window on: set DISPLAY (or WAYLAND_DISPLAY) to a running "
               "display, or QT_QPA_PLATFORM=offscreen to run without one\n";
        return 3;
    }
    Quernat module;
    try {
        module.mnuLoad(args[0], args[1], args[2]);
    } catch (const TolvenkError& e) {
        out << "Error " << e.number() << ": " << e.what() << "\n";
        return 1;
    }
    // The module showed the operator a box and returned: the host's caller
    // is told as well.
    if (const std::string why = module.Open_Failure(); !why.empty()) {
        out << asLines(why);
        return 1;
    }
    return 0;
}

}  // namespace tolvenk::host
