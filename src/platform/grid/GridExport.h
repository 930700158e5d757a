#pragma once
#include <string>

#include "platform/grid/GridModel.h"

namespace tolvenk::grid {

struct ExportOptions {
    // The report's title: the workbook's printed page header, the HTML page's title.
    std::string title;
};

// Writes the grid to a file; false when the file could not be written, with
// the reason (the file's name and the system's words) in `whyNot`. The file
// is written beside the target and takes its place only when complete, so a
// failure leaves an older file as it was; a read-only target is refused.
// Each export carries texts, merges, widths (hidden columns stay hidden),
// alignment and colours as far as the format allows; data cells that read as
// numbers or money amounts are numbers in the workbook and in SpreadsheetML.
bool exportXlsx(const GridModel& model, const std::string& path, const ExportOptions& options = {},
                std::string* whyNot = nullptr);  // Office Open XML workbook
bool exportHtml(const GridModel& model, const std::string& path, const ExportOptions& options = {},
                std::string* whyNot = nullptr);  // one table, UTF-8
bool exportXml(const GridModel& model, const std::string& path, const ExportOptions& options = {},
               std::string* whyNot = nullptr);  // SpreadsheetML 2003

}  // namespace tolvenk::grid
