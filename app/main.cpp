#include <iostream>

#include "Host.h"

int main(int argc, char** argv) {
    return tolvenk::host::run(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
