#include <xlsxwriter.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

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
    explicit Formats(lxw_workbook* book) : book_(book) {}

    // One format per distinct look: each one becomes a style record in the file.
    lxw_format* of(const GridModel& m, int r, int c) {
        const Look look = lookOf(m, r, c);
        auto [it, fresh] = cache_.try_emplace(look, nullptr);
        if (fresh) it->second = make(look);
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
        return f;
    }

    lxw_workbook* book_;
    std::map<Look, lxw_format*> cache_;
};

bool writeSheet(lxw_workbook* book, lxw_worksheet* sheet, const GridModel& m) {
    bool ok = true;
    const auto check = [&ok](lxw_error e) { ok = ok && e == LXW_NO_ERROR; };

    if (m.defaultRowHeight() > 0)
        worksheet_set_default_row(sheet, m.defaultRowHeight() * 0.75, LXW_FALSE);
    for (int c = 0; c < m.cols(); ++c) {
        lxw_row_col_options opt{};
        opt.hidden = m.columnWidth(c) == 0 ? 1 : 0;
        // The library converts pixels to character units the way Excel does.
        check(worksheet_set_column_pixels_opt(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                              static_cast<std::uint32_t>(m.columnWidth(c)), nullptr, &opt));
    }
    for (int r = 0; r < m.rows(); ++r) {
        const int h = m.rowHeight(r);
        if (h == m.defaultRowHeight() && h != 0) continue;
        lxw_row_col_options opt{};
        opt.hidden = h == 0 ? 1 : 0;
        check(worksheet_set_row_pixels_opt(sheet, static_cast<lxw_row_t>(r),
                                           static_cast<std::uint32_t>(h == 0 ? m.defaultRowHeight() : h), nullptr,
                                           &opt));
    }

    Formats formats(book);
    const std::vector<int> blocks = blockIndex(m);
    for (int r = 0; r < m.rows() && ok; ++r) {
        for (int c = 0; c < m.cols(); ++c) {
            const int b = blocks[static_cast<std::size_t>(r) * static_cast<std::size_t>(m.cols()) +
                                 static_cast<std::size_t>(c)];
            const auto row = static_cast<lxw_row_t>(r);
            const auto col = static_cast<lxw_col_t>(c);
            if (b < 0) {
                check(worksheet_write_string(sheet, row, col, m.text(r, c).c_str(), formats.of(m, r, c)));
                continue;
            }
            const CellRange& block = m.merges()[static_cast<std::size_t>(b)];
            if (r != block.row1 || c != block.col1) continue;
            check(worksheet_merge_range(sheet, row, col, static_cast<lxw_row_t>(block.row2),
                                        static_cast<lxw_col_t>(block.col2), m.text(r, c).c_str(),
                                        formats.of(m, r, c)));
        }
    }
    return ok;
}

}  // namespace

bool exportXlsx(const GridModel& model, const std::string& path) {
    namespace fs = std::filesystem;
    // The library opens the file only while closing and can fail after truncating
    // it; a sibling file keeps any older file intact until the workbook is whole.
    const std::string part = path + ".part";
    lxw_workbook* book = workbook_new(part.c_str());
    if (book == nullptr) return false;
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    bool ok = sheet != nullptr && writeSheet(book, sheet, model);
    ok = workbook_close(book) == LXW_NO_ERROR && ok;
    std::error_code ec;
    if (ok) {
        fs::rename(part, path, ec);
        ok = !ec;
    }
    if (!ok && fs::is_regular_file(part, ec)) fs::remove(part, ec);
    return ok;
}

}  // namespace tolvenk::grid
