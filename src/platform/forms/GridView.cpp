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

void GridTable::applyLayout(const grid::GridModel& model, int rows, bool reshaped) {
    model_ = &model;
    // One repaint at the end, not one per section. Updates already off (the
    // grid's redraw is off) stay as they are: turning them off here by hand
    // would keep the frozen strip unpainted after the grid's redraw is back.
    const bool wasUpdating = updatesEnabled();
    if (wasUpdating) setUpdatesEnabled(false);
    verticalHeader()->setDefaultSectionSize(std::max(1, model.defaultRowHeight()));
    for (int c = 0; c < model.cols(); ++c) {
        const int w = model.columnWidth(c);
        setColumnHidden(c, w == 0);
        if (w > 0) setColumnWidth(c, w);
    }
    for (int r = 0; r < rows; ++r) {
        const int h = model.rowHeight(r);
        setRowHidden(r, h == 0);
        if (h > 0) setRowHeight(r, h);
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

void GridTable::paintEvent(QPaintEvent* e) {
    QTableView::paintEvent(e);
    if (!model_ || model_->borders().empty()) return;
    QPainter p(viewport());
    const int rows = model()->rowCount(), cols = model()->columnCount();
    for (const auto& b : model_->borders()) {
        const auto& g = b.range;
        if (g.row1 >= rows || g.col1 >= cols) continue;
        const int r2 = std::min(g.row2, rows - 1), c2 = std::min(g.col2, cols - 1);
        p.setPen(QPen(Qt::black, b.style >= 2 ? 2 : 1));
        const int x1 = columnViewportPosition(g.col1), y1 = rowViewportPosition(g.row1);
        const int x2 = columnViewportPosition(c2) + columnWidth(c2) - 1;
        const int y2 = rowViewportPosition(r2) + rowHeight(r2) - 1;
        switch (b.edge) {
        case 0: p.drawLine(x1, y1, x1, y2); break;
        case 1: p.drawLine(x1, y1, x2, y1); break;
        case 2: p.drawLine(x2, y1, x2, y2); break;
        case 3: p.drawLine(x1, y2, x2, y2); break;
        case 4:
            for (int c = g.col1; c < c2; ++c) {
                const int x = columnViewportPosition(c) + columnWidth(c) - 1;
                p.drawLine(x, y1, x, y2);
            }
            break;
        case 5:
            for (int r = g.row1; r < r2; ++r) {
                const int y = rowViewportPosition(r) + rowHeight(r) - 1;
                p.drawLine(x1, y, x2, y);
            }
            break;
        default: break;
        }
    }
}

GridView::GridView(QWidget* parent, grid::GridModel& model) : GridTable(parent), model_(model) {
    items_ = new GridItemModel(model, false, this);
    fixedItems_ = new GridItemModel(model, true, this);
    setModel(items_);
    setItemDelegate(new GridDelegate(*items_, this));
    // Per pixel, so every data row can be scrolled clear of the frozen strip.
    setVerticalScrollMode(ScrollPerPixel);

    frozen_ = new GridTable(this);
    frozen_->setModel(fixedItems_);
    frozen_->setItemDelegate(new GridDelegate(*fixedItems_, frozen_));
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setSelectionMode(NoSelection);
    viewport()->stackUnder(frozen_);

    connect(horizontalScrollBar(), &QScrollBar::valueChanged, frozen_->horizontalScrollBar(), &QScrollBar::setValue);
    connect(frozen_->horizontalScrollBar(), &QScrollBar::valueChanged, horizontalScrollBar(), &QScrollBar::setValue);
    onSignal(horizontalScrollBar(), &QScrollBar::valueChanged, [this](int) { checkLeftCol(); });
    onSignal(selectionModel(), &QItemSelectionModel::currentChanged, [this](const QModelIndex& now, const QModelIndex&) {
        if (!quiet_ && now.isValid() && hooks_.currentChanged) hooks_.currentChanged(now.row(), now.column());
    });
    for (QTableView* t : {static_cast<QTableView*>(this), static_cast<QTableView*>(frozen_)})
        onSignal(t, &QTableView::clicked, [this](const QModelIndex& i) {
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
    // Scroll ranges and the strip's place now, not when the loop next runs.
    doItemsLayout();
    frozen_->doItemsLayout();
    placeFrozen();
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

void GridView::placeFrozen() {
    if (!frozen_) return;
    const int h = frozenHeight();
    const QRect vp = viewport()->geometry();
    frozen_->setGeometry(vp.x(), vp.y(), vp.width(), std::min(h, vp.height()));
    frozen_->setVisible(h > 0);
}

void GridView::updateGeometries() {
    QTableView::updateGeometries();
    placeFrozen();
    checkLeftCol();
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);
    if (!frozen_ || !index.isValid() || index.row() < fixedItems_->rowCount()) return;
    // Not behind the frozen strip.
    const int top = rowViewportPosition(index.row());
    const int covered = frozenHeight() - top;
    if (covered > 0) verticalScrollBar()->setValue(verticalScrollBar()->value() - covered);
}

void GridView::checkLeftCol() {
    const int left = columnAt(0);
    if (left < 0 || left == leftCol_) return;
    leftCol_ = left;
    if (hooks_.leftColChanged) hooks_.leftColChanged(left);
}

}  // namespace tolvenk::forms
