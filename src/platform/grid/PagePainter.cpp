#include "platform/grid/PagePainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/services/PrintDocument.h"
#include "platform/services/Services.h"

namespace tolvenk::grid {

namespace {

// Grid pixels print at the screen's 96 per inch, so paper looks like the window at 100 %.
constexpr double kPxPerInch = 96.0;
// Bands and paddings in grid pixels.
constexpr double kTitleBand = 44.0;
constexpr double kFooterBand = 28.0;
constexpr double kPad = 3.0;
constexpr double kLine = 0.6;
constexpr double kTickBox = 11.0;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kFixedBack = 0xEEEEEE;

QColor qColour(Colour c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

Qt::Alignment qAlignment(Alignment a) {
    switch (a) {
    case AlignCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case AlignRight: return Qt::AlignRight | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QFont printFont(double points, bool bold = false) {
    QFont f;
    // Chinese texts need a family with CJK glyphs; Qt falls back to its default when it is missing.
    f.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Which rows and columns go on which page. Every page shows the repeated
// columns and rows plus one column band and one row band. Row bands are kept
// as the rows they start at, not as lists of rows: a million rows make tens
// of thousands of pages, and a page needs its own rows only to be painted.
struct Pagination {
    std::vector<int> repeatCols, repeatRows;
    std::vector<std::vector<int>> colBands;
    // Band b holds the shown rows from rowStarts[b] up to rowStarts[b + 1].
    std::vector<int> rowStarts;
    double scale = 1.0;  // page pixels per grid pixel of the table
    int rowBands() const { return static_cast<int>(rowStarts.size()) - 1; }
    int count() const { return static_cast<int>(colBands.size()) * rowBands(); }
};

// A table at most this much wider than the page is shrunk to the page's
// width; a wider one goes on across pages at full size.
constexpr double kShrinkLimit = 1.2;

template <class Size>
double extent(const std::vector<int>& items, Size size) {
    double sum = 0;
    for (int i : items) sum += size(i);
    return sum;
}

// Greedy runs that fit `room`; an item bigger than the room gets a run of its
// own and is clipped, since it cannot be split.
template <class Size>
std::vector<std::vector<int>> split(const std::vector<int>& items, Size size, double room) {
    std::vector<std::vector<int>> runs(1);
    double used = 0;
    for (int i : items) {
        if (!runs.back().empty() && used + size(i) > room) {
            runs.emplace_back();
            used = 0;
        }
        runs.back().push_back(i);
        used += size(i);
    }
    return runs;
}

// The same greedy runs over the shown rows from `from` on, as the rows they
// start at, ended by the row count.
std::vector<int> rowBreaks(const GridModel& m, int from, double room) {
    std::vector<int> starts{from};
    double used = 0;
    bool empty = true;
    for (int r = from; r < m.rows(); ++r) {
        const double h = m.rowHeight(r);
        if (h <= 0) continue;
        if (!empty && used + h > room) {
            starts.push_back(r);
            used = 0;
        }
        used += h;
        empty = false;
    }
    starts.push_back(m.rows());
    return starts;
}

Pagination paginate(const GridModel& m, double roomW, double roomH) {
    const auto width = [&m](int c) { return double(m.columnWidth(c)); };
    const auto height = [&m](int r) { return double(m.rowHeight(r)); };
    std::vector<int> cols, head;
    for (int c = 0; c < m.cols(); ++c)
        if (m.columnWidth(c) > 0) cols.push_back(c);
    const int fixed = std::min(m.fixedRows(), m.rows());
    for (int r = 0; r < fixed; ++r)
        if (m.rowHeight(r) > 0) head.push_back(r);
    bool data = false;
    for (int r = fixed; r < m.rows() && !data; ++r) data = m.rowHeight(r) > 0;

    Pagination p;
    const double total = extent(cols, width);
    if (total > roomW && total <= roomW * kShrinkLimit) {
        p.scale = roomW / total;
        roomW = total;
        roomH /= p.scale;
    } else if (total > roomW) {
        // Continuation pages repeat the label columns while they leave half the page to the data.
        double labels = 0;
        while (cols.size() > 1 && cols.front() < m.fixedCols() && labels + width(cols.front()) <= roomW / 2) {
            labels += width(cols.front());
            p.repeatCols.push_back(cols.front());
            cols.erase(cols.begin());
        }
    }
    // Headers repeat only while they leave most of the page to the data;
    // otherwise they are the first rows of the first band.
    int bandsFrom = 0;
    if (data && extent(head, height) <= roomH / 2) {
        p.repeatRows = std::move(head);
        bandsFrom = fixed;
    }
    p.colBands = split(cols, width, roomW - extent(p.repeatCols, width));
    p.rowStarts = rowBreaks(m, bandsFrom, roomH - extent(p.repeatRows, height));
    return p;
}

// What page `index` shows: the repeated rows and columns, then its bands.
struct Page {
    std::vector<int> rows, cols;
    std::size_t repeated = 0;  // rows[0..repeated) are the repeated ones
    int number = 0, count = 0;
    double scale = 1.0;
};

Page pageAt(const GridModel& m, const Pagination& p, int index) {
    const int across = static_cast<int>(p.colBands.size());
    const auto band = static_cast<std::size_t>(index / across);
    Page page{p.repeatRows, p.repeatCols, p.repeatRows.size(), index + 1, p.count(), p.scale};
    const int end = std::min(p.rowStarts[band + 1], m.rows());
    for (int r = p.rowStarts[band]; r < end; ++r)
        if (m.rowHeight(r) > 0) page.rows.push_back(r);
    const auto& colBand = p.colBands[static_cast<std::size_t>(index % across)];
    page.cols.insert(page.cols.end(), colBand.begin(), colBand.end());
    return page;
}

// The on-page positions [first, last] of the items inside lo..hi.
std::pair<std::size_t, std::size_t> span(const std::vector<int>& onPage, int lo, int hi) {
    const auto first = std::find_if(onPage.begin(), onPage.end(), [&](int i) { return i >= lo; });
    const auto last = std::find_if(onPage.rbegin(), onPage.rend(), [&](int i) { return i <= hi; });
    return {std::size_t(first - onPage.begin()), std::size_t(onPage.rend() - last - 1)};
}

class GridDocument : public platform::PrintDocument {
public:
    GridDocument(const GridModel& model, const PageSetup& setup) : m_(model), setup_(setup) {}

    bool landscape() const override { return setup_.orientation == 2; }
    int pageCount(const QPageLayout& layout) const override { return pages(layout).count(); }
    void paintPage(QPainter& p, int index, const QPageLayout& layout) const override;

    // What page `index` of the layout shows; nothing past the last page.
    Page page(int index, const QPageLayout& layout) const {
        const Pagination& p = pages(layout);
        return index >= 0 && index < p.count() ? pageAt(m_, p, index) : Page{};
    }

private:
    double titleBand() const { return setup_.titleOn ? kTitleBand : 0.0; }
    QSizeF pageSize(const QPageLayout& layout) const {
        // Millimetres are exact for A4; Qt rounds its inch sizes.
        const QRectF r = layout.paintRect(QPageLayout::Millimeter);
        return {r.width() / 25.4 * kPxPerInch, r.height() / 25.4 * kPxPerInch};
    }
    // The pagination of the last layout asked for, worked out again for
    // another layout (a person turned the page) or when rows came or went.
    const Pagination& pages(const QPageLayout& layout) const {
        const QSizeF page = pageSize(layout);
        const QSizeF room(page.width(), page.height() - titleBand() - kFooterBand);
        if (!cached_ || room != cachedRoom_ || m_.rows() != cachedRows_ || m_.cols() != cachedCols_) {
            pages_ = paginate(m_, room.width(), room.height());
            cachedRoom_ = room;
            cachedRows_ = m_.rows();
            cachedCols_ = m_.cols();
            cached_ = true;
        }
        return pages_;
    }

    QRectF dev(double x, double y, double w, double h) const { return {x * sx_, y * sy_, w * sx_, h * sy_}; }
    void paint(QPainter& p, const Page& page, QSizeF size) const;
    void paintCell(QPainter& p, const QRectF& rect, int r, int c) const;
    void paintText(QPainter& p, const QRectF& rect, const QString& text, Qt::Alignment align) const;
    void paintTick(QPainter& p, const QRectF& rect, bool ticked) const;

    const GridModel& m_;
    const PageSetup& setup_;
    mutable double sx_ = 1, sy_ = 1;  // device pixels per grid pixel
    mutable Pagination pages_;
    mutable QSizeF cachedRoom_;
    mutable int cachedRows_ = 0, cachedCols_ = 0;
    mutable bool cached_ = false;
};

void GridDocument::paintPage(QPainter& p, int index, const QPageLayout& layout) const {
    const Page shown = page(index, layout);
    if (shown.number == 0) return;
    sx_ = p.device()->logicalDpiX() / kPxPerInch;
    sy_ = p.device()->logicalDpiY() / kPxPerInch;
    paint(p, shown, pageSize(layout));
}

void GridDocument::paint(QPainter& p, const Page& page, QSizeF size) const {
    p.setPen(Qt::black);
    if (setup_.titleOn) {
        p.setFont(printFont(16, true));
        p.drawText(dev(0, 0, size.width(), kTitleBand), Qt::AlignCenter, QString::fromStdString(setup_.title));
    }
    p.setFont(printFont(9));
    const QRectF foot = dev(0, size.height() - kFooterBand, size.width(), kFooterBand);
    if (setup_.footerOn)
        p.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(setup_.footer));
    p.drawText(foot, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1 / %2").arg(page.number).arg(page.count));

    // The merged blocks that reach into the page's repeated rows or its band,
    // found once for the page rather than among all the grid's for each cell.
    std::vector<CellRange> blocks;
    const auto reaches = [&](const CellRange& b, std::size_t from, std::size_t to) {
        return from < to && b.row2 >= page.rows[from] && b.row1 <= page.rows[to - 1];
    };
    for (const CellRange& b : m_.merges())
        if (reaches(b, 0, page.repeated) || reaches(b, page.repeated, page.rows.size())) blocks.push_back(b);
    const auto blockAt = [&blocks](int r, int c) -> const CellRange* {
        for (const CellRange& b : blocks)
            if (b.contains(r, c)) return &b;
        return nullptr;
    };

    // The table is drawn in grid pixels below the title, shrunk as paginate chose.
    p.save();
    p.translate(0, titleBand() * sy_);
    p.scale(page.scale, page.scale);
    std::vector<double> xs{0}, ys{0};
    for (int c : page.cols) xs.push_back(xs.back() + m_.columnWidth(c));
    for (int r : page.rows) ys.push_back(ys.back() + m_.rowHeight(r));
    for (std::size_t i = 0; i < page.rows.size(); ++i)
        for (std::size_t j = 0; j < page.cols.size(); ++j) {
            const int r = page.rows[i], c = page.cols[j];
            std::size_t i2 = i, j2 = j;
            int r0 = r, c0 = c;
            if (const CellRange* block = blockAt(r, c)) {
                // Each page paints its own part of the block, once, from the part's first cell.
                const auto [i1, iLast] = span(page.rows, block->row1, block->row2);
                const auto [j1, jLast] = span(page.cols, block->col1, block->col2);
                if (i1 != i || j1 != j) continue;
                i2 = iLast;
                j2 = jLast;
                r0 = block->row1;
                c0 = block->col1;
            }
            paintCell(p, dev(xs[j], ys[i], xs[j2 + 1] - xs[j], ys[i2 + 1] - ys[i]), r0, c0);
        }
    p.restore();
}

void GridDocument::paintCell(QPainter& p, const QRectF& rect, int r, int c) const {
    const int fixed = m_.fixedRows();
    const bool data = r >= fixed;
    const Colour back = m_.backColor(r, c).value_or(!data ? kFixedBack
                                                    : (r - fixed) % 2 == 0 ? m_.backColor1
                                                                           : m_.backColor2);
    if (back != kWhite) p.fillRect(rect, qColour(back));
    p.setPen(qColour(m_.foreColor(r, c)));
    if (data && m_.columnKind(c) == CellKind::TickBox)
        paintTick(p, rect, m_.text(r, c) == "1");
    else
        paintText(p, rect, QString::fromStdString(m_.text(r, c)), qAlignment(m_.alignment(r, c)));
    p.setPen(QPen(Qt::black, kLine * sx_));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect);
}

void GridDocument::paintText(QPainter& p, const QRectF& rect, const QString& text, Qt::Alignment align) const {
    if (text.isEmpty()) return;
    const QRectF inner = rect.adjusted(kPad * sx_, 0, -kPad * sx_, 0);
    const QFontMetricsF fm(p.font(), p.device());
    int flags = int(align);
    // Tall cells (merged headers) wrap; one-line cells keep their one line and are clipped.
    if (inner.height() >= 2 * fm.lineSpacing()) flags |= Qt::TextWordWrap;
    const bool fits = inner.contains(fm.boundingRect(inner, flags, text));
    if (!fits) {
        p.save();
        p.setClipRect(rect);
    }
    p.drawText(inner, flags, text);
    if (!fits) p.restore();
}

void GridDocument::paintTick(QPainter& p, const QRectF& rect, bool ticked) const {
    const QRectF box(rect.center() - QPointF(kTickBox * sx_, kTickBox * sy_) / 2, QSizeF(kTickBox * sx_, kTickBox * sy_));
    p.setPen(QPen(Qt::black, kLine * sx_));
    p.drawRect(box);
    if (!ticked) return;
    QPainterPath tick(box.topLeft() + QPointF(box.width() * 0.2, box.height() * 0.5));
    tick.lineTo(box.topLeft() + QPointF(box.width() * 0.42, box.height() * 0.75));
    tick.lineTo(box.topLeft() + QPointF(box.width() * 0.8, box.height() * 0.25));
    p.setPen(QPen(Qt::black, 1.5 * kLine * sx_));
    p.drawPath(tick);
}

}  // namespace

std::unique_ptr<platform::PrintDocument> printDocument(const GridModel& model, const PageSetup& setup) {
    return std::make_unique<GridDocument>(model, setup);
}

PageCells pageCells(const GridModel& model, const PageSetup& setup, int index) {
    const GridDocument doc(model, setup);
    Page page = doc.page(index, doc.pageLayout());
    return {std::move(page.rows), std::move(page.cols)};
}

bool renderPdf(const GridModel& model, const PageSetup& setup, const std::string& path) {
    return platform::writePdf(GridDocument(model, setup), path);
}

void printPreview(const GridModel& model, const PageSetup& setup, int zoomPercent,
                  const std::function<void(int page, int pages)>& pageDone) {
    GridDocument doc(model, setup);
    doc.pageDone = pageDone;
    platform::services().printPreview(doc, zoomPercent);
}

}  // namespace tolvenk::grid
