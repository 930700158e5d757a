#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
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


// Pixels to points; to_chars ignores the locale Qt may have switched to.
std::string points(int px) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, px * 0.75);
    return std::string(buf, res.ptr);
}





}  // namespace

bool exportXml(const GridModel& m, const std::string& path) {
    const std::vector<int> blocks = blockIndex(m);
    const auto blockAt = [&](int r, int c) -> const CellRange* {
        const int b = blocks[static_cast<std::size_t>(r) * static_cast<std::size_t>(m.cols()) +
                             static_cast<std::size_t>(c)];
        return b < 0 ? nullptr : &m.merges()[static_cast<std::size_t>(b)];
    };
    const auto covered = [&](int r, int c) {
        const CellRange* b = blockAt(r, c);
        return b != nullptr && (b->row1 != r || b->col1 != c);
    };

    // Styles come before the sheet, so the looks are collected first.
    std::map<Look, int> styles;
    std::string styleText;
    std::vector<int> styleOf(blocks.size(), 0);
    for (int r = 0; r < m.rows(); ++r) {
        for (int c = 0; c < m.cols(); ++c) {
            if (covered(r, c)) continue;
            const Look look = lookOf(m, r, c);
            auto [it, fresh] = styles.try_emplace(look, static_cast<int>(styles.size()) + 1);
            styleOf[static_cast<std::size_t>(r) * static_cast<std::size_t>(m.cols()) + static_cast<std::size_t>(c)] =
                it->second;
            if (!fresh) continue;
            styleText += "<Style ss:ID=\"s" + std::to_string(it->second) + "\"><Alignment";
            switch (look.align) {
                case AlignLeft: styleText += " ss:Horizontal=\"Left\""; break;
                case AlignCenter: styleText += " ss:Horizontal=\"Center\""; break;
                case AlignRight: styleText += " ss:Horizontal=\"Right\""; break;
                default: break;
            }
            styleText += " ss:Vertical=\"Center\"/>";
            if (look.fore != 0) styleText += "<Font ss:Color=\"" + hexRgb(look.fore) + "\"/>";
            if (look.back) styleText += "<Interior ss:Color=\"" + hexRgb(*look.back) + "\" ss:Pattern=\"Solid\"/>";
            styleText += "</Style>\n";
        }
    }

    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?mso-application progid=\"Excel.Sheet\"?>\n"
        "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
        "xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
        "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\" xmlns:html=\"http://www.w3.org/TR/REC-html40\">\n"
        "<Styles>\n<Style ss:ID=\"Default\" ss:Name=\"Normal\"><Alignment ss:Vertical=\"Center\"/></Style>\n" +
        styleText + "</Styles>\n<Worksheet ss:Name=\"Sheet1\">\n<Table";
    if (m.defaultRowHeight() > 0) out += " ss:DefaultRowHeight=\"" + points(m.defaultRowHeight()) + "\"";
    out += ">\n";
    for (int c = 0; c < m.cols(); ++c) {
        out += "<Column ss:AutoFitWidth=\"0\" ss:Width=\"" + points(m.columnWidth(c)) + "\"";
        if (m.columnWidth(c) == 0) out += " ss:Hidden=\"1\"";
        out += "/>\n";
    }
    for (int r = 0; r < m.rows(); ++r) {
        const int h = m.rowHeight(r);
        out += "<Row";
        if (h == 0)
            out += " ss:Hidden=\"1\"";
        else if (h != m.defaultRowHeight())
            out += " ss:AutoFitHeight=\"0\" ss:Height=\"" + points(h) + "\"";
        out += ">";
        // Cells after a gap or a merged block name their column, so no reader
        // has to guess how a block moves the ones after it.
        int next = 0;
        for (int c = 0; c < m.cols(); ++c) {
            if (covered(r, c)) continue;
            out += "<Cell";
            if (c != next) out += " ss:Index=\"" + std::to_string(c + 1) + "\"";
            next = c + 1;
            if (const CellRange* b = blockAt(r, c)) {
                if (b->col2 > b->col1) out += " ss:MergeAcross=\"" + std::to_string(b->col2 - b->col1) + "\"";
                if (b->row2 > b->row1) out += " ss:MergeDown=\"" + std::to_string(b->row2 - b->row1) + "\"";
                if (b->col2 > b->col1) next = -1;
            }
            out += " ss:StyleID=\"s" +
                   std::to_string(styleOf[static_cast<std::size_t>(r) * static_cast<std::size_t>(m.cols()) +
                                          static_cast<std::size_t>(c)]) +
                   "\"";
            if (m.text(r, c).empty()) {
                out += "/>";
                continue;
            }
            out += "><Data ss:Type=\"String\">";
            appendEscaped(out, m.text(r, c), "&#10;");
            out += "</Data></Cell>";
        }
        out += "</Row>\n";
    }
    out += "</Table>\n</Worksheet>\n</Workbook>\n";
    return writeWhole(path, out);
}

}  // namespace tolvenk::grid
