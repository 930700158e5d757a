#include "platform/forms/Dispatch.h"
#include "platform/forms/GridView.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "platform/forms/GridDelegate.h"

namespace tolvenk::forms {

GridTable::GridTable(QWidget* parent) : QTableView(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setShowGrid(false);  // the delegate draws lines in the grid's colour
    setSelectionMode(SingleSelection);
    setEditTriggers(DoubleClicked | SelectedClicked | EditKeyPressed);
    setWordWrap(false);
}

void GridTable::applyLayout(const grid::GridModel& model, int rows, bool reshaped, int cols) {
    model_ = &model;
    // One repaint at the end, not one per section. Updates already off (the
    // grid's redraw is off) stay as they are: turning them off here by hand
    // would keep the frozen strip unpainted after the grid's redraw is back.
    const bool wasUpdating = updatesEnabled();
    if (wasUpdating) setUpdatesEnabled(false);
    // A header keeps room for every row it has ever had, about 8 bytes a
    // row, even once they are gone: after a long grid a fresh one gives
    // that memory back.
    if (reshaped && headerRows_ > kLongHeader && rows < headerRows_ / 4) {
        auto* fresh = new QHeaderView(Qt::Vertical, this);
        fresh->hide();
        fresh->setMinimumSectionSize(1);
        setVerticalHeader(fresh);  // the old one goes
        headerRows_ = 0;
        laidDefault_ = -1;
    }
    headerRows_ = std::max(headerRows_, rows);
    const int standard = std::max(1, model.defaultRowHeight());
    // Set even to its own value, the header walks every row it has.
    if (verticalHeader()->defaultSectionSize() != standard) verticalHeader()->setDefaultSectionSize(standard);
    for (int c = 0; c < model.cols(); ++c) {
        const int w = model.columnWidth(c);
        setColumnHidden(c, w == 0 || (cols >= 0 && c >= cols));
        if (w > 0) setColumnWidth(c, w);
    }
    // A reset model's rows all stand at the default; else only the rows given
    // a height, now or last time, are laid out again.
    if (standard != laidDefault_) {
        for (int r = 0; r < rows; ++r) {
            const int h = model.rowHeight(r);
            setRowHidden(r, h == 0);
            if (h > 0) setRowHeight(r, h);
        }
        laidDefault_ = standard;
    } else {
        if (reshaped) customRows_.clear();
        for (int r : customRows_)
            if (r < rows && !model.rowHeightSet(r)) {
                setRowHidden(r, false);
                setRowHeight(r, standard);
            }
    }
    customRows_.clear();
    for (const auto& [r, h] : model.rowHeightsSet()) {
        if (r >= rows) break;
        setRowHidden(r, h == 0);
        if (h > 0) setRowHeight(r, h);
        customRows_.push_back(r);
    }
    std::vector<grid::CellRange> spans;
    for (const auto& m : model.merges())
        if (m.row1 < rows) spans.push_back({m.row1, m.col1, std::min(m.row2, rows - 1), m.col2});
    const auto same = [](const grid::CellRange& a, const grid::CellRange& b) {
        return a.row1 == b.row1 && a.col1 == b.col1 && a.row2 == b.row2 && a.col2 == b.col2;
    };
    if (reshaped || !std::equal(spans.begin(), spans.end(), spans_.begin(), spans_.end(), same)) {
        clearSpans();
        for (const auto& s : spans)
            if (s.row1 != s.row2 || s.col1 != s.col2) setSpan(s.row1, s.col1, s.row2 - s.row1 + 1, s.col2 - s.col1 + 1);
        spans_ = std::move(spans);
    }
    if (wasUpdating) setUpdatesEnabled(true);
    viewport()->update();
}

namespace {

// The line from `from` to `to` (pixels along it, both ends in) at `at`
// across, less the stretches in `gaps`.
void drawAround(QPainter& p, Qt::Orientation along, int at, int from, int to, std::vector<std::pair<int, int>> gaps) {
    const auto line = [&](int a, int b) {
        if (a > b) return;
        if (along == Qt::Vertical) p.drawLine(at, a, at, b);
        else p.drawLine(a, at, b, at);
    };
    std::sort(gaps.begin(), gaps.end());
    for (const auto& [g1, g2] : gaps) {
        line(from, std::min(g1 - 1, to));
        from = std::max(from, g2 + 1);
    }
    line(from, to);
}

}  // namespace

void GridTable::paintEvent(QPaintEvent* e) {
    QTableView::paintEvent(e);
    if (!model_ || model_->borders().empty()) return;
    QPainter p(viewport());
    const int rows = model()->rowCount(), cols = model()->columnCount();
    // The rows in view only: a long grid has a line under each of its rows,
    // and a paint that walked them all would hold up the window.
    const int top = std::max(rowAt(0), 0), shownLast = rowAt(viewport()->height() - 1);
    const int bottom = shownLast < 0 ? rows - 1 : shownLast;
    // A merged block shows as one cell: no border line crosses it, on the
    // screen as on the printed page.
    std::vector<grid::CellRange> blocks;
    for (const auto& s : spans_)
        if (s.row2 >= top && s.row1 <= bottom) blocks.push_back(s);
    const auto rowEnd = [this](int r) { return rowViewportPosition(r) + rowHeight(r) - 1; };
    const auto colEnd = [this](int c) { return columnViewportPosition(c) + columnWidth(c) - 1; };
    // Between column c and c + 1, over rows r1..r2.
    const auto vertical = [&](int c, int x, int r1, int r2) {
        std::vector<std::pair<int, int>> gaps;
        for (const auto& b : blocks)
            if (b.col1 <= c && b.col2 > c && b.row2 >= r1 && b.row1 <= r2)
                gaps.emplace_back(rowViewportPosition(std::max(b.row1, r1)), rowEnd(std::min(b.row2, r2)));
        drawAround(p, Qt::Vertical, x, rowViewportPosition(r1), rowEnd(r2), std::move(gaps));
    };
    // Between row r and r + 1, over columns c1..c2.
    const auto horizontal = [&](int r, int y, int c1, int c2) {
        std::vector<std::pair<int, int>> gaps;
        for (const auto& b : blocks)
            if (b.row1 <= r && b.row2 > r && b.col2 >= c1 && b.col1 <= c2)
                gaps.emplace_back(columnViewportPosition(std::max(b.col1, c1)), colEnd(std::min(b.col2, c2)));
        drawAround(p, Qt::Horizontal, y, columnViewportPosition(c1), colEnd(c2), std::move(gaps));
    };
    for (const auto& b : model_->borders()) {
        const auto& g = b.range;
        if (g.row1 >= rows || g.col1 >= cols) continue;
        const int r2 = std::min(g.row2, rows - 1), c2 = std::min(g.col2, cols - 1);
        const int from = std::max(g.row1, top), to = std::min(r2, bottom);
        if (from > to) continue;
        p.setPen(QPen(Qt::black, b.style >= 2 ? 2 : 1));
        switch (b.edge) {
        case 0: vertical(g.col1 - 1, columnViewportPosition(g.col1), from, to); break;
        case 1:
            if (g.row1 >= top) horizontal(g.row1 - 1, rowViewportPosition(g.row1), g.col1, c2);
            break;
        case 2: vertical(c2, colEnd(c2), from, to); break;
        case 3:
            if (r2 <= bottom) horizontal(r2, rowEnd(r2), g.col1, c2);
            break;
        case 4:
            for (int c = g.col1; c < c2; ++c) vertical(c, colEnd(c), from, to);
            break;
        case 5:
            for (int r = from; r <= std::min(r2 - 1, to); ++r) horizontal(r, rowEnd(r), g.col1, c2);
            break;
        default: break;
        }
    }
}

GridTable* GridView::makeStrip(GridItemModel* items) {
    auto* strip = new GridTable(this);
    strip->setModel(items);
    strip->setItemDelegate(new GridDelegate(*items, strip));
    // Cells it leaves unpainted show the table beneath.
    strip->viewport()->setAutoFillBackground(false);
    strip->setFocusPolicy(Qt::NoFocus);
    strip->setFrameShape(QFrame::NoFrame);
    strip->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    strip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    strip->setHorizontalScrollMode(ScrollPerPixel);
    strip->setVerticalScrollMode(ScrollPerPixel);
    strip->setSelectionMode(NoSelection);
    strip->setEditTriggers(NoEditTriggers);
    // A press on a label cell moves the current cell there, as on the grid itself.
    onSignal(strip, &QTableView::pressed, [this](const QModelIndex& i) { setCurrentIndex(items_->index(i.row(), i.column())); });
    onSignal(strip, &QTableView::clicked, [this](const QModelIndex& i) {
        if (hooks_.clicked) hooks_.clicked(i.row(), i.column());
    });
    return strip;
}

GridView::GridView(QWidget* parent, grid::GridModel& model)
    : GridTable(parent), model_(model), leftCol_(model.fixedCols()) {
    items_ = new GridItemModel(model, false, this);
    fixedItems_ = new GridItemModel(model, true, this);
    setModel(items_);
    setItemDelegate(new GridDelegate(*items_, this));
    // Per pixel, so every data row and column can be scrolled clear of the strips.
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);

