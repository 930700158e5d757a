#pragma once
// The records of a binary workbook's stream (BIFF5 and BIFF8) that the cell
// reader leaves out: the password record, and the results that formula
// cells of the first worksheet hold as the program that saved them worked
// them out.
#include <string>
#include <vector>

#include "platform/excel/XlsxReader.h"

namespace tolvenk::excel {

struct XlsFormulaResult {
    int row = 0, col = 0;
    SheetCell cell;
};

struct XlsRecords {
    // Encrypted or obfuscated (RC4, CryptoAPI or the older XOR): nothing
    // after the password record can be read without it.
    bool encrypted = false;
    std::vector<XlsFormulaResult> formulas;
};

// Throws WorkbookError (Damaged) when the stream's records run past its end.
XlsRecords readXlsRecords(const std::string& stream);

}  // namespace tolvenk::excel
