#include "platform/forms/Grid.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStyle>
#include <QPalette>
#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <utility>

#include "platform/Error.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridView.h"
#include "platform/grid/GridExport.h"
#include "platform/grid/PagePainter.h"
#include "platform/services/Services.h"

namespace tolvenk::forms {

namespace {
constexpr int kLargeRows = 10000;  // rows past which closing hands the room back to the system
}  // namespace

namespace {
grid::Alignment alignmentOf(int code) {
    switch (code) {
    case grid::AlignLeft:
    case grid::AlignCenter:
    case grid::AlignRight: return static_cast<grid::Alignment>(code);
    default: throw VbError(380, "Invalid property value");
    }
}

// Chinese texts need a font that has them; the machine may offer one.
void chooseFont(QWidget* view) {
    static const bool cjk = QFontDatabase::families().contains(QStringLiteral("WenQuanYi Micro Hei"));
    if (!cjk) return;
    QFont f = view->font();
    f.setFamilies({QStringLiteral("WenQuanYi Micro Hei")});
    view->setFont(f);
}

bool endsWith(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), s.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [](char t, char f) { return std::tolower(static_cast<unsigned char>(f)) == t; });
}
}  // namespace

Grid::Grid(Form& form)
    : Control(form, new GridView(form.widget(), model_)), view_(static_cast<GridView*>(widget())) {
    chooseFont(view_);
    view_->setHooks(
        {[this](int r) { return selected_.count(r) != 0; },
         [this](int r, int c) {
             if (AfterEdit) AfterEdit(r, c);
         }},
        {[this](int r, int c) {
             if (r == activeRow_ && c == activeCol_) return;
             activeRow_ = r, activeCol_ = c;
             if (CellChange) CellChange(r, c);
         },
         [this](int r, int c) {
             if (Click) Click(Index);
             if (CellClick) CellClick(r, c);
         },
         [this](int left) {
             if (LeftColChange) LeftColChange(left);
         },
         [this] { return std::pair{activeRow_, activeCol_}; }});
    model_.changed = [this] { view_->scheduleSync(); };
    showSelectionColour();
}

void Grid::showSelectionColour() {
    QPalette p = view_->palette();
    p.setColor(QPalette::Highlight, toQColor(model_.selectionColor));
    p.setColor(QPalette::HighlightedText, p.color(QPalette::Text));
    view_->setPalette(p);
}

QTableView* Grid::view() const { return view_; }

void Grid::touched() {
    if (!model_.suspended()) view_->scheduleSync();
}

void Grid::checkRows(int r1, int r2) const {
    if (r1 < 0 || r2 >= model_.rows() || r1 > r2) throw VbError(381, "Invalid row index");
}

void Grid::setRows(int n) {
    model_.setRows(n);
    selected_.erase(selected_.lower_bound(n), selected_.end());
    activeRow_ = std::min(activeRow_, std::max(0, n - 1));
}

void Grid::setCols(int n) {
    model_.setCols(n);
    activeCol_ = std::min(activeCol_, std::max(0, n - 1));
}

void Grid::Add_Row(const std::string& text, bool redraw) {
    if (redraw) {
        model_.addRow(text);
        return;
    }
    const auto announce = std::exchange(model_.changed, nullptr);
    model_.addRow(text);
    model_.changed = announce;
}

void Grid::RemoveRow(int r) {
    model_.removeRow(r);
    std::set<int> moved;
    for (int s : selected_)
        if (s != r) moved.insert(s > r ? s - 1 : s);
    selected_ = std::move(moved);
    if (activeRow_ > r || activeRow_ >= model_.rows()) activeRow_ = std::max(0, activeRow_ - 1);
}

void Grid::setRedraw(bool on) {
    if (on == !redrawOff_) return;
    redrawOff_ = !on;
    heldShownRows_ = 0;
    heldShownAt_ = std::chrono::steady_clock::now();
    // Held, the grid still paints what it last showed when it is resized or
    // uncovered: only the model's changes wait.
    if (on) model_.resume();
    else model_.suspend();
}

void Grid::Paint_Held() {
    if (!redrawOff_) return;
    const int rows = model_.rows();
    const auto now = std::chrono::steady_clock::now();
    if (rows < 2 * std::max(heldShownRows_, 1) && now - heldShownAt_ < std::chrono::milliseconds(500)) return;
    if (rows == heldShownRows_) return;
    heldShownRows_ = rows;
    heldShownAt_ = now;
    view_->syncNow();
    view_->viewport()->repaint();
}

void Grid::Refresh() {
    view_->syncNow();
    view_->viewport()->repaint();
}

void Grid::setActive_Cell(int r, int c) {
    if (r < 0 || r >= model_.rows() || c < 0 || c >= model_.cols()) throw VbError(381, "Invalid cell index");
    const bool changed = r != activeRow_ || c != activeCol_;
    activeRow_ = r, activeCol_ = c;
    view_->setCurrentQuietly(r, c);
    if (changed && CellChange) CellChange(r, c);
}