    frozenCols_ = makeStrip(items_);
    frozen_ = makeStrip(fixedItems_);
    corner_ = makeStrip(fixedItems_);
    viewport()->stackUnder(frozenCols_);

    const auto follow = [](QScrollBar* a, QScrollBar* b) {
        connect(a, &QScrollBar::valueChanged, b, &QScrollBar::setValue);
        connect(b, &QScrollBar::valueChanged, a, &QScrollBar::setValue);
    };
    follow(horizontalScrollBar(), frozen_->horizontalScrollBar());
    follow(verticalScrollBar(), frozenCols_->verticalScrollBar());
    onSignal(horizontalScrollBar(), &QScrollBar::valueChanged, [this](int) { checkLeftCol(); });
    onSignal(selectionModel(), &QItemSelectionModel::currentChanged, [this](const QModelIndex& now, const QModelIndex&) {
        if (!quiet_ && now.isValid() && hooks_.currentChanged) hooks_.currentChanged(now.row(), now.column());
    });
    onSignal(this, &QTableView::clicked, [this](const QModelIndex& i) {
        if (hooks_.clicked) hooks_.clicked(i.row(), i.column());
    });
    syncNow();
}

void GridView::setHooks(GridItemModel::Hooks itemHooks, Hooks hooks) {
    items_->setHooks(itemHooks);
    fixedItems_->setHooks(std::move(itemHooks));
    hooks_ = std::move(hooks);
}

