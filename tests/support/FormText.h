#pragma once
// What a window shows, read as text: grid cells, the columns a person can
// see, a list's entries.
#include <string>
#include <vector>

#include "platform/forms/ComboBox.h"
#include "platform/forms/Grid.h"

namespace tolvenk::test {

// Columns from..to of a grid row.
inline std::vector<std::string> gridRow(forms::Grid& g, int r, int from, int to) {
    std::vector<std::string> out;
    for (int c = from; c <= to; ++c) out.push_back(g.Cell(r, c).Text());
    return out;
}

// The first row from `from` on whose column `c` reads `text`; -1 when none does.
inline int gridRowOf(forms::Grid& g, int c, const std::string& text, int from = 1) {
    for (int r = from; r < g.Rows(); ++r)
        if (g.Cell(r, c).Text() == text) return r;
    return -1;
}

// The grid's columns from 1 on that are not hidden.
inline std::vector<int> shownColumns(forms::Grid& g) {
    std::vector<int> out;
    for (int c = 1; c < g.Cols(); ++c)
        if (g.Column(c).Width() > 0) out.push_back(c);
    return out;
}

// The grid's columns from 1 on that are hidden.
inline std::vector<int> hiddenColumns(forms::Grid& g) {
    std::vector<int> out;
    for (int c = 1; c < g.Cols(); ++c)
        if (g.Column(c).Width() == 0) out.push_back(c);
    return out;
}

inline std::vector<std::string> listItems(const forms::ComboBox& c) {
    std::vector<std::string> out;
    for (int i = 0; i < c.ListCount(); ++i) out.push_back(c.List(i));
    return out;
}

}  // namespace tolvenk::test