int Grid::LeftCol() const { return view_->leftCol(); }

void Grid::setBackColor1(Colour c) {
    model_.backColor1 = c;
    touched();
}

void Grid::setBackColor2(Colour c) {
    model_.backColor2 = c;
    touched();
}

void Grid::setGridLineColor(Colour c) {
    model_.gridLineColor = c;
    touched();
}

void Grid::setSelectionColor(Colour c) {
    model_.selectionColor = c;
    showSelectionColour();
    touched();
}

void Grid::Print_Preview(int zoomPercent, const std::function<void(int page, int pages)>& pageDone) {
    grid::printPreview(model_, pageSetup_, zoomPercent, pageDone);
}

bool Grid::exportTo(std::string file, const std::string& filter, const std::vector<std::string>& extensions,
                    Writer write) {
    exportCancelled_ = false;
    exportError_ = {};
    if (file.empty()) {
        file = platform::services().saveFileName(filter.substr(0, filter.find('|')), filter, "");
        if (file.empty()) {
            exportCancelled_ = true;
            return false;
        }
        if (std::none_of(extensions.begin(), extensions.end(), [&](const auto& e) { return endsWith(file, e); }))
            file += extensions.front();
    }
    return write(model_, file, {pageSetup_.title}, &exportError_);
}

bool Grid::Export_Excel(const std::string& file, bool withFormats) {
    (void)withFormats;  // the workbook always carries the grid's looks
    return exportTo(file, "Excel|*.xlsx", {".xlsx"}, grid::exportXlsx);
}

bool Grid::Export_HTML(const std::string& file) {
    return exportTo(file, "HTML|*.html", {".html", ".htm"}, grid::exportHtml);
}

bool Grid::Export_XML(const std::string& file) { return exportTo(file, "XML|*.xml", {".xml"}, grid::exportXml); }

void Grid::saveOwnDesign() { design_ = {model_, pageSetup_, redrawOff_}; }

void Grid::restoreOwnDesign() {
    auto announce = std::move(model_.changed);
    const bool large = model_.rows() > kLargeRows;
    model_ = grid::GridModel(design_.model);  // a fresh copy: the rows' room goes, not only the rows
#ifdef __GLIBC__
    // The freed rows lie scattered through the heap; the allocator keeps
    // them from the system until told. A window that held a long result
    // gives its memory back as it closes.
    if (large) malloc_trim(0);
#else
    (void)large;
#endif
    model_.changed = std::move(announce);
    pageSetup_ = design_.pageSetup;
    redrawOff_ = design_.redrawOff;
    view_->setUpdatesEnabled(!redrawOff_);
    selected_.clear();
    activeRow_ = activeCol_ = 0;
    showSelectionColour();
    view_->syncNow();
}

// The proxies.

std::string Grid::CellRef::Text() const { return m_.text(r_, c_); }
void Grid::CellRef::setText(const std::string& t) const { m_.setText(r_, c_, t); }
int Grid::CellRef::Alignment() const { return m_.alignment(r_, c_); }
void Grid::CellRef::setAlignment(int code) const { m_.setAlignment(r_, c_, alignmentOf(code)); }
Colour Grid::CellRef::ForeColor() const { return m_.foreColor(r_, c_); }
void Grid::CellRef::setForeColor(Colour c) const { m_.setForeColor(r_, c_, c); }
void Grid::CellRef::setBackColor(Colour c) const { m_.setBackColor(r_, c_, c); }

Grid::ColumnRef Grid::Column(int c) {
    if (c < 0 || c >= model_.cols()) throw VbError(381, "Invalid column index");
    return {*this, c};
}

int Grid::ColumnRef::Width() const { return g_.model_.columnWidth(c_); }
void Grid::ColumnRef::setWidth(int w) const { g_.model_.setColumnWidth(c_, w); }
int Grid::ColumnRef::Alignment() const { return g_.model_.columnAlignment(c_); }
void Grid::ColumnRef::setAlignment(int code) const { g_.model_.setColumnAlignment(c_, alignmentOf(code)); }
grid::CellKind Grid::ColumnRef::CellType() const { return g_.model_.columnKind(c_); }
void Grid::ColumnRef::setCellType(grid::CellKind k) const { g_.model_.setColumnKind(c_, k); }
bool Grid::ColumnRef::Locked() const { return g_.model_.columnLocked(c_); }

void Grid::ColumnRef::setLocked(bool v) const {
    g_.model_.setColumnLocked(c_, v);
    g_.touched();
}

void Grid::ColumnRef::setList(std::vector<std::string> items) const { g_.model_.setColumnList(c_, std::move(items)); }
void Grid::ColumnRef::AutoFit() const { AutoFit(g_.model_.rows() + 1, {}); }

