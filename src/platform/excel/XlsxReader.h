#pragma once
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvenk::excel {

// Why a workbook cannot be read, so a window can tell the operator in words.
enum class WorkbookProblem { Unreadable, NotAWorkbook, Encrypted, NoSheet, Damaged };

// A workbook that cannot be read: not a zip, a part missing, XML that is not
// well-formed or not UTF-8. The text names the file and the part.
class WorkbookError : public std::runtime_error {
public:
    explicit WorkbookError(const std::string& what, WorkbookProblem problem = WorkbookProblem::Damaged)
        : std::runtime_error(what), problem_(problem) {}
    WorkbookProblem problem() const { return problem_; }

private:
    WorkbookProblem problem_;
};

struct SheetCell {
    // The text as stored; for a number, its shortest decimal form ("1268.5").
    std::string text;
    std::optional<double> number;
    // The cell's number format ("General" when it has none).
    std::string format = "General";
    // A number that its format shows as a date or a time.
    bool date = false;
    // A formula whose result the file does not hold: its writer never
    // worked it out (scripts do this), so the cell has no value to give.
    bool noResult = false;
};

struct SheetRange {
    int row1 = 0, col1 = 0, row2 = 0, col2 = 0;  // 0-based, inclusive
    bool operator==(const SheetRange&) const = default;
};

// The most rows a worksheet holds, in the largest format (.xlsx).
constexpr int kMostSheetRows = 1048576;

// The first worksheet of a workbook, rows and columns counted from 0.
class Sheet {
public:
    // The rows a worksheet of the workbook's format holds: 1,048,576 in an
    // .xlsx, 65,536 in an .xls of Excel 97 or later, 16,384 in older ones.
    int mostRows() const { return mostRows_; }
    int rows() const { return static_cast<int>(cells_.size()); }
    // The rows up to the last one holding a value (a text, a number or a
    // formula without its result): programs write empty cells with a look
    // of their own far below the data, and those rows hold nothing.
    int usedRows() const;
    int cols() const { return cols_; }
    // An empty cell outside the written area or never written.
    const SheetCell& at(int r, int c) const;
    const std::string& text(int r, int c) const { return at(r, c).text; }
    const std::vector<SheetRange>& merges() const { return merges_; }

private:
    friend Sheet readFirstSheet(const std::string& path);
    friend Sheet readXlsFirstSheet(const std::string& path);
    SheetCell& put(int r, int c);
    std::vector<std::vector<SheetCell>> cells_;
    std::vector<SheetRange> merges_;
    int cols_ = 0;
    int mostRows_ = kMostSheetRows;
};

// Reads the first worksheet of an Office Open XML workbook (.xlsx): texts
// (shared or inline), numbers with their formats, and merged blocks.
Sheet readFirstSheet(const std::string& path);

// One part of the workbook as it is stored ("xl/styles.xml"), checked to be
// well-formed UTF-8 XML.
std::string readPart(const std::string& path, const std::string& name);

}  // namespace tolvenk::excel
