#include "platform/excel/XlsxReader.h"

#include <unzip.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <map>
#include <pugixml.hpp>
#include <string_view>

#include "platform/db/Utf8.h"
#include "platform/excel/NumberFormat.h"

namespace tolvenk::excel {

namespace {

const SheetCell kEmptyCell;

class Zip {
public:
    explicit Zip(const std::string& path) : path_(path), z_(unzOpen64(path.c_str())) {
        if (!z_) throw WorkbookError(path + ": not a workbook (no zip archive)", WorkbookProblem::NotAWorkbook);
    }
    ~Zip() { unzClose(z_); }
    Zip(const Zip&) = delete;
    Zip& operator=(const Zip&) = delete;

    // The part's bytes, or nothing when the archive has no such part.
    std::optional<std::string> part(const std::string& name) {
        if (unzLocateFile(z_, name.c_str(), 1) != UNZ_OK) return std::nullopt;
        if (unzOpenCurrentFile(z_) != UNZ_OK) throw WorkbookError(path_ + ": cannot open " + name);
        std::string data;
        char buf[1 << 16];
        int n;
        while ((n = unzReadCurrentFile(z_, buf, sizeof buf)) > 0) data.append(buf, static_cast<std::size_t>(n));
        const int closed = unzCloseCurrentFile(z_);
        if (n < 0 || closed != UNZ_OK) throw WorkbookError(path_ + ": " + name + " is damaged");
        return data;
    }

