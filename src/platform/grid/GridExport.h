#pragma once
#include <string>

#include "platform/grid/GridModel.h"

namespace tolvenk::grid {

// Writes the grid to a file; false when the file could not be written.
// Each export carries texts, merges, widths (hidden columns stay hidden),
// alignment and colours as far as the format allows.
bool exportXlsx(const GridModel& model, const std::string& path);   // Office Open XML workbook
bool exportHtml(const GridModel& model, const std::string& path);   // one table, UTF-8
bool exportXml(const GridModel& model, const std::string& path);    // SpreadsheetML 2003

}  // namespace tolvenk::grid
