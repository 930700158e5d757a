#pragma once
// What the three exports share: a cell's look, numbers read from texts,
// colours as text, the merged blocks met row by row, escaping, and a file
// that replaces its target only when it is whole.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/grid/GridExport.h"
#include "platform/grid/GridModel.h"

namespace tolvenk::grid::exporting {

// A cell text that a person would sum or sort as a number: a count ("12"),
// a decimal ("-3.5") or a money amount (a currency sign then two decimals,
// "￥1268.50"). Codes with leading zeros, dates, times and anything with
// more than 15 digits stay text.
struct Number {
    double value = 0;
    std::string format;  // "0", "0.0...", or the sign then "#,##0.00"
};
std::optional<Number> numberIn(std::string_view text);
// Header rows and tick-box or drop-down columns keep their texts as texts.
std::optional<Number> numberAt(const GridModel& m, int r, int c);
// A cell text that is a day ("2026-09-01", 1900-03-01 or later) or a moment
// of one ("2026-09-01 00:48:54"): its spreadsheet serial (days since
// 1899-12-30, the time their fraction) and the date format that shows the
// same text.
std::optional<Number> dateIn(std::string_view text);

struct Look {
    Alignment align;
    Colour fore;
    std::optional<Colour> back;
    std::string numberFormat;  // empty for text
    auto operator<=>(const Look&) const = default;
};

// The cell's own back colour, else the alternating colour of its data row.
// White is the page's own colour and is left out (a white fill hides lines).
std::optional<Colour> backOf(const GridModel& m, int r, int c);
Look lookOf(const GridModel& m, int r, int c, const std::optional<Number>& number = std::nullopt);

// "#RRGGBB" from 0x00BBGGRR.
std::string hexRgb(Colour c);

// The merged block of each cell of one row at a time, rows taken in order, so
// a million-row grid needs no cell-sized index.
class BlockScanner {
public:
    explicit BlockScanner(const GridModel& m);
    // Moves to row r (rows must come in increasing order).
    void row(int r);
    // The block covering (current row, c), or nullptr.
    const CellRange* at(int c) const;

private:
    const GridModel& m_;
    std::vector<const CellRange*> byStart_;  // sorted by first row
    std::size_t next_ = 0;
    std::vector<const CellRange*> open_;
    std::vector<const CellRange*> cols_;
};

// XML escaping; control characters, which XML readers reject, are dropped and a
// line break becomes `lineBreak`.
void appendEscaped(std::string& out, std::string_view s, const char* lineBreak);

// A new file beside the target that takes the target's place only when it is
// complete: a failure at any point (a full disk, a missing folder) leaves an
// existing target as it was and no temporary file behind. A target that is
// read-only or a folder is refused.
class ReplacingFile {
public:
    explicit ReplacingFile(std::string target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool ok() const { return !failed_; }
    // Why it failed.
    const ExportFailure& error() const { return error_; }
    // Where a writer that opens files by name (the workbook's zip) writes.
    const std::string& tempPath() const { return temp_; }
    const std::string& target() const { return target_; }

    // Buffered writing: append to out(), then flushIfFull() now and then.
    std::string& out() { return buffer_; }
    void flushIfFull() {
        if (buffer_.size() >= kChunk) flush();
    }
    // Records a failure the caller found: no system call's.
    void fail(platform::NumberedText told);
    // Records a system call's failure with its error number.
    void failWithErrno(int err);
    // Writes what is left, makes it durable and renames it over the target.
    bool commit();

private:
    static constexpr std::size_t kChunk = 1 << 20;
    void flush();
    void closeFd();

    std::string target_, temp_, buffer_;
    ExportFailure error_;
    bool failed_ = false;
    int fd_ = -1;
    bool done_ = false;
};

}  // namespace tolvenk::grid::exporting
