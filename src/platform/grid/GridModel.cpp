#include "platform/grid/GridModel.h"

#include <algorithm>

#include "platform/Error.h"
#include "platform/db/Utf8.h"

namespace tolvenk::grid {

namespace {
const std::string kEmpty;
const std::vector<std::string> kNoList;

// Display width of a text in pixels at the grid's font: wide (CJK) characters
// take about twice the room of narrow ones.
int textWidth(const std::string& s) {
    int w = 0;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        w += len >= 3 ? 14 : 7;
        i += static_cast<std::size_t>(len);
    }
    return w;
}
}  // namespace

GridModel::GridModel() { setCols(1); setRows(1); }

void GridModel::checkRow(int r) const {
    if (r < 0 || r >= rows()) throw VbError(381, "Invalid row index " + std::to_string(r));
}

void GridModel::checkCol(int c) const {
    if (c < 0 || c >= cols_) throw VbError(381, "Invalid column index " + std::to_string(c));
}

StoredCell& GridModel::cell(int r, int c) {
    checkRow(r);
    checkCol(c);
    return store_.change(r, c);
}

const StoredCell& GridModel::cell(int r, int c) const {
    checkRow(r);
    checkCol(c);
    return store_.at(r, c);
}

void GridModel::notify() {
    if (suspend_ == 0 && changed) changed();
}

void GridModel::suspend() { ++suspend_; }

void GridModel::resume() {
    if (suspend_ > 0 && --suspend_ == 0) notify();
}

void GridModel::clipToSize() {
    const auto outside = [this](const CellRange& m) { return m.row2 >= rows() || m.col2 >= cols_; };
    merges_.erase(std::remove_if(merges_.begin(), merges_.end(), outside), merges_.end());
    borders_.erase(std::remove_if(borders_.begin(), borders_.end(),
                                  [&](const BorderSpec& b) { return outside(b.range); }),
                   borders_.end());
}

void GridModel::setRows(int n) {
    if (n < 0) throw VbError(380, "Invalid property value");
    store_.resize(n);
    heights_.erase(heights_.lower_bound(n), heights_.end());
    // A new fill starts (the room of the last one's rows went back).
    if (n <= fixedRows_) ++emptied_;
    clipToSize();
    notify();
}

void GridModel::setCols(int n) {
    if (n < 0) throw VbError(380, "Invalid property value");
    cols_ = n;
    store_.setCols(n);
    columns_.resize(static_cast<std::size_t>(n));
    clipToSize();
    notify();
}

std::string GridModel::text(int r, int c) const { return cell(r, c).text.str(); }

void GridModel::setText(int r, int c, const std::string& t) {
    std::string text = t;
    makeValidUtf8(text);
    cell(r, c).text.assign(text);
    notify();
}

const GridModel::Look& GridModel::lookOf(int r, int c) const { return looks_[cell(r, c).look]; }

void GridModel::setLook(int r, int c, const Look& look) {
    std::size_t i = 0;
    while (i < looks_.size() && !(looks_[i] == look)) ++i;
    if (i == looks_.size()) {
        if (looks_.size() > UINT16_MAX) throw VbError(7, "Out of memory");
        looks_.push_back(look);
    }
    cell(r, c).look = static_cast<std::uint16_t>(i);
}

Alignment GridModel::alignment(int r, int c) const {
    const Alignment own = lookOf(r, c).alignment;
    return own != AlignDefault ? own : columns_[static_cast<std::size_t>(c)].alignment;
}

void GridModel::setAlignment(int r, int c, Alignment a) {
    Look look = lookOf(r, c);
    look.alignment = a;
    setLook(r, c, look);
    notify();
}

Colour GridModel::foreColor(int r, int c) const { return lookOf(r, c).fore; }

void GridModel::setForeColor(int r, int c, Colour colour) {
    Look look = lookOf(r, c);
    look.fore = colour;
    setLook(r, c, look);
    notify();
}

std::optional<Colour> GridModel::backColor(int r, int c) const { return lookOf(r, c).back; }

void GridModel::setBackColor(int r, int c, Colour colour) {
    Look look = lookOf(r, c);
    look.back = colour;
    setLook(r, c, look);
    notify();
}

int GridModel::columnWidth(int c) const {
    checkCol(c);
    return columns_[static_cast<std::size_t>(c)].width;
}

void GridModel::setColumnWidth(int c, int w) {
    checkCol(c);
    columns_[static_cast<std::size_t>(c)].width = std::max(0, w);
    notify();
}

Alignment GridModel::columnAlignment(int c) const {
    checkCol(c);
    return columns_[static_cast<std::size_t>(c)].alignment;
}

void GridModel::setColumnAlignment(int c, Alignment a) {
    checkCol(c);
    columns_[static_cast<std::size_t>(c)].alignment = a;
    notify();
}

CellKind GridModel::columnKind(int c) const {
    checkCol(c);
    return columns_[static_cast<std::size_t>(c)].kind;
}

void GridModel::setColumnKind(int c, CellKind k) {
    checkCol(c);
    columns_[static_cast<std::size_t>(c)].kind = k;
    notify();
}

bool GridModel::columnLocked(int c) const {
    checkCol(c);
    return columns_[static_cast<std::size_t>(c)].locked;
}

void GridModel::setColumnLocked(int c, bool locked) {
    checkCol(c);
    columns_[static_cast<std::size_t>(c)].locked = locked;
}

const std::vector<std::string>& GridModel::columnList(int c) const {
    checkCol(c);
    return columns_[static_cast<std::size_t>(c)].list;
}

void GridModel::setColumnList(int c, std::vector<std::string> items) {
    checkCol(c);
    columns_[static_cast<std::size_t>(c)].list = std::move(items);
}

