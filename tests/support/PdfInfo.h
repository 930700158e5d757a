#pragma once
// What the system's PDF tools say of a file a test wrote.
#include <string>

namespace tolvenk::test {

// The page count pdfinfo gives the file; -1 when it tells none.
int pdfPages(const std::string& pdf);

}  // namespace tolvenk::test
