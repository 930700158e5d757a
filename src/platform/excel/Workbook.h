#pragma once
// Reading the first worksheet of a workbook whatever its format: the Office
// Open XML form (.xlsx) or the older binary form (.xls). The format is told
// from the file's first bytes, not from its name.
#include <string>

#include "platform/excel/XlsxReader.h"

namespace tolvenk::excel {

// The first worksheet's cells as text. Throws WorkbookError with its problem:
// a file that cannot be opened, is no workbook, is protected by a password,
// has no worksheet, or is damaged.
Sheet readWorkbook(const std::string& path);

// The first worksheet of a binary workbook (.xls, BIFF2 to BIFF8).
Sheet readXlsFirstSheet(const std::string& path);

}  // namespace tolvenk::excel