void GridModel::autoFit(int c, const std::function<int(const std::string&)>& shown) {
    autoFit(c, shown, rows() + 1, {});
}

void GridModel::autoFit(int c, const std::function<int(const std::string&)>& shown, int rowsPerStep,
                        const std::function<bool()>& between) {
    checkCol(c);
    std::function<int(int, const std::string&)> each;
    if (shown) each = [&](int, const std::string& t) { return shown(t); };
    autoFit(std::vector<int>{c}, each, rowsPerStep, between);
}

void GridModel::autoFit(const std::vector<int>& columns, const std::function<int(int, const std::string&)>& shown,
                        int rowsPerStep, const std::function<bool()>& between) {
    for (int c : columns) checkCol(c);
    // A text merged over several columns does not size any one of them; the
    // blocks are looked at once, not once per row, for grids of many merges.
    std::vector<std::vector<bool>> spread(columns.size());
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const int c = columns[k];
        for (const auto& m : merges_)
            if (m.col1 != m.col2 && m.col1 <= c && c <= m.col2) {
                if (spread[k].empty()) spread[k].assign(static_cast<std::size_t>(rows()), false);
                for (int r = m.row1; r <= m.row2 && r < rows(); ++r) spread[k][static_cast<std::size_t>(r)] = true;
            }
    }
    std::vector<int> widest(columns.size(), 0);
    std::string t;
    for (int r = 0; r < rows(); ++r) {
        if (r > 0 && r % std::max(rowsPerStep, 1) == 0 && between && !between()) return;
        if (r >= rows()) break;  // rows went meanwhile
        if (rowHeight(r) == 0) continue;
        const StoredCell* row = store_.peekRow(r);
        for (std::size_t k = 0; k < columns.size(); ++k) {
            if (columns[k] >= cols_) continue;  // the column went meanwhile
            const std::vector<bool>& s = spread[k];
            if (!s.empty() && (static_cast<std::size_t>(r) >= s.size() || s[static_cast<std::size_t>(r)])) continue;
            t = row[columns[k]].text.str();
            int& w = widest[k];
            w = std::max(w, textWidth(t) + 12);
            if (shown && !t.empty()) w = std::max(w, shown(columns[k], t));
        }
    }
    for (std::size_t k = 0; k < columns.size(); ++k)
        if (columns[k] < cols_) columns_[static_cast<std::size_t>(columns[k])].width = std::max(widest[k], 24);
    notify();
}

int GridModel::rowHeight(int r) const {
    checkRow(r);
    if (heights_.empty()) return defaultRowHeight_;
    const auto it = heights_.find(r);
    return it == heights_.end() ? defaultRowHeight_ : it->second;
}

void GridModel::setRowHeight(int r, int h) {
    checkRow(r);
    heights_[r] = std::max(0, h);
    notify();
}

void GridModel::setDefaultRowHeight(int h) {
    defaultRowHeight_ = std::max(0, h);
    notify();
}

void GridModel::setFixedRows(int n) {
    fixedRows_ = std::max(0, n);
    notify();
}

void GridModel::setFixedCols(int n) {
    fixedCols_ = std::max(0, n);
    notify();
}

void GridModel::merge(const CellRange& range) {
    CellRange grown = range;
    if (grown.row1 > grown.row2) std::swap(grown.row1, grown.row2);
    if (grown.col1 > grown.col2) std::swap(grown.col1, grown.col2);
    checkRow(grown.row1);
    checkRow(grown.row2);
    checkCol(grown.col1);
    checkCol(grown.col2);
    // Absorb every block it touches until none is left, so chains grow into one.
    bool absorbed = true;
    while (absorbed) {
        absorbed = false;
        for (auto it = merges_.begin(); it != merges_.end(); ++it) {
            if (it->overlaps(grown)) {
                grown = {std::min(grown.row1, it->row1), std::min(grown.col1, it->col1),
                         std::max(grown.row2, it->row2), std::max(grown.col2, it->col2)};
                merges_.erase(it);
                absorbed = true;
                break;
            }
        }
    }
    if (grown.row1 != grown.row2 || grown.col1 != grown.col2) merges_.push_back(grown);
    notify();
}

std::optional<CellRange> GridModel::mergeAt(int r, int c) const {
    for (const auto& m : merges_)
        if (m.contains(r, c)) return m;
    return std::nullopt;
}

void GridModel::addBorders(const CellRange& range, int edge, int style) {
    borders_.push_back({range, edge, style});
}

void GridModel::addRow(const std::string& tabText) {
    setRows(rows() + 1);
    const int r = rows() - 1;
    int c = 1;
    std::size_t pos = 0;
    while (c < cols_) {
        const std::size_t tab = tabText.find('\t', pos);
        std::string text = tabText.substr(pos, tab == std::string::npos ? std::string::npos : tab - pos);
        makeValidUtf8(text);
        store_.change(r, c).text.assign(text);
        if (tab == std::string::npos) break;
        pos = tab + 1;
        ++c;
    }
    notify();
}

void GridModel::removeRow(int r) {
    checkRow(r);
    store_.erase(r);
    // The heights of the rows below move up with them.
    std::map<int, int> heights;
    for (const auto& [row, h] : heights_)
        if (row != r) heights.emplace(row > r ? row - 1 : row, h);
    heights_ = std::move(heights);
    // Blocks below move up; a block that loses its only other row goes.
    std::vector<CellRange> kept;
    for (CellRange m : merges_) {
        if (m.row1 > r) --m.row1;
        if (m.row2 >= r) --m.row2;
        if (m.row2 >= m.row1 && (m.row1 != m.row2 || m.col1 != m.col2)) kept.push_back(m);
    }
    merges_ = kept;
    clipToSize();
    notify();
}

}  // namespace tolvenk::grid
