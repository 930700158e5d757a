#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/Utf8.h"
#include "platform/grid/ExportCommon.h"
#include "platform/grid/GridExport.h"
#include "platform/grid/ZipWriter.h"

namespace tolvenk::grid {

namespace {

using namespace exporting;

// Fast deflating: the sheet of a large grid is hundreds of megabytes of very
// repetitive XML, which the fastest level still packs about tenfold.
constexpr int kLevel = Z_BEST_SPEED;
// What one cell holds in office programs; a longer text makes them refuse the file.
constexpr std::size_t kMostCharacters = 32767;
// What one sheet holds.
constexpr int kMostRows = 1048576, kMostColumns = 16384;
// Bytes of sheet XML that go to the packer at a time.
constexpr std::size_t kChunk = 1 << 18;

constexpr char kHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kRels[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr char kPackageRels[] = "http://schemas.openxmlformats.org/package/2006/relationships";

void appendInt(std::string& out, long long v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

// Shortest text that reads back as the same double, without an exponent
// (100000, not 1e+05); to_chars ignores the locale Qt may have switched to.
void appendNumber(std::string& out, double v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    out.append(buf, res.ptr);
}

// "A", "B", ... "Z", "AA", ...
std::string columnName(int c) {
    std::string name;
    for (int n = c + 1; n > 0; n = (n - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

// "FFRRGGBB" from 0x00BBGGRR.
std::string argb(Colour c) { return "FF" + hexRgb(c).substr(1); }

// Pixels as office programs store a column's width: characters of 7 pixels,
// padding included (12 pixels for a column narrower than one character),
// kept to 1/256 of a character as they keep it.
double widthOf(int px) {
    const double chars = px > 12 ? px / 7.0 : px / 12.0;
    return std::floor(chars * 256) / 256;
}

// Pixels to points.
void appendPoints(std::string& out, int px) { appendNumber(out, px * 0.75); }

// In the page header '&' starts a code, so a title's own '&' is doubled; a
// header holds 255 characters in all, so a long title is cut first.
std::string headerText(const std::string& title) {
    std::string out = "&C";
    for (const char ch : utf8Substr(validUtf8(title), 0, 80)) {
        if (ch == '&') out += '&';
        if (static_cast<unsigned char>(ch) >= 0x20) out += ch;
    }
    return out;
}

// The cell formats: one record for each distinct look, numbered in the order
// first met after the sheet's default (record 0), with their number formats,
// fonts and fills shared between them.
class Styles {
public:
    explicit Styles(int cols) : last_(static_cast<std::size_t>(cols)) {}

    int of(const Look& look, int c) {
        // Cells of a column mostly share one look: skip the map for them.
        auto& [lastLook, lastId] = last_[static_cast<std::size_t>(c)];
        if (lastId != 0 && lastLook == look) return lastId;
        auto [it, fresh] = ids_.try_emplace(look, static_cast<int>(looks_.size()) + 1);
        if (fresh) looks_.push_back(look);
        lastLook = look;
        lastId = it->second;
        return it->second;
    }

    std::string xml() const {
        std::vector<std::string> formats;
        std::vector<Colour> fores, backs;
        const auto indexIn = [](auto& list, const auto& value) {
            const auto it = std::find(list.begin(), list.end(), value);
            if (it != list.end()) return static_cast<int>(it - list.begin());
            list.push_back(value);
            return static_cast<int>(list.size()) - 1;
        };
        std::string xfs;
        for (const Look& look : looks_) {
            // Our own number formats are numbered from 164, after the built-in ones.
            const int format = look.numberFormat.empty() ? 0 : 164 + indexIn(formats, look.numberFormat);
            const int font = look.fore == 0 ? 0 : 1 + indexIn(fores, look.fore);
            const int fill = look.back ? 2 + indexIn(backs, *look.back) : 0;  // 0 and 1 are reserved
            xfs += "<xf numFmtId=\"" + std::to_string(format) + "\" fontId=\"" + std::to_string(font) + "\" fillId=\"" +
                   std::to_string(fill) + "\" borderId=\"1\" xfId=\"0\"";
            if (format != 0) xfs += " applyNumberFormat=\"1\"";
            if (font != 0) xfs += " applyFont=\"1\"";
            if (fill != 0) xfs += " applyFill=\"1\"";
            xfs += " applyBorder=\"1\" applyAlignment=\"1\"><alignment";
            switch (look.align) {
                case AlignLeft: xfs += " horizontal=\"left\""; break;
                case AlignCenter: xfs += " horizontal=\"center\""; break;
                case AlignRight: xfs += " horizontal=\"right\""; break;
                default: break;
            }
            xfs += " vertical=\"center\"/></xf>";
        }

        std::string out = kHead;
        out += "<styleSheet xmlns=\"" + std::string(kMain) + "\">";
        if (!formats.empty()) {
            out += "<numFmts count=\"" + std::to_string(formats.size()) + "\">";
            for (std::size_t i = 0; i < formats.size(); ++i) {
                out += "<numFmt numFmtId=\"" + std::to_string(164 + i) + "\" formatCode=\"";
                appendEscaped(out, formats[i], "");
                out += "\"/>";
            }
            out += "</numFmts>";
        }
        const auto font = [](const std::string& colour) {
            return "<font><sz val=\"11\"/>" + colour + "<name val=\"Calibri\"/><family val=\"2\"/></font>";
        };
        out += "<fonts count=\"" + std::to_string(fores.size() + 1) + "\">" + font("");
        for (const Colour c : fores) out += font("<color rgb=\"" + argb(c) + "\"/>");
        out += "</fonts><fills count=\"" + std::to_string(backs.size() + 2) +
               "\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill>";
        for (const Colour c : backs)
            out += "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"" + argb(c) +
                   "\"/><bgColor indexed=\"64\"/></patternFill></fill>";
        out += "</fills><borders count=\"2\"><border><left/><right/><top/><bottom/><diagonal/></border><border>";
        for (const char* side : {"left", "right", "top", "bottom"})
            out += std::string("<") + side + " style=\"thin\"><color auto=\"1\"/></" + side + ">";
        out += "<diagonal/></border></borders>"
               "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>";
        out += "<cellXfs count=\"" + std::to_string(looks_.size() + 1) +
               "\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>" + xfs + "</cellXfs>";
        out += "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
               "<dxfs count=\"0\"/><tableStyles count=\"0\"/></styleSheet>";
        return out;
    }

private:
    std::map<Look, int> ids_;
    std::vector<Look> looks_;
    std::vector<std::pair<Look, int>> last_;
};

// How a column's data cells go out, decided from all of them before the
// first row is written. The data end at the last row that holds a date in a
// column that starts with one; the rows below are total rows ("合计消费:"
// and the like) and stay text. A column is a date column when every non-empty
// cell of its data rows is a date; a tick-box column of 0 and 1 goes out as
// numbers.
struct ColumnPlan {
    int lastDate = -1;  // the last data row, in a date column
    bool flags = false;
};

std::vector<ColumnPlan> planColumns(const GridModel& m) {
    std::vector<ColumnPlan> plans(static_cast<std::size_t>(m.cols()));
    std::vector<int> firstText(plans.size(), -1);
    int dataEnd = -1;
    for (int c = 0; c < m.cols(); ++c) {
        ColumnPlan& plan = plans[static_cast<std::size_t>(c)];
        if (m.columnKind(c) == CellKind::TickBox) {
            bool any = false, all = true;
            for (int r = m.fixedRows(); r < m.rows() && all; ++r) {
                const std::string text = m.text(r, c);
                if (text.empty()) continue;
                any = true;
                all = text == "0" || text == "1";
            }
            plan.flags = any && all;
            continue;
        }
        if (m.columnKind(c) != CellKind::Text) continue;
        int& text = firstText[static_cast<std::size_t>(c)];
        for (int r = m.fixedRows(); r < m.rows(); ++r) {
            const std::string cell = m.text(r, c);
            if (cell.empty()) continue;
            if (dateIn(cell)) plan.lastDate = r;
            else if (plan.lastDate < 0) break;  // a text first: no date column
            else if (text < 0) text = r;
        }
        dataEnd = std::max(dataEnd, plan.lastDate);
    }
    for (std::size_t c = 0; c < plans.size(); ++c) {
        ColumnPlan& plan = plans[c];
        if (plan.lastDate < 0) continue;
        plan.lastDate = firstText[c] < 0 || firstText[c] > dataEnd ? dataEnd : -1;
    }
    return plans;
}

// Every row is written, and in it every cell, blank ones and the covered
// parts of blocks too, so each carries its look (borders, fill).
class SheetWriter {
public:
    SheetWriter(const GridModel& m, ZipWriter& zip, Styles& styles)
        : m_(m), zip_(zip), styles_(styles), plans_(planColumns(m)) {
        for (int c = 0; c < m.cols(); ++c) columns_.push_back(columnName(c));
    }

    bool write(const ExportOptions& options) {
        if (!zip_.begin("xl/worksheets/sheet1.xml", kLevel, mayPass4Gb())) return false;
        head();
        BlockScanner blocks(m_);
        for (int r = 0; r < m_.rows() && zip_.ok(); ++r) {
            blocks.row(r);
            row(r, blocks);
            if (out_.size() >= kChunk) send();
        }
        tail(options);
        send();
        return zip_.end();
    }

private:
    // A cell that goes out as a number: a figure, a date or a tick-box flag.
    std::optional<Number> valueAt(int r, int c) const {
        const ColumnPlan& plan = plans_[static_cast<std::size_t>(c)];
        if (r >= m_.fixedRows() && r <= plan.lastDate) return dateIn(m_.text(r, c));
        if (r >= m_.fixedRows() && plan.flags) {
            const std::string text = m_.text(r, c);
            if (!text.empty()) return Number{text == "1" ? 1.0 : 0.0, "0"};
        }
        return numberAt(m_, r, c);
    }

    // Whether the sheet's XML could pass the 4 GB a plain zip entry holds: at
    // most a few dozen bytes of markup a cell, and each text byte at most six
    // once escaped.
    bool mayPass4Gb() const {
        unsigned long long most = (1 << 16) + 128ull * static_cast<unsigned>(m_.cols());
        for (int r = 0; r < m_.rows(); ++r) {
            most += 128;
            for (int c = 0; c < m_.cols(); ++c) most += 96 + 6 * m_.text(r, c).size();
        }
        most += 64 * m_.merges().size();
        return most >= 0xFFFFFFFFull;
    }

    void send() {
        zip_.write(out_);
        out_.clear();
    }

    void head() {
        out_ = kHead;
        out_ += "<worksheet xmlns=\"" + std::string(kMain) + "\" xmlns:r=\"" + kRels +
                "\"><sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr><dimension ref=\"A1";
        if (m_.rows() > 1 || m_.cols() > 1)
            out_ += ":" + columnName(std::max(m_.cols(), 1) - 1) + std::to_string(std::max(m_.rows(), 1));
        out_ += "\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews><sheetFormatPr";
        if (m_.defaultRowHeight() > 0) {
            out_ += " defaultRowHeight=\"";
            appendPoints(out_, m_.defaultRowHeight());
            out_ += "\" customHeight=\"1\"/>";
        } else {
            out_ += " defaultRowHeight=\"15\"/>";
        }
        if (m_.cols() > 0) {
            out_ += "<cols>";
            for (int c = 0; c < m_.cols(); ++c) {
                const int px = m_.columnWidth(c);
                out_ += "<col min=\"" + std::to_string(c + 1) + "\" max=\"" + std::to_string(c + 1) + "\" width=\"";
                appendNumber(out_, widthOf(px));
                out_ += px == 0 ? "\" hidden=\"1\" customWidth=\"1\"/>" : "\" customWidth=\"1\"/>";
            }
            out_ += "</cols>";
        }
        out_ += "<sheetData>";
    }

    void row(int r, const BlockScanner& blocks) {
        rowNumber_.clear();
        appendInt(rowNumber_, r + 1);
        const int h = m_.rowHeight(r);
        out_ += "<row r=\"";
        out_ += rowNumber_;
        out_ += '"';
        // A hidden row keeps the usual height for when it is shown again.
        const int shownHeight = h == 0 ? m_.defaultRowHeight() : h;
        if (shownHeight > 0) {
            out_ += " ht=\"";
            appendPoints(out_, shownHeight);
            out_ += "\" customHeight=\"1\"";
        }
        if (h == 0) out_ += " hidden=\"1\"";
        out_ += '>';
        for (int c = 0; c < m_.cols(); ++c) {
            const CellRange* b = blocks.at(c);
            if (b != nullptr && (b->row1 != r || b->col1 != c)) {
                // Covered cells carry the block's look.
                cellStart(c, styles_.of(lookOf(m_, b->row1, b->col1, valueAt(b->row1, b->col1)), c));
                out_ += "/>";
                continue;
            }
            const std::optional<Number> number = valueAt(r, c);
            cellStart(c, styles_.of(lookOf(m_, r, c, number), c));
            const std::string& text = m_.text(r, c);
            if (number) {
                out_ += "><v>";
                appendNumber(out_, number->value);
                out_ += "</v></c>";
            } else if (text.empty()) {
                out_ += "/>";
            } else {
                out_ += " t=\"inlineStr\"><is><t";
                // Readers drop spaces at either end unless told to keep them.
                const auto isSpace = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\n'; };
                if (isSpace(text.front()) || isSpace(text.back())) out_ += " xml:space=\"preserve\"";
                out_ += '>';
                if (text.size() <= kMostCharacters) appendEscaped(out_, text, "\n");
                else appendEscaped(out_, utf8Substr(text, 0, kMostCharacters), "\n");
                out_ += "</t></is></c>";
            }
        }
        out_ += "</row>";
    }

    void cellStart(int c, int style) {
        out_ += "<c r=\"";
        out_ += columns_[static_cast<std::size_t>(c)];
        out_ += rowNumber_;
        out_ += "\" s=\"";
        appendInt(out_, style);
        out_ += '"';
    }

    void tail(const ExportOptions& options) {
        out_ += "</sheetData>";
        std::string merges;
        int count = 0;
        for (const CellRange& b : m_.merges()) {
            if (b.row1 == b.row2 && b.col1 == b.col2) continue;
            ++count;
            merges += "<mergeCell ref=\"" + columns_[static_cast<std::size_t>(b.col1)] + std::to_string(b.row1 + 1) +
                      ":" + columns_[static_cast<std::size_t>(b.col2)] + std::to_string(b.row2 + 1) + "\"/>";
        }
        if (count > 0) out_ += "<mergeCells count=\"" + std::to_string(count) + "\">" + merges + "</mergeCells>";
        // Landscape A4 as the print preview uses, one page wide.
        out_ += "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>"
                "<pageSetup paperSize=\"9\" fitToHeight=\"0\" orientation=\"landscape\"/>";
        if (!options.title.empty()) {
            out_ += "<headerFooter><oddHeader>";
            appendEscaped(out_, headerText(options.title), "");
            out_ += "</oddHeader></headerFooter>";
        }
        out_ += "</worksheet>";
    }

    const GridModel& m_;
    ZipWriter& zip_;
    Styles& styles_;
    const std::vector<ColumnPlan> plans_;
    std::vector<std::string> columns_;
    std::string rowNumber_;
    std::string out_;
};

bool writePart(ZipWriter& zip, const std::string& name, const std::string& xml) {
    return zip.begin(name, kLevel) && zip.write(xml) && zip.end();
}

bool writeWorkbook(ZipWriter& zip, const GridModel& m, const ExportOptions& options) {
    const std::string types =
        std::string(kHead) +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/></Types>";
    const std::string packageRels = std::string(kHead) + "<Relationships xmlns=\"" + kPackageRels +
                                    "\"><Relationship Id=\"rId1\" Type=\"" + kRels +
                                    "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    std::string book = std::string(kHead) + "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRels +
                       "\"><bookViews><workbookView/></bookViews><sheets><sheet name=\"Sheet1\" sheetId=\"1\" "
                       "r:id=\"rId1\"/></sheets>";
    // The header rows repeated on every printed page.
    const int fixed = std::min(m.fixedRows(), m.rows());
    if (fixed > 0)
        book += "<definedNames><definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">Sheet1!$1:$" +
                std::to_string(fixed) + "</definedName></definedNames>";
    book += "</workbook>";
    const std::string bookRels = std::string(kHead) + "<Relationships xmlns=\"" + kPackageRels +
                                 "\"><Relationship Id=\"rId1\" Type=\"" + kRels +
                                 "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" +
                                 kRels + "/styles\" Target=\"styles.xml\"/></Relationships>";

    // The looks are known once the sheet is written, so the styles follow it.
    Styles styles(m.cols());
    return writePart(zip, "[Content_Types].xml", types) && writePart(zip, "_rels/.rels", packageRels) &&
           writePart(zip, "xl/workbook.xml", book) && writePart(zip, "xl/_rels/workbook.xml.rels", bookRels) &&
           SheetWriter(m, zip, styles).write(options) && writePart(zip, "xl/styles.xml", styles.xml());
}

}  // namespace

bool exportXlsx(const GridModel& model, const std::string& path, const ExportOptions& options, ExportFailure* whyNot) {
    ReplacingFile file(path);
    if (model.rows() > kMostRows)
        file.fail(platform::numberedText(
            1065, "The grid has %1 rows, more than the %2 a worksheet holds, so the file %3 was not written.",
            {std::to_string(model.rows()), std::to_string(kMostRows), path}));
    else if (model.cols() > kMostColumns)
        file.fail(platform::numberedText(
            1066, "The grid has %1 columns, more than the %2 a worksheet holds, so the file %3 was not written.",
            {std::to_string(model.cols()), std::to_string(kMostColumns), path}));
    if (file.ok()) {
        ZipWriter zip(file.tempPath());
        const bool written = writeWorkbook(zip, model, options);
        if (!zip.close() || !written) {
            if (zip.systemError() != 0)
                file.failWithErrno(zip.systemError());
            else
                file.fail(platform::numberedText(1061, "The file %1 could not be written.", {path}));
        }
    }
    const bool ok = file.commit();
    if (!ok && whyNot) *whyNot = file.error();
    return ok;
}

}  // namespace tolvenk::grid
