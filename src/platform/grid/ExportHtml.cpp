#include <string>
#include <vector>

#include "platform/db/Utf8.h"
#include "platform/grid/ExportCommon.h"
#include "platform/grid/GridExport.h"

namespace tolvenk::grid {

namespace {

using namespace exporting;

void appendCell(std::string& out, const GridModel& m, int r0, int c0, int rowSpan, int colSpan) {
    out += "<td";
    if (colSpan > 1) out += " colspan=\"" + std::to_string(colSpan) + "\"";
    if (rowSpan > 1) out += " rowspan=\"" + std::to_string(rowSpan) + "\"";
    std::string style;
    switch (m.alignment(r0, c0)) {
        case AlignLeft: style = "text-align:left;"; break;
        case AlignCenter: style = "text-align:center;"; break;
        case AlignRight: style = "text-align:right;"; break;
        default: break;
    }
    if (m.foreColor(r0, c0) != 0) style += "color:" + hexRgb(m.foreColor(r0, c0)) + ";";
    if (auto back = backOf(m, r0, c0)) style += "background-color:" + hexRgb(*back) + ";";
    if (!style.empty()) {
        style.pop_back();
        out += " style=\"" + style + "\"";
    }
    out += ">";
    appendEscaped(out, m.text(r0, c0), "<br/>");
    out += "</td>";
}

}  // namespace

// Well-formed XHTML, so XML tools read it as well as browsers do.
bool exportHtml(const GridModel& m, const std::string& path, const ExportOptions& options, ExportFailure* whyNot) {
    ReplacingFile file(path);
    std::vector<bool> rowShown(static_cast<std::size_t>(m.rows()));
    std::vector<bool> colShown(static_cast<std::size_t>(m.cols()));
    for (int r = 0; r < m.rows(); ++r) rowShown[static_cast<std::size_t>(r)] = m.rowHeight(r) > 0;
    for (int c = 0; c < m.cols(); ++c) colShown[static_cast<std::size_t>(c)] = m.columnWidth(c) > 0;
    const auto shownIn = [](const std::vector<bool>& shown, int from, int to) {
        int n = 0;
        for (int i = from; i <= to; ++i) n += shown[static_cast<std::size_t>(i)] ? 1 : 0;
        return n;
    };
    const auto firstShown = [](const std::vector<bool>& shown, int from, int to) {
        for (int i = from; i <= to; ++i)
            if (shown[static_cast<std::size_t>(i)]) return i;
        return -1;
    };

    std::string& out = file.out();
    out += "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>";
    appendEscaped(out, validUtf8(options.title), " ");
    out += "</title>\n</head>\n<body>\n"
           "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" style=\"border-collapse:collapse\">\n<colgroup>";
    for (int c = 0; c < m.cols(); ++c)
        if (colShown[static_cast<std::size_t>(c)])
            out += "<col style=\"width:" + std::to_string(m.columnWidth(c)) + "px\"/>";
    out += "</colgroup>\n";

    BlockScanner blocks(m);
    for (int r = 0; r < m.rows() && file.ok(); ++r) {
        if (!rowShown[static_cast<std::size_t>(r)]) continue;
        blocks.row(r);
        out += "<tr style=\"height:" + std::to_string(m.rowHeight(r)) + "px\">";
        for (int c = 0; c < m.cols(); ++c) {
            if (!colShown[static_cast<std::size_t>(c)]) continue;
            const CellRange* block = blocks.at(c);
            if (!block) {
                appendCell(out, m, r, c, 1, 1);
                continue;
            }
            // A block shows at its first visible cell, spanning only what is visible.
            if (r != firstShown(rowShown, block->row1, block->row2) ||
                c != firstShown(colShown, block->col1, block->col2))
                continue;
            appendCell(out, m, block->row1, block->col1, shownIn(rowShown, block->row1, block->row2),
                       shownIn(colShown, block->col1, block->col2));
        }
        out += "</tr>\n";
        file.flushIfFull();
    }
    out += "</table>\n</body>\n</html>\n";
    const bool ok = file.commit();
    if (!ok && whyNot) *whyNot = file.error();
    return ok;
}

}  // namespace tolvenk::grid
