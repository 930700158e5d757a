#pragma once
#include <string>

#include "platform/ShownText.h"
#include "platform/grid/GridModel.h"

namespace tolvenk::grid {

struct ExportOptions {
    // The report's title: the workbook's printed page header, the HTML page's title.
    std::string title;
};

// Why an export failed: what the person who asked for it is told, and below
// it for support the file's name with the system's words (empty where no
// system call failed: a grid larger than the format holds).
struct ExportFailure {
    platform::NumberedText told;
    std::string system;
};

// Writes the grid to a file; false when the file could not be written, with
// the reason in `whyNot`. The file is written beside the target and takes its
// place only when complete, so a failure leaves an older file as it was; a
// read-only target is refused.
// Each export carries texts, merges, widths (hidden columns stay hidden),
// alignment and colours as far as the format allows; data cells that read as
// numbers or money amounts are numbers in the workbook and in SpreadsheetML.
bool exportXlsx(const GridModel& model, const std::string& path, const ExportOptions& options = {},
                ExportFailure* whyNot = nullptr);  // Office Open XML workbook
bool exportHtml(const GridModel& model, const std::string& path, const ExportOptions& options = {},
                ExportFailure* whyNot = nullptr);  // one table, UTF-8
bool exportXml(const GridModel& model, const std::string& path, const ExportOptions& options = {},
               ExportFailure* whyNot = nullptr);  // SpreadsheetML 2003

}  // namespace tolvenk::grid
