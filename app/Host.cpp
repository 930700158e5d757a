#include "Host.h"

#include "tolvenk/Quernat.h"

namespace tolvenk::host {

int run(const std::vector<std::string>& args, std::ostream& out) {
    if (args.size() != 3) {
        out << "usage: tolvenk-host <menu code;language;access code> <operator> "
               "<config folder;config file;password;;[money sign]>\n";
        return 2;
    }
    Quernat module;
    try {
        module.mnuLoad(args[0], args[1], args[2]);
    } catch (const TolvenkError& e) {
        out << "Error " << e.number() << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace tolvenk::host
