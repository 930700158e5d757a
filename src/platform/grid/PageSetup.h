#pragma once
#include <string>

namespace tolvenk::grid {

// The page settings a window makes before a print preview.
struct PageSetup {
    std::string title;        // printed at the top of every page
    bool titleOn = false;
    std::string footer;       // printed at the bottom of every page
    bool footerOn = false;
    int orientation = 1;      // 1 portrait, 2 landscape
    bool switch1 = false, switch2 = false;  // settings without a visible effect here
    double setting1 = 0.0, setting2 = 0.0;
};

}  // namespace tolvenk::grid
