#pragma once
// What the three exports share: a cell's look, colours as text, the merged
// block of each cell, escaping and writing a whole file.
#include <optional>
#include <string>
#include <vector>

#include "platform/grid/GridModel.h"

namespace tolvenk::grid::exporting {

struct Look {
    Alignment align;
    Colour fore;
    std::optional<Colour> back;
    auto operator<=>(const Look&) const = default;
};

// The cell's own back colour, else the alternating colour of its data row.
// White is the page's own colour and is left out (a white fill hides lines).
std::optional<Colour> backOf(const GridModel& m, int r, int c);
Look lookOf(const GridModel& m, int r, int c);

// "#RRGGBB" from 0x00BBGGRR.
std::string hexRgb(Colour c);

// Block index per cell (-1 for none), so the cell loop does not scan every block.
std::vector<int> blockIndex(const GridModel& m);

// XML escaping; control characters, which XML readers reject, are dropped and a
// line break becomes `lineBreak`.
void appendEscaped(std::string& out, const std::string& s, const char* lineBreak);

// Writes the whole file or nothing: a cut-off file is removed again.
bool writeWhole(const std::string& path, const std::string& content);

}  // namespace tolvenk::grid::exporting
