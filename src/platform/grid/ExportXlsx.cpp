#include <unzip.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/Utf8.h"
#include "platform/grid/ExportCommon.h"
#include "platform/grid/GridExport.h"

namespace tolvenk::grid {

namespace {

using namespace exporting;

// libxlsxwriter reads 0 as "no colour", so black needs its own value.
lxw_color_t toRgb(Colour c) {
    const lxw_color_t rgb = ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

class Formats {
public:
    Formats(lxw_workbook* book, int cols) : book_(book), last_(static_cast<std::size_t>(cols)) {}

    // One format per distinct look: each one becomes a style record in the file.
    lxw_format* of(const Look& look, int c) {
        // Cells of a column mostly share one look: skip the map for them.
        auto& [lastLook, lastFormat] = last_[static_cast<std::size_t>(c)];
        if (lastFormat != nullptr && lastLook == look) return lastFormat;
        auto [it, fresh] = cache_.try_emplace(look, nullptr);
        if (fresh) it->second = make(look);
        lastLook = look;
        lastFormat = it->second;
        return it->second;
    }

private:
    lxw_format* make(const Look& look) {
        lxw_format* f = workbook_add_format(book_);
        format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        switch (look.align) {
            case AlignLeft: format_set_align(f, LXW_ALIGN_LEFT); break;
            case AlignCenter: format_set_align(f, LXW_ALIGN_CENTER); break;
            case AlignRight: format_set_align(f, LXW_ALIGN_RIGHT); break;
            default: break;
        }
        if (look.fore != 0) format_set_font_color(f, toRgb(look.fore));
        if (look.back) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, toRgb(*look.back));
        }
        if (!look.numberFormat.empty()) format_set_num_format(f, look.numberFormat.c_str());
        format_set_border(f, LXW_BORDER_THIN);
        return f;
    }

    lxw_workbook* book_;
    std::map<Look, lxw_format*> cache_;
    std::vector<std::pair<Look, lxw_format*>> last_;
};

// In the page header '&' starts a code, so a title's own '&' is doubled;
// the library refuses headers past its limit, so a long title is cut first.
std::string headerText(const std::string& title) {
    std::string out = "&C";
    for (const char ch : utf8Substr(validUtf8(title), 0, 80)) {
        if (ch == '&') out += '&';
        if (static_cast<unsigned char>(ch) >= 0x20) out += ch;
    }
    return out;
}

void setUpPages(lxw_worksheet* sheet, const GridModel& m, const ExportOptions& options) {
    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, 9);  // A4, as the print preview uses
    worksheet_fit_to_pages(sheet, 1, 0);
    const int fixed = std::min(m.fixedRows(), m.rows());
    if (fixed > 0) worksheet_repeat_rows(sheet, 0, static_cast<lxw_row_t>(fixed - 1));
    if (!options.title.empty()) worksheet_set_header(sheet, headerText(options.title).c_str());
}

// The workbook is written in the library's constant-memory mode: each row
// goes to disk as soon as the next one starts, so rows are written strictly
// in order, row settings come before a row's cells, and a block is declared
// once its cells are all written (see writeRow).
class SheetWriter {
public:
    SheetWriter(lxw_workbook* book, lxw_worksheet* sheet, const GridModel& m)
        : sheet_(sheet), m_(m), formats_(book, m.cols()), blocks_(m) {}

    bool write() {
        if (m_.defaultRowHeight() > 0) worksheet_set_default_row(sheet_, m_.defaultRowHeight() * 0.75, LXW_FALSE);
        for (int c = 0; c < m_.cols(); ++c) {
            lxw_row_col_options opt{};
            opt.hidden = m_.columnWidth(c) == 0 ? 1 : 0;
            // The library converts pixels to character units the way Excel does.
            check(worksheet_set_column_pixels_opt(sheet_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                                  static_cast<std::uint32_t>(m_.columnWidth(c)), nullptr, &opt));
        }
        for (int r = 0; r < m_.rows() && ok_; ++r) writeRow(r);
        return ok_;
    }

private:
    void check(lxw_error e) { ok_ = ok_ && e == LXW_NO_ERROR; }