void GridView::scheduleSync() {
    if (pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(this, [this] { if (pending_) syncNow(); }, Qt::QueuedConnection);
}

void GridView::syncNow() {
    pending_ = false;
    const bool reshaped = items_->sync();
    const bool fixedReshaped = fixedItems_->sync();
    if (reshaped && hooks_.activeCell) {
        const auto [row, col] = hooks_.activeCell();
        const bool scrolls = hasAutoScroll();
        setAutoScroll(false);  // a refilled grid stays where the person left it
        quiet_ = true;
        selectionModel()->setCurrentIndex(items_->index(row, col), QItemSelectionModel::NoUpdate);
        quiet_ = false;
        setAutoScroll(scrolls);
    }
    applyLayout(model_, items_->rowCount(), reshaped);
    frozen_->applyLayout(model_, fixedItems_->rowCount(), fixedReshaped);
    for (GridTable* strip : {frozenCols_, corner_})
        static_cast<GridDelegate*>(strip->itemDelegate())->setColumnLimit(model_.fixedCols());
    frozenCols_->applyLayout(model_, items_->rowCount(), reshaped, model_.fixedCols());
    corner_->applyLayout(model_, fixedItems_->rowCount(), fixedReshaped, model_.fixedCols());
    // Scroll ranges and the strips' places now, not when the loop next runs.
    doItemsLayout();
    for (GridTable* strip : {frozen_, frozenCols_, corner_}) strip->doItemsLayout();
    placeFrozen();
    if (model_.emptied() != seenEmptied_) {
        seenEmptied_ = model_.emptied();
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
    }
    checkLeftCol();
}

void GridView::setCurrentQuietly(int row, int col) {
    if (pending_) syncNow();
    quiet_ = true;
    setCurrentIndex(items_->index(row, col));
    quiet_ = false;
}

int GridView::frozenHeight() const {
    int h = 0;
    for (int r = 0; r < fixedItems_->rowCount(); ++r)
        if (!isRowHidden(r)) h += rowHeight(r);
    return h;
}

int GridView::frozenWidth() const {
    int w = 0;
    for (int c = 0; c < std::min(model_.fixedCols(), items_->columnCount()); ++c)
        if (!isColumnHidden(c)) w += columnWidth(c);
    return w;
}

void GridView::placeFrozen() {
    if (!corner_) return;
    const int h = std::min(frozenHeight(), viewport()->height());
    const int w = std::min(frozenWidth(), viewport()->width());
    const QRect vp = viewport()->geometry();
    frozen_->setGeometry(vp.x(), vp.y(), vp.width(), h);
    frozenCols_->setGeometry(vp.x(), vp.y(), w, vp.height());
    corner_->setGeometry(vp.x(), vp.y(), w, h);
    frozen_->setVisible(h > 0);
    frozenCols_->setVisible(w > 0);
    corner_->setVisible(h > 0 && w > 0);
    // Stacked in this order: the data under the strips, the corner over both.
    frozenCols_->raise();
    frozen_->raise();
    corner_->raise();
    frozenCols_->verticalScrollBar()->setValue(verticalScrollBar()->value());
    frozen_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
}

void GridView::updateGeometries() {
    QTableView::updateGeometries();
    placeFrozen();
    checkLeftCol();
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);
    if (!corner_ || !index.isValid()) return;
    // Not behind a frozen strip.
    if (index.row() >= fixedItems_->rowCount()) {
        const int covered = frozenHeight() - rowViewportPosition(index.row());
        if (covered > 0) verticalScrollBar()->setValue(verticalScrollBar()->value() - covered);
    }
    if (index.column() >= model_.fixedCols()) {
        const int covered = frozenWidth() - columnViewportPosition(index.column());
        if (covered > 0) horizontalScrollBar()->setValue(horizontalScrollBar()->value() - covered);
    }
}

// The first column showing beside the label strip, from the model's widths
// and the scrolled distance, so a half-done layout reports nothing.
void GridView::checkLeftCol() {
    const int fixed = model_.fixedCols();
    int x = horizontalScrollBar()->value(), left = -1;
    for (int c = 0; c < fixed && c < model_.cols(); ++c) x += model_.columnWidth(c);
    for (int c = 0, start = 0; c < model_.cols(); ++c) {
        const int w = model_.columnWidth(c);
        if (c >= fixed && w > 0 && x < start + w) {
            left = c;
            break;
        }
        start += w;
    }
    if (left < 0 || left == leftCol_) return;
    leftCol_ = left;
    if (hooks_.leftColChanged) hooks_.leftColChanged(left);
}

}  // namespace tolvenk::forms
