#pragma once
// Grid cells shown whole: a column (or merged block) at least as wide as the
// text it holds, in the grid's own font.
#include <string>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/forms/Grid.h"

namespace tolvenk::test {

// The shown cells whose text is wider than their room, as
// "(row,col) text: room < needed". Hidden rows and columns are left out.
std::vector<std::string> cutCells(const forms::Grid& g);

// The same for every grid the window shows, each prefixed by its place.
std::vector<std::string> cutCells(const forms::Form& w);

}  // namespace tolvenk::test