    void writeRow(int r) {
        const auto row = static_cast<lxw_row_t>(r);
        const int h = m_.rowHeight(r);
        if (h != m_.defaultRowHeight() || h == 0) {
            lxw_row_col_options opt{};
            opt.hidden = h == 0 ? 1 : 0;
            check(worksheet_set_row_pixels_opt(sheet_, row, static_cast<std::uint32_t>(h == 0 ? m_.defaultRowHeight() : h),
                                               nullptr, &opt));
        }
        blocks_.row(r);
        // A block of one row is declared first: the library writes an empty
        // first cell, which the cell loop then fills in.
        std::vector<const CellRange*> tall;
        for (int c = 0; c < m_.cols(); ++c) {
            const CellRange* b = blocks_.at(c);
            if (b == nullptr || b->col1 != c) continue;
            if (b->row1 == r && b->row2 == r) merge(*b, r, c);
            else if (b->row2 == r) tall.push_back(b);
        }
        for (int c = 0; c < m_.cols(); ++c) {
            const CellRange* b = blocks_.at(c);
            const auto col = static_cast<lxw_col_t>(c);
            if (b != nullptr && (b->row1 != r || b->col1 != c)) {
                // Covered cells carry the block's look (its borders and fill).
                check(worksheet_write_blank(sheet_, row, col, formatOf(b->row1, b->col1)));
                continue;
            }
            writeCell(r, c);
        }
        // A block over several rows is declared on its last row, after that
        // row's cells: its earlier rows are on disk already, so the library's
        // own writes to them are dropped and the cells written above stay.
        for (const CellRange* b : tall)
            check(worksheet_merge_range(sheet_, static_cast<lxw_row_t>(b->row1), static_cast<lxw_col_t>(b->col1),
                                        static_cast<lxw_row_t>(b->row2), static_cast<lxw_col_t>(b->col2), "",
                                        formatOf(b->row1, b->col1)));
    }

    void merge(const CellRange& b, int r, int c) {
        check(worksheet_merge_range(sheet_, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                    static_cast<lxw_row_t>(b.row2), static_cast<lxw_col_t>(b.col2), "",
                                    formatOf(r, c)));
    }

    lxw_format* formatOf(int r, int c) { return formats_.of(lookOf(m_, r, c, numberAt(m_, r, c)), c); }

    void writeCell(int r, int c) {
        const auto row = static_cast<lxw_row_t>(r);
        const auto col = static_cast<lxw_col_t>(c);
        const std::optional<Number> number = numberAt(m_, r, c);
        lxw_format* f = formats_.of(lookOf(m_, r, c, number), c);
        if (number)
            check(worksheet_write_number(sheet_, row, col, number->value, f));
        else
            check(worksheet_write_string(sheet_, row, col, m_.text(r, c).c_str(), f));
    }

    lxw_worksheet* sheet_;
    const GridModel& m_;
    Formats formats_;
    BlockScanner blocks_;
    bool ok_ = true;
};

// The library does not check the writes to its scratch files, and with a
// full disk it would pack a cut-off sheet as if all were well. The rows'
// scratch file is checked before closing (all but the last row are in it)
// and the packed sheet must hold at least as much. What is left unchecked,
// the sheet's last few lines, cannot fail on a full disk alone: packing into
// the same folder then fails too, and that failure is reported.
long long scratchBytes(lxw_worksheet* sheet, ReplacingFile& file) {
    FILE* rows = sheet->optimize_tmpfile;
    if (rows == nullptr) return 0;
    errno = 0;
    if (std::fflush(rows) != 0 || std::ferror(rows)) {
        file.fail(file.target() + ": " + std::strerror(errno != 0 ? errno : EIO));
        return 0;
    }
    return static_cast<long long>(ftello(rows));
}

long long sheetBytes(const std::string& workbook) {
    unzFile z = unzOpen64(workbook.c_str());
    if (z == nullptr) return -1;
    unz_file_info64 info{};
    const bool found = unzLocateFile(z, "xl/worksheets/sheet1.xml", 1) == UNZ_OK &&
                       unzGetCurrentFileInfo64(z, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK;
    unzClose(z);
    return found ? static_cast<long long>(info.uncompressed_size) : -1;
}

}  // namespace

bool exportXlsx(const GridModel& model, const std::string& path, const ExportOptions& options, std::string* whyNot) {
    ReplacingFile file(path);
    if (file.ok()) {
        // The library's scratch files go beside the target too: a full disk
        // there fails the export rather than filling another one.
        std::string scratch = file.folder();
        lxw_workbook_options opt{};
        opt.constant_memory = LXW_TRUE;
        opt.tmpdir = scratch.data();
        opt.use_zip64 = LXW_TRUE;  // sheets of a million rows pass 4 GB unpacked
        lxw_workbook* book = workbook_new_opt(file.tempPath().c_str(), &opt);
        if (book == nullptr) {
            file.fail(path + ": " + std::strerror(errno != 0 ? errno : ENOMEM));
        } else {
            lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
            bool written = sheet != nullptr;
            long long rowBytes = 0;
            if (written) {
                setUpPages(sheet, model, options);
                written = SheetWriter(book, sheet, model).write();
                rowBytes = scratchBytes(sheet, file);
            }
            errno = 0;
            const lxw_error closed = workbook_close(book);
            const int err = errno;
            if (closed != LXW_NO_ERROR)
                file.fail(path + ": " + lxw_strerror(closed) + (err != 0 ? std::string(" (") + std::strerror(err) + ")" : ""));
            else if (!written)
                file.fail(path + ": " + (err != 0 ? std::strerror(err) : "the workbook could not be written"));
            else if (sheetBytes(file.tempPath()) < rowBytes)
                file.fail(path + ": " + std::strerror(ENOSPC));
        }
    }
    const bool ok = file.commit();
    if (!ok && whyNot) *whyNot = file.error();
    return ok;
}

}  // namespace tolvenk::grid
