#include "support/PdfInfo.h"

#include <cstdio>
#include <regex>

namespace tolvenk::test {

int pdfPages(const std::string& pdf) {
    FILE* info = popen(("pdfinfo '" + pdf + "'").c_str(), "r");
    std::string out;
    char buf[512];
    for (std::size_t n; info && (n = fread(buf, 1, sizeof buf, info)) > 0;) out.append(buf, n);
    if (info) pclose(info);
    std::smatch m;
    return std::regex_search(out, m, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(m[1]) : -1;
}

}  // namespace tolvenk::test
