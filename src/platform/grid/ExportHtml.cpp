#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/grid/ExportCommon.h"
#include "platform/grid/GridExport.h"

namespace tolvenk::grid {

namespace {

using namespace exporting;






}  // namespace

bool exportHtml(const GridModel& m, const std::string& path) {
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

    std::string out =
        "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n<meta charset=\"utf-8\"/>\n"
        "<title></title>\n</head>\n<body>\n"
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" style=\"border-collapse:collapse\">\n<colgroup>";
    for (int c = 0; c < m.cols(); ++c)
        if (colShown[static_cast<std::size_t>(c)])
            out += "<col style=\"width:" + std::to_string(m.columnWidth(c)) + "px\"/>";
    out += "</colgroup>\n";

    const std::vector<int> blocks = blockIndex(m);
    for (int r = 0; r < m.rows(); ++r) {
        if (!rowShown[static_cast<std::size_t>(r)]) continue;
        out += "<tr style=\"height:" + std::to_string(m.rowHeight(r)) + "px\">";
        for (int c = 0; c < m.cols(); ++c) {
            if (!colShown[static_cast<std::size_t>(c)]) continue;
            int r0 = r, c0 = c, rowSpan = 1, colSpan = 1;
            const int b = blocks[static_cast<std::size_t>(r) * static_cast<std::size_t>(m.cols()) +
                                 static_cast<std::size_t>(c)];
            if (b >= 0) {
                // A block shows at its first visible cell, spanning only what is visible.
                const CellRange& block = m.merges()[static_cast<std::size_t>(b)];
                if (r != firstShown(rowShown, block.row1, block.row2) ||
                    c != firstShown(colShown, block.col1, block.col2))
                    continue;
                r0 = block.row1;
                c0 = block.col1;
                rowSpan = shownIn(rowShown, block.row1, block.row2);
                colSpan = shownIn(colShown, block.col1, block.col2);
            }
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
        out += "</tr>\n";
    }
    out += "</table>\n</body>\n</html>\n";
    return writeWhole(path, out);
}

}  // namespace tolvenk::grid