void Grid::ColumnRef::AutoFit(int rowsPerStep, const std::function<bool()>& between) const {
    g_.autoFit({c_}, rowsPerStep, between);
}

void Grid::AutoFit_Shown(int rowsPerStep, const std::function<bool()>& between) {
    std::vector<int> shown;
    for (int c = 0; c < model_.cols(); ++c)
        if (model_.columnWidth(c) >= 1) shown.push_back(c);
    autoFit(shown, rowsPerStep, between);
}

// A long column holds a few shapes of text many times over (dates, amounts,
// row numbers): each text is measured as its shape, every digit the font's
// widest, once per shape. No text of that shape needs more room.
void Grid::autoFit(const std::vector<int>& columns, int rowsPerStep, const std::function<bool()>& between) {
    const QFontMetrics metrics(view_->font());
    char widest = '0';
    for (char d = '1'; d <= '9'; ++d)
        if (metrics.horizontalAdvance(QChar(d)) > metrics.horizontalAdvance(QChar(widest))) widest = d;
    std::unordered_map<std::string, int> room;
    std::string shape;
    model_.autoFit(
        columns,
        [&](int, const std::string& t) {
            shape = t;
            for (char& ch : shape)
                if (ch >= '0' && ch <= '9') ch = widest;
            const auto [at, fresh] = room.try_emplace(shape, 0);
            if (fresh) at->second = Text_Room(at->first);
            return at->second;
        },
        rowsPerStep, between);
}

int Grid::Text_Room(const std::string& text) const {
    // The item delegate keeps a focus margin and a pixel each side; the
    // line on the right edge takes one more.
    const int margin = view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1;
    return QFontMetrics(view_->font()).horizontalAdvance(QString::fromStdString(text)) + 2 * margin + 1;
}

void Grid::Widen_To_Text() {
    const int rows = model_.rows(), cols = model_.cols();
    std::vector<int> widths(static_cast<std::size_t>(cols));
    for (int c = 0; c < cols; ++c) widths[static_cast<std::size_t>(c)] = model_.columnWidth(c);
    struct Block {
        int first, last, room;
    };
    std::vector<Block> blocks;
    for (int r = 0; r < rows; ++r) {
        if (model_.rowHeight(r) == 0) continue;
        for (int c = 0; c < cols; ++c) {
            const std::string& t = model_.text(r, c);
            if (t.empty()) continue;
            int last = c;
            if (const auto m = model_.mergeAt(r, c)) {
                if (m->row1 != r || m->col1 != c) continue;  // the block shows its first cell's text
                last = m->col2;
            }
            if (last == c) {
                auto& w = widths[static_cast<std::size_t>(c)];
                if (w > 0) w = std::max(w, Text_Room(t));
            } else {
                blocks.push_back({c, last, Text_Room(t)});
            }
        }
    }
    // The blocks after the columns: a column widened for its own cells may
    // already give a block its room.
    for (const Block& b : blocks) {
        int room = 0, shown = -1;
        for (int c = b.first; c <= b.last; ++c) {
            room += widths[static_cast<std::size_t>(c)];
            if (widths[static_cast<std::size_t>(c)] > 0) shown = c;
        }
        if (shown >= 0 && room < b.room) widths[static_cast<std::size_t>(shown)] += b.room - room;
    }
    for (int c = 0; c < cols; ++c)
        if (widths[static_cast<std::size_t>(c)] != model_.columnWidth(c))
            model_.setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
}

Grid::RangeRef Grid::Range(int r1, int c1, int r2, int c2) {
    if (r1 > r2) std::swap(r1, r2);
    if (c1 > c2) std::swap(c1, c2);
    checkRows(r1, r2);
    if (c1 < 0 || c2 >= model_.cols()) throw VbError(381, "Invalid column index");
    return {*this, {r1, c1, r2, c2}};
}

void Grid::RangeRef::Merge() const { g_.model_.merge(r_); }

void Grid::RangeRef::setBorders(int edge, int style) const {
    g_.model_.addBorders(r_, edge, style);
    g_.touched();
}

void Grid::RangeRef::setBackColor(Colour c) const {
    g_.model_.suspend();  // one announcement for the block
    for (int r = r_.row1; r <= r_.row2; ++r)
        for (int col = r_.col1; col <= r_.col2; ++col) g_.model_.setBackColor(r, col, c);
    g_.model_.resume();
}

void Grid::RangeRef::setSelected(bool v) const {
    for (int r = r_.row1; r <= r_.row2; ++r)
        if (v) g_.selected_.insert(r);
        else g_.selected_.erase(r);
    g_.touched();
}

bool Grid::RangeRef::Selected() const {
    for (int r = r_.row1; r <= r_.row2; ++r)
        if (g_.selected_.count(r) == 0) return false;
    return true;
}

}  // namespace tolvenk::forms
