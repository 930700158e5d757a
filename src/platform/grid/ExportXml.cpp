#include <charconv>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/grid/ExportCommon.h"
#include "platform/grid/GridExport.h"

namespace tolvenk::grid {

namespace {

using namespace exporting;

// Shortest text that reads back as the same double; to_chars ignores the
// locale Qt may have switched to.
std::string numberText(double v) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

// Pixels to points.
std::string points(int px) { return numberText(px * 0.75); }

// Style ids by look, numbered in the order first met.
class Styles {
public:
    explicit Styles(int cols) : last_(static_cast<std::size_t>(cols)) {}

    int of(const Look& look, int c) {
        // Cells of a column mostly share one look: skip the map for them.
        auto& [lastLook, lastId] = last_[static_cast<std::size_t>(c)];
        if (lastId != 0 && lastLook == look) return lastId;
        auto [it, fresh] = ids_.try_emplace(look, static_cast<int>(ids_.size()) + 1);
        if (fresh) append(look, it->second);
        lastLook = look;
        lastId = it->second;
        return it->second;
    }
    const std::string& text() const { return text_; }

private:
    void append(const Look& look, int id) {
        text_ += "<Style ss:ID=\"s" + std::to_string(id) + "\"><Alignment";
        switch (look.align) {
            case AlignLeft: text_ += " ss:Horizontal=\"Left\""; break;
            case AlignCenter: text_ += " ss:Horizontal=\"Center\""; break;
            case AlignRight: text_ += " ss:Horizontal=\"Right\""; break;
            default: break;
        }
        text_ += " ss:Vertical=\"Center\"/>";
        if (look.fore != 0) text_ += "<Font ss:Color=\"" + hexRgb(look.fore) + "\"/>";
        if (look.back) text_ += "<Interior ss:Color=\"" + hexRgb(*look.back) + "\" ss:Pattern=\"Solid\"/>";
        if (!look.numberFormat.empty()) {
            text_ += "<NumberFormat ss:Format=\"";
            appendEscaped(text_, look.numberFormat, "");
            text_ += "\"/>";
        }
        text_ += "</Style>\n";
    }

    std::map<Look, int> ids_;
    std::vector<std::pair<Look, int>> last_;
    std::string text_;
};

// Calls cell(r, c, block) for every cell that starts a block or stands alone.
template <class F>
void forEachShownCell(const GridModel& m, int r, const BlockScanner& blocks, F cell) {
    for (int c = 0; c < m.cols(); ++c) {
        const CellRange* b = blocks.at(c);
        if (b != nullptr && (b->row1 != r || b->col1 != c)) continue;
        cell(c, b);
    }
}

}  // namespace

bool exportXml(const GridModel& m, const std::string& path, const ExportOptions&, ExportFailure* whyNot) {
    ReplacingFile file(path);

    // Styles come before the sheet, so a first pass collects the looks.
    Styles styles(m.cols());
    {
        BlockScanner blocks(m);
        for (int r = 0; r < m.rows(); ++r) {
            blocks.row(r);
            forEachShownCell(m, r, blocks, [&](int c, const CellRange*) { styles.of(lookOf(m, r, c, numberAt(m, r, c)), c); });
        }
    }

    std::string& out = file.out();
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?mso-application progid=\"Excel.Sheet\"?>\n"
           "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
           "xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
           "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\" xmlns:html=\"http://www.w3.org/TR/REC-html40\">\n"
           "<Styles>\n<Style ss:ID=\"Default\" ss:Name=\"Normal\"><Alignment ss:Vertical=\"Center\"/></Style>\n";
    out += styles.text();
    out += "</Styles>\n<Worksheet ss:Name=\"Sheet1\">\n<Table";
    if (m.defaultRowHeight() > 0) out += " ss:DefaultRowHeight=\"" + points(m.defaultRowHeight()) + "\"";
    out += ">\n";
    for (int c = 0; c < m.cols(); ++c) {
        out += "<Column ss:AutoFitWidth=\"0\" ss:Width=\"" + points(m.columnWidth(c)) + "\"";
        if (m.columnWidth(c) == 0) out += " ss:Hidden=\"1\"";
        out += "/>\n";
    }
    BlockScanner blocks(m);
    for (int r = 0; r < m.rows() && file.ok(); ++r) {
        blocks.row(r);
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
        forEachShownCell(m, r, blocks, [&](int c, const CellRange* b) {
            out += "<Cell";
            if (c != next) out += " ss:Index=\"" + std::to_string(c + 1) + "\"";
            next = c + 1;
            if (b) {
                if (b->col2 > b->col1) out += " ss:MergeAcross=\"" + std::to_string(b->col2 - b->col1) + "\"";
                if (b->row2 > b->row1) out += " ss:MergeDown=\"" + std::to_string(b->row2 - b->row1) + "\"";
                if (b->col2 > b->col1) next = -1;
            }
            const std::optional<Number> number = numberAt(m, r, c);
            out += " ss:StyleID=\"s" + std::to_string(styles.of(lookOf(m, r, c, number), c)) + "\"";
            if (number) {
                out += "><Data ss:Type=\"Number\">" + numberText(number->value) + "</Data></Cell>";
            } else if (m.text(r, c).empty()) {
                out += "/>";
            } else {
                out += "><Data ss:Type=\"String\">";
                appendEscaped(out, m.text(r, c), "&#10;");
                out += "</Data></Cell>";
            }
        });
        out += "</Row>\n";
        file.flushIfFull();
    }
    out += "</Table>\n</Worksheet>\n</Workbook>\n";
    const bool ok = file.commit();
    if (!ok && whyNot) *whyNot = file.error();
    return ok;
}

}  // namespace tolvenk::grid
