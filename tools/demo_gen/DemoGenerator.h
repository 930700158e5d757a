#pragma once
#include <string>

namespace tolvenk::demo {

struct Options {
    std::string businessPath;  // new file, e.g. demo/TAM08.mdb
    std::string configPath;    // new file, e.g. demo/Config.mdb; empty = none
    long transactions = 200000;
    unsigned seed = 1;
};

struct Summary {
    long transactions = 0;
};

Summary generate(const Options& options);

}  // namespace tolvenk::demo