    pugi::xml_document xml(const std::string& name, bool required = true) {
        pugi::xml_document doc;
        const std::optional<std::string> data = part(name);
        if (!data) {
            if (required) throw WorkbookError(path_ + ": " + name + " is missing");
            return doc;
        }
        // An XML reader must refuse bytes that are not UTF-8; pugixml passes them through.
        if (!isValidUtf8(*data)) throw WorkbookError(path_ + ": " + name + " is not valid UTF-8");
        const pugi::xml_parse_result res = doc.load_buffer(data->data(), data->size(), pugi::parse_default,
                                                           pugi::encoding_utf8);
        if (!res)
            throw WorkbookError(path_ + ": " + name + " is not well-formed XML (" + res.description() + " at byte " +
                                std::to_string(res.offset) + ")");
        return doc;
    }

private:
    std::string path_;
    unzFile z_;
};

// Element names without their prefix, since writers choose prefixes freely.
std::string_view local(const char* name) {
    const std::string_view s(name);
    const std::size_t colon = s.find(':');
    return colon == std::string_view::npos ? s : s.substr(colon + 1);
}

pugi::xml_node child(pugi::xml_node n, std::string_view name) {
    for (pugi::xml_node c : n.children())
        if (local(c.name()) == name) return c;
    return {};
}

// All text of the <t> elements below n, leaving out phonetic runs.
void collectText(pugi::xml_node n, std::string& out) {
    for (pugi::xml_node c : n.children()) {
        const std::string_view name = local(c.name());
        if (name == "t") out += c.child_value();
        else if (name == "r") collectText(c, out);
    }
}

// "AB12" -> row 11, column 27; false when it is no cell reference.
bool parseRef(std::string_view ref, int& row, int& col) {
    std::size_t i = 0;
    int c = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z') c = c * 26 + (ref[i++] - 'A' + 1);
    int r = 0;
    const auto res = std::from_chars(ref.data() + i, ref.data() + ref.size(), r);
    if (c == 0 || r <= 0 || res.ptr != ref.data() + ref.size()) return false;
    row = r - 1;
    col = c - 1;
    return true;
}

std::string builtInFormat(int id) {
    static const std::map<int, std::string> formats = {
        {0, "General"}, {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"}, {9, "0%"}, {10, "0.00%"}, {49, "@"}};
    const auto it = formats.find(id);
    return it == formats.end() ? std::string() : it->second;
}

// Where the first sheet lives, from the workbook and its relationships.
std::string firstSheetPart(Zip& zip, const std::string& path) {
    // Other zip files (documents, archives) have no workbook part at all.
    if (!zip.part("xl/workbook.xml"))
        throw WorkbookError(path + ": not a workbook (xl/workbook.xml is missing)", WorkbookProblem::NotAWorkbook);
    const pugi::xml_document book = zip.xml("xl/workbook.xml");
    const pugi::xml_node sheet = child(child(child(book, "workbook"), "sheets"), "sheet");
    std::string id;
    for (pugi::xml_attribute a : sheet.attributes())
        if (local(a.name()) == "id") id = a.value();
    if (id.empty()) throw WorkbookError(path + ": the workbook has no sheet", WorkbookProblem::NoSheet);
    const pugi::xml_document rels = zip.xml("xl/_rels/workbook.xml.rels");
    for (pugi::xml_node rel : child(rels, "Relationships").children()) {
        if (std::string_view(rel.attribute("Id").value()) != id) continue;
        const std::string target = rel.attribute("Target").value();
        return target.rfind('/', 0) == 0 ? target.substr(1) : "xl/" + target;
    }
    throw WorkbookError(path + ": the first sheet's part is not named");
}

}  // namespace

const SheetCell& Sheet::at(int r, int c) const {
    if (r < 0 || c < 0 || r >= rows()) return kEmptyCell;
    const auto& row = cells_[static_cast<std::size_t>(r)];
    return static_cast<std::size_t>(c) < row.size() ? row[static_cast<std::size_t>(c)] : kEmptyCell;
}

int Sheet::usedRows() const {
    const auto holds = [](const SheetCell& c) { return !c.text.empty() || c.noResult; };
    int n = rows();
    while (n > 0 && std::none_of(cells_[static_cast<std::size_t>(n - 1)].begin(),
                                 cells_[static_cast<std::size_t>(n - 1)].end(), holds))
        --n;
    return n;
}

SheetCell& Sheet::put(int r, int c) {
    if (static_cast<std::size_t>(r) >= cells_.size()) cells_.resize(static_cast<std::size_t>(r) + 1);
    auto& row = cells_[static_cast<std::size_t>(r)];
    if (static_cast<std::size_t>(c) >= row.size()) row.resize(static_cast<std::size_t>(c) + 1);
    cols_ = std::max(cols_, c + 1);
    return row[static_cast<std::size_t>(c)];
}

Sheet readFirstSheet(const std::string& path) {
    Zip zip(path);
    const std::string sheetPart = firstSheetPart(zip, path);

    std::vector<std::string> shared;
    const pugi::xml_document sst = zip.xml("xl/sharedStrings.xml", false);
    for (pugi::xml_node si : child(sst, "sst").children()) {
        if (local(si.name()) != "si") continue;
        collectText(si, shared.emplace_back());
    }

    std::map<int, std::string> ownFormats;
    std::vector<std::string> formatOfStyle;
    std::vector<bool> dateOfStyle;
    const pugi::xml_document styles = zip.xml("xl/styles.xml", false);
    const pugi::xml_node styleSheet = child(styles, "styleSheet");
    for (pugi::xml_node f : child(styleSheet, "numFmts").children())
        ownFormats[f.attribute("numFmtId").as_int()] = f.attribute("formatCode").value();
    for (pugi::xml_node xf : child(styleSheet, "cellXfs").children()) {
        const int id = xf.attribute("numFmtId").as_int();
        const auto own = ownFormats.find(id);
        formatOfStyle.push_back(own != ownFormats.end() ? own->second : builtInFormat(id));
        dateOfStyle.push_back(isDateFormat(id, own != ownFormats.end() ? own->second : std::string()));
    }

    Sheet sheet;
    const pugi::xml_document doc = zip.xml(sheetPart);
    const pugi::xml_node ws = child(doc, "worksheet");
    int row = -1;
    for (pugi::xml_node rowNode : child(ws, "sheetData").children()) {
        if (local(rowNode.name()) != "row") continue;
        row = rowNode.attribute("r") ? rowNode.attribute("r").as_int() - 1 : row + 1;
        int col = -1;
        for (pugi::xml_node c : rowNode.children()) {
            if (local(c.name()) != "c") continue;
            int r = row;
            if (!c.attribute("r") || !parseRef(c.attribute("r").value(), r, col)) ++col;
            if (r != row || r < 0) throw WorkbookError(path + ": a cell out of its row in " + sheetPart);
            SheetCell& cell = sheet.put(row, col);
            const std::size_t style = c.attribute("s").as_uint();
            if (style < formatOfStyle.size() && !formatOfStyle[style].empty()) cell.format = formatOfStyle[style];
            const std::string type = c.attribute("t").value();
            const pugi::xml_node v = child(c, "v");
            // A formula keeps its last result in <v>; writers that do not
            // calculate leave it out or empty (an empty text result says t="str").
            if (child(c, "f") && type != "inlineStr" && (!v || (*v.child_value() == '\0' && type != "str"))) {
                cell.noResult = true;
                continue;
            }
            if (type == "s") {
                const std::size_t i = std::strtoul(v.child_value(), nullptr, 10);
                if (!v || i >= shared.size()) throw WorkbookError(path + ": a shared text is missing in " + sheetPart);
                cell.text = shared[i];
            } else if (type == "inlineStr") {
                collectText(child(c, "is"), cell.text);
            } else if (type == "str" || type == "e") {
                cell.text = v.child_value();
            } else if (type == "b") {
                cell.text = std::string_view(v.child_value()) == "1" ? "TRUE" : "FALSE";
            } else if (type == "d") {
                cell.text = v.child_value();  // a date or time as ISO text
                cell.date = true;
            } else if (v) {
                const std::string_view s = v.child_value();
                double value = 0;
                const auto res = std::from_chars(s.data(), s.data() + s.size(), value);
                if (res.ec != std::errc() || res.ptr != s.data() + s.size())
                    throw WorkbookError(path + ": a number cannot be read in " + sheetPart);
                cell.number = value;
                cell.text = numberText(value);
                cell.date = style < dateOfStyle.size() && dateOfStyle[style];
            }
        }
    }
    for (pugi::xml_node m : child(ws, "mergeCells").children()) {
        if (local(m.name()) != "mergeCell") continue;
        const std::string_view ref = m.attribute("ref").value();
        const std::size_t colon = ref.find(':');
        SheetRange range;
        if (colon == std::string_view::npos || !parseRef(ref.substr(0, colon), range.row1, range.col1) ||
            !parseRef(ref.substr(colon + 1), range.row2, range.col2))
            throw WorkbookError(path + ": a merged block cannot be read in " + sheetPart);
        sheet.merges_.push_back(range);
    }
    return sheet;
}

std::string readPart(const std::string& path, const std::string& name) {
    Zip zip(path);
    (void)zip.xml(name);
    return *zip.part(name);
}

}  // namespace tolvenk::excel
